// Clipping in real coordinates, so that far-away geometry never reaches the pixel
// conversion with values beyond what 32-bit pixels and the raster engine can hold.
#pragma once

#include "display/view_window.h"

// Liang-Barsky: cuts the segment a-b to the box. False when no part of it is inside
// (or a coordinate is not finite).
bool ClipSegment(TRealXY& a, TRealXY& b, const TWindowRect& box);

// The real rectangle of the pixels from -margin to Width + margin (and Height + margin).
TWindowRect RealBoxAroundView(const TViewWindow& w, double marginPx);

// A run of angles (radians, counter-clockwise) From..To.
struct TAngleRun {
  double From = 0.0;
  double To = 0.0;
};

struct TAngleRuns {
  int Count = 0;
  TAngleRun Run[2];
};

// The parts of the arc about `c` with radius r, from angle `from` counter-clockwise
// through `sweep` (0 < sweep <= 2 pi), that may lie inside `box`: at most two runs.
TAngleRuns VisibleArcRuns(const TRealXY& c, double r, double from, double sweep, const TWindowRect& box);
