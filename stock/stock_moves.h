// The moves the simulated stock follows: the cutter-centre path with the tool and spindle
// state in force at each move.
#pragma once

#include <cstdint>
#include <vector>

#include "base/records.h"
#include "stock/cutter.h"

enum class TMoveShape : uint8_t { Line, Cw, Ccw };

struct TStockMove {
  TPoint From;
  TPoint To;
  double CentreX = 0.0;  // arcs: the absolute centre
  double CentreY = 0.0;
  TMoveShape Shape = TMoveShape::Line;
  bool Rapid = false;
  bool SpindleOn = false;
  uint8_t Tool = 0;
  int32_t Line = 0;  // the program line the move was made for
};

// The bounds of a move's cutter-centre path (arcs and helices whole).
struct TMoveBounds {
  double XMin = 0.0;
  double XMax = 0.0;
  double YMin = 0.0;
  double YMax = 0.0;
  double ZMin = 0.0;
};
TMoveBounds BoundsOf(const TStockMove& move);

// An arc's sweep angle in radians, in (0, 2 pi]: a closed arc is a full circle.
double ArcSpan(const TStockMove& move);
