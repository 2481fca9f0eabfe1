// Intersections of unbounded lines and circles in the XY plane. None of them fails:
// every outcome is a result code.
#pragma once

#include <cstdint>

#include "base/records.h"
#include "geometry/plane_geometry.h"

// Result codes of the line-circle and circle-circle intersections.
constexpr int32_t kNoIntersection = 0;
constexpr int32_t kOnePoint = 1;
constexpr int32_t kTwoPoints = 2;
constexpr int32_t kConcentric = 3;   // circles: centres (nearly) coincide or the first radius is 0
constexpr int32_t kLineMisses = -1;  // sloped line misses the circle: both points are the foot point

// Centres closer than this count as one.
constexpr double kCentreTolerance = 0.00001;

struct TLineLineResult {
  TPoint Point;  // unset (zero) when the lines are parallel
  bool Parallel = false;
};

// The line through q1 with direction d1 against the line through q2 with direction d2.
TLineLineResult LineLineIntersect(const TPoint& q1, const TVector& d1, const TPoint& q2, const TVector& d2);

// Points a case does not set stay zero.
struct TLineCircleResult {
  int32_t Code = kNoIntersection;
  TPoint S1;
  TPoint S2;
};

// The circle about m with radius r against the line through q1 and q2.
TLineCircleResult LineCircleIntersect(const TPoint& m, double r, const TPoint& q1, const TPoint& q2);

// The same in extended precision. The corner joins use it so that an offset line that
// touches an offset circle (a straight edge running into a tangent arc) is found touching:
// the offset points and radii of such a corner are exact in this precision, not in double.
struct TWidePoint {
  long double X = 0.0L;
  long double Y = 0.0L;
};
struct TWideLineCircleResult {
  int32_t Code = kNoIntersection;
  TWidePoint S1;
  TWidePoint S2;
};
TWideLineCircleResult LineCircleIntersect(const TWidePoint& m, long double r, const TWidePoint& q1,
                                          const TWidePoint& q2);

struct TCircleCircleResult {
  int32_t Code = kNoIntersection;
  TPoint S1;       // left of the direction m1->m2 (code 2); the touching point (code 1)
  TPoint S2;       // right of the direction m1->m2 (code 2)
  double A = 0.0;  // distance from m1 to the chord's midpoint (code 2)
  double H = 0.0;  // half the chord (code 2)
};

TCircleCircleResult CircleCircleIntersect(const TPoint& m1, const TPoint& m2, double r1, double r2);

// The same in extended precision, for the joins of two arcs.
struct TWideCircleCircleResult {
  int32_t Code = kNoIntersection;
  TWidePoint S1;
  TWidePoint S2;
  long double A = 0.0L;
  long double H = 0.0L;
};
TWideCircleCircleResult CircleCircleIntersect(const TWidePoint& m1, const TWidePoint& m2, long double r1,
                                              long double r2);
