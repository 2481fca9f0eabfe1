// Corner joins: where the offset of one programmed element ends and the offset of the
// next begins, and whether a rounding arc about the programmed corner bridges them.
//
// side is the compensation mode (40 off, 41 tool left, 42 tool right), R the tool radius,
// T1 the programmed corner. T0 is the start of a current straight move, T2 the end of a
// next straight move, A / A1 / A2 arc centres (absolute).
#pragma once

#include <cstdint>

#include "base/records.h"

struct TJoinResult {
  TPoint S1;                 // end of the current offset element
  TPoint S2;                 // start of the next offset element; S1 unless RoundingArc
  int32_t Count = 1;         // 0: the offsets have no joint point; else per join
  bool RoundingArc = false;  // bridge S1 -> S2 with an arc of radius R about T1
};

TJoinResult JoinLineLine(int side, double R, const TPoint& T0, const TPoint& T1, const TPoint& T2);

TJoinResult JoinLineCw(int side, double R, const TPoint& T0, const TPoint& T1, const TPoint& A);
TJoinResult JoinLineCcw(int side, double R, const TPoint& T0, const TPoint& T1, const TPoint& A);
TJoinResult JoinRapidCw(int side, double R, const TPoint& T1, const TPoint& A);
TJoinResult JoinRapidCcw(int side, double R, const TPoint& T1, const TPoint& A);

TJoinResult JoinArcRapid(int side, double R, const TPoint& T1, const TPoint& A1, bool clockwise);
TJoinResult JoinCwLine(int side, double R, const TPoint& T1, const TPoint& T2, const TPoint& A1);
TJoinResult JoinCcwLine(int side, double R, const TPoint& T1, const TPoint& T2, const TPoint& A1);

TJoinResult JoinCwCw(int side, double R, const TPoint& A1, const TPoint& A2, const TPoint& T1);
TJoinResult JoinCwCcw(int side, double R, const TPoint& A1, const TPoint& A2, const TPoint& T1);
TJoinResult JoinCcwCw(int side, double R, const TPoint& A1, const TPoint& A2, const TPoint& T1);
TJoinResult JoinCcwCcw(int side, double R, const TPoint& A1, const TPoint& A2, const TPoint& T1);

// Radius of an arc's offset: the tool runs outside a clockwise arc on the left (41) and
// outside a counter-clockwise arc on the right (42). Side 40 keeps r.
double OffsetRadius(int side, double r, double R, bool clockwise);
