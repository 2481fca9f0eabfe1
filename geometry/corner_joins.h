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

struct TJoinResult {
  TPoint S1;                 // end of the current offset element
  TPoint S2;                 // start of the next offset element; S1 unless RoundingArc
  int32_t Count = 1;         // 0: the offsets have no joint point; else per join
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
