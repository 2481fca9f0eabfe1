// Plane geometry on the XY part of points: vectors, normals, distances and angles.
// Every function reads x and y only; z never changes a result.
#pragma once

#include "engine/records.h"

struct TVector {
  double X = 0.0;
  double Y = 0.0;
  friend bool operator==(const TVector&, const TVector&) = default;
};

// ZeroPoint lives with the point type (engine/records.h).

// b - a.
TVector VecBetween(const TPoint& a, const TPoint& b);
// Unit vector to the left of the direction a->b; zero vector when a and b coincide in XY.
TVector LeftNormal(const TPoint& a, const TPoint& b);
// Unit vector to the right of the direction a->b; zero vector when a and b coincide in XY.
TVector RightNormal(const TPoint& a, const TPoint& b);
// v scaled to length 1; the zero vector stays zero.
TVector UnitVec(const TVector& v);
double PointDistance(const TPoint& a, const TPoint& b);
// Direction of v in degrees counter-clockwise from +x, 0 <= angle < 360; the zero vector gives 270.
double VecAngle(const TVector& v);
// Counter-clockwise turn from w1 to w2 in degrees, 0 <= angle < 360.
double AngleBetween(const TVector& w1, const TVector& w2);

// The normal that puts the tool on the compensation side: left for 41, right otherwise.
inline TVector SideNormal(int side, const TPoint& a, const TPoint& b) {
  return side == 41 ? LeftNormal(a, b) : RightNormal(a, b);
}

// p + k * v in XY; z is kept from p.
inline TPoint Displaced(const TPoint& p, double k, const TVector& v) {
  return TPoint{p.X + k * v.X, p.Y + k * v.Y, p.Z};
}

inline TVector Negated(const TVector& v) { return TVector{-v.X, -v.Y}; }
