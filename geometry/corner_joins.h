// Corner joins: where the offset of one programmed element ends and the offset of the
// next begins, and whether a rounding arc about the programmed corner bridges them.
//
// side is the compensation side (off, tool left, tool right), R the tool radius,
// T1 the programmed corner. T0 is the start of a current straight move, T2 the end of a
// next straight move, A / A1 / A2 arc centres (absolute).
#pragma once

#include <cstdint>
#include "geometry/compensation_side.h"

#include "base/records.h"

// How a join found its points. The driver stops or warns on NoJoint and warns on LineMisses;
// the other values tell the cases apart.
enum class TJoinCount : int32_t {
  LineMisses = -1,          // the offset line passes the offset circle by a hair: its nearest point
  NoJoint = 0,              // the offsets have no joint point
  OnePoint = 1,             // the corner, a touching or radial point, or a rounding arc
  TwoPoints = 2,            // the nearer of two crossings, or a rounding arc between straight moves
  ArcIntoLineRounding = 3,  // clockwise arc into a straight move: a rounding arc
  ArcIntoLineReversal = 4,  // clockwise arc, tool left, the straight move turns straight back
  ArcIntoLineMissed = 5,    // clockwise arc, tool left, the offsets miss: the arc's radial end
};

struct TJoinResult {
  TPoint S1;  // end of the current offset element
  TPoint S2;  // start of the next offset element; S1 unless RoundingArc
  TJoinCount Count = TJoinCount::OnePoint;
  bool RoundingArc = false;  // bridge S1 -> S2 with an arc of radius R about T1
};

TJoinResult JoinLineLine(TCompensationSide side, double R, const TPoint& T0, const TPoint& T1, const TPoint& T2);

TJoinResult JoinLineCw(TCompensationSide side, double R, const TPoint& T0, const TPoint& T1, const TPoint& A);
TJoinResult JoinLineCcw(TCompensationSide side, double R, const TPoint& T0, const TPoint& T1, const TPoint& A);
TJoinResult JoinRapidCw(TCompensationSide side, double R, const TPoint& T1, const TPoint& A);
TJoinResult JoinRapidCcw(TCompensationSide side, double R, const TPoint& T1, const TPoint& A);

TJoinResult JoinArcRapid(TCompensationSide side, double R, const TPoint& T1, const TPoint& A1, bool clockwise);
TJoinResult JoinCwLine(TCompensationSide side, double R, const TPoint& T1, const TPoint& T2, const TPoint& A1);
TJoinResult JoinCcwLine(TCompensationSide side, double R, const TPoint& T1, const TPoint& T2, const TPoint& A1);

TJoinResult JoinCwCw(TCompensationSide side, double R, const TPoint& A1, const TPoint& A2, const TPoint& T1);
TJoinResult JoinCwCcw(TCompensationSide side, double R, const TPoint& A1, const TPoint& A2, const TPoint& T1);
TJoinResult JoinCcwCw(TCompensationSide side, double R, const TPoint& A1, const TPoint& A2, const TPoint& T1);
TJoinResult JoinCcwCcw(TCompensationSide side, double R, const TPoint& A1, const TPoint& A2, const TPoint& T1);

// Radius of an arc's offset: the tool runs outside a clockwise arc on the left and
// outside a counter-clockwise arc on the right. Compensation off keeps r.
double OffsetRadius(TCompensationSide side, double r, double R, bool clockwise);
