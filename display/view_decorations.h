// Orientation aids of the simulation view: dot grid, axes with ticks and millimetre labels,
// the grid text and the spindle, W0 and T0 markers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "display/view_window.h"

class QPainter;
class QFont;

// Pixel columns and rows of the grid points that fall inside the view, in increasing order.
struct TGridPixels {
  std::vector<int32_t> Columns;
  std::vector<int32_t> Rows;
  // Columns of the whole grid before culling (61 for 10 mm in a 600 mm window).
  double ColumnCount = 0;
  double RowCount = 0;
};
TGridPixels GridPixels(const TViewWindow& w, int32_t gridSize);

// One tick with its label value at a pixel position along its axis.
struct TAxisTick {
  int32_t Pixel = 0;
  double Value = 0.0;
};
// Ticks every 50 mm; the first value is truncated toward zero. Only ticks near the view.
std::vector<TAxisTick> XAxisTicks(const TViewWindow& w);
std::vector<TAxisTick> YAxisTicks(const TViewWindow& w);

// Right-aligned in at least three characters, no decimals ("  0", " 50", "-50").
std::string NumberLabel(double v);
std::string GridText(int32_t gridSize);

// "Arial", 15 pixels high, drawn without smoothing so XOR drawing stays exact.
QFont ViewFont();

void PaintGrid(QPainter& p, const TViewWindow& w, int32_t gridSize);
void PaintAxes(QPainter& p, const TViewWindow& w, int32_t gridSize);

// Markers, drawn with exclusive or: drawing one twice at the same place removes it.
void PaintSpindleMarker(QPainter& p, TPixelXY at);
void PaintW0Marker(QPainter& p, TPixelXY at);
void PaintT0Marker(QPainter& p, TPixelXY at);
