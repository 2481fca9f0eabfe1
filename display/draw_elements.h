// Turns the contour (mode 0) and the cutting path (mode 1) of an engine instance into
// graphic objects of the view, reading the instance only through the C entry points. The
// viewer, velquor-cnc render and the benchmarks all draw a program with DrawProgram, so the
// look (colours, pen widths, the order of the lists) is set here once.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/records.h"

class TPickIndex;

class TSimView;

struct TDrawRun {
  const TToolTable* Tools = nullptr;             // tool circles: Diameter / 2
  int32_t* CurrentTool = nullptr;                // kept from one run to the next
  bool PointOutEdges = false;                    // the "point out edges" check box
  std::function<void(const std::string&)> Info;  // the information pane
  TPickIndex* Pick = nullptr;                    // when set, every drawn move is added for picking
};

// The lists of a run the view shows.
struct TShownLists {
  bool Contour = true;
  bool Path = false;
};

// What the drawing made of the list that plays back: the cutting path when it is shown,
// else the contour.
struct TPlayedDrawing {
  uint8_t Mode = 0;          // CNC_MODE_CONTOUR or CNC_MODE_PATH
  int32_t StartTool = 0;     // tool in force when the list's drawing began
  size_t ObjectsBefore = 0;  // display objects drawn before the list (the contour under a path)
  // The display list's object count after each element, in list order: the objects of the
  // first k elements are a prefix of the list.
  std::vector<size_t> ObjectEnds;
};

// Draws the shown lists of a run: the contour (yellow, pen 1), then the cutting path (green,
// pen 0, its rapids blue dash-dot, a tool circle at the start of each move); with
// PointOutEdges a cross at every move's start. `played`, when given and a list is shown,
// gets what was drawn of the list that plays back.
void DrawProgram(TSimView& view, int32_t handle, const TShownLists& lists, const TDrawRun& run,
                 TPlayedDrawing* played = nullptr);

// One list drawn as DrawProgram draws it; `objectEnds`, when given, gets the display list's
// object count after each element.
void DrawElements(TSimView& view, int32_t handle, uint8_t mode, const TDrawRun& run,
                  std::vector<size_t>* objectEnds = nullptr);

// Radius of the tool circle of `tool`: 0 (no circle) for a number outside the table.
double ToolCircleRadius(const TToolTable& tools, int32_t tool);
