// Intersections of unbounded lines and circles in the XY plane. None of them fails:
// every outcome is a result code.
#pragma once

#include <cstdint>

#include "engine/records.h"
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
  TPoint Point;           // unset (zero) when the lines are parallel
  bool Parallel = false;
};

// The line through q1 with direction d1 against the line through q2 with direction d2.
TLineLineResult LineLineIntersect(const TPoint& q1, const TVector& d1, const TPoint& q2,
                                  const TVector& d2);

// Points a case does not set stay zero.
struct TLineCircleResult {
  int32_t Code = kNoIntersection;
  TPoint S1;
  TPoint S2;
};

// The circle about m with radius r against the line through q1 and q2.
TLineCircleResult LineCircleIntersect(const TPoint& m, double r, const TPoint& q1, const TPoint& q2);

struct TCircleCircleResult {
  int32_t Code = kNoIntersection;
  TPoint S1;       // left of the direction m1->m2 (code 2); the touching point (code 1)
  TPoint S2;       // right of the direction m1->m2 (code 2)
  double A = 0.0;  // distance from m1 to the chord's midpoint (code 2)
  double H = 0.0;  // half the chord (code 2)
};

TCircleCircleResult CircleCircleIntersect(const TPoint& m1, const TPoint& m2, double r1, double r2);
