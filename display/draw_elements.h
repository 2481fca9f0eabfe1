// Turns the contour (mode 0) or the cutting path (mode 1) of an engine instance into
// graphic objects of the view, reading the instance only through the C entry points.
#pragma once

#include <QColor>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/records.h"

class TPickIndex;

class TSimView;

struct TDrawRun {
  const std::array<ToolParam, 255>* Tools = nullptr;  // tool circles: Diameter / 2
  int32_t* CurrentTool = nullptr;                     // kept from one run to the next
  bool PointOutEdges = false;                         // the "point out edges" check box
  std::function<void(const std::string&)> Info;       // the information pane
  TPickIndex* Pick = nullptr;                         // when set, every drawn move is added for picking
  // When set, gets the display list's object count after each element, in list order:
  // the objects of the first k elements are a prefix of the list (playback).
  std::vector<size_t>* ObjectEnds = nullptr;
};

void DrawElements(TSimView& view, int32_t handle, uint8_t mode, int width, QColor colour, const TDrawRun& run);

// Radius of the tool circle of `tool`: 0 (no circle) for a number outside the table.
double ToolCircleRadius(const std::array<ToolParam, 255>& tools, int32_t tool);
