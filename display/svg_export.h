// The view's display list as a vector drawing: every object that the view draws for its
// window becomes one path in real coordinates (millimetres, Y up), with the object's pen,
// and QSvgGenerator writes them as an SVG file.
//
// Building the drawing is pure (no window, no file), so it is tested on its own; writing it
// is the one step that touches a device.
#pragma once

#include <QIODevice>
#include <QPainterPath>
#include <QPen>
#include <QSize>
#include <vector>

#include "display/display_list.h"
#include "display/graph_objects.h"
#include "display/view_window.h"

// One drawn object: its outline in millimetres and its pen.
struct TSvgObject {
  TPenSpec Pen;
  QPainterPath Path;
};

struct TSvgDrawing {
  // The real rectangle the view's pixels cover (what its picture shows), in millimetres.
  TWindowRect ViewBox;
  // The drawing's size: the view's size in pixels, so that it opens as large as the view.
  QSize Pixels;
  // Millimetres of one view pixel: pens keep their width in view pixels.
  double MmPerPixel = 0.0;
  std::vector<TSvgObject> Objects;
};

// Whether the view's paint draws the object in the mapping's window; the others it culls.
// `scratch` holds sampled points of very large circles between calls.
bool ViewDraws(const TGraphObject& object, const TPixelMapping& m, std::vector<QPoint>& scratch);

// The object's outline in real coordinates: a line, or cubic pieces along the circle or arc
// (counter-clockwise from the first radial to the second). Circles too large for the view
// to draw directly keep only their runs near the window, as the view does.
QPainterPath RealPath(const TGraphObject& object, const TViewWindow& w);

// The pen in millimetres: the view's width in pixels (0 is one pixel), dash-dot as the view
// draws it, flat ends.
QPen MillimetrePen(const TPenSpec& pen, double mmPerPixel);

// Every object of the list that the view draws for its window, in list order.
TSvgDrawing SvgDrawing(const TDisplayList& list, const TViewWindow& w);

// Writes the drawing on a black ground, as the view shows it, to an open device. False when
// the drawing could not be started; the device's own write errors are the caller's to check.
bool WriteSvg(const TSvgDrawing& drawing, QIODevice& device);
