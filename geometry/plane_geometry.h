// Plane geometry on the XY part of points: vectors, normals, distances and angles.
// Every function reads x and y only; z never changes a result.
#pragma once

#include <cmath>
#include "geometry/compensation_side.h"

#include "base/records.h"

struct TVector {
  double X = 0.0;
  double Y = 0.0;
  friend bool operator==(const TVector&, const TVector&) = default;
};

// ZeroPoint lives with the point type (base/records.h).

// The small ones are inline: the compensation calls them several times per move.

// b - a.
inline TVector VecBetween(const TPoint& a, const TPoint& b) { return TVector{b.X - a.X, b.Y - a.Y}; }

namespace plane_detail {
inline TVector NormalOf(double dx, double dy) {
  const double s = dx * dx + dy * dy;
  if (s == 0.0) return TVector{};
  const double len = std::sqrt(s);
  return TVector{-dy / len, dx / len};
}
}  // namespace plane_detail

// Unit vector to the left of the direction a->b; zero vector when a and b coincide in XY.
inline TVector LeftNormal(const TPoint& a, const TPoint& b) { return plane_detail::NormalOf(b.X - a.X, b.Y - a.Y); }
// Unit vector to the right of the direction a->b; zero vector when a and b coincide in XY.
inline TVector RightNormal(const TPoint& a, const TPoint& b) { return plane_detail::NormalOf(a.X - b.X, a.Y - b.Y); }
// v scaled to length 1; the zero vector stays zero.
inline TVector UnitVec(const TVector& v) {
  const double s = v.X * v.X + v.Y * v.Y;
  if (s == 0.0) return TVector{};
  const double len = std::sqrt(s);
  return TVector{v.X / len, v.Y / len};
}
inline double PointDistance(const TPoint& a, const TPoint& b) {
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  return std::sqrt(dx * dx + dy * dy);
}
// Direction of v in degrees counter-clockwise from +x, 0 <= angle < 360; the zero vector gives 270.
double VecAngle(const TVector& v);
// Counter-clockwise turn from w1 to w2 in degrees, 0 <= angle < 360.
double AngleBetween(const TVector& w1, const TVector& w2);

// The normal that puts the tool on the compensation side: left for Left, right otherwise.
inline TVector SideNormal(TCompensationSide side, const TPoint& a, const TPoint& b) {
  return side == TCompensationSide::Left ? LeftNormal(a, b) : RightNormal(a, b);
}

// p + k * v in XY; z is kept from p.
inline TPoint Displaced(const TPoint& p, double k, const TVector& v) {
  return TPoint{p.X + k * v.X, p.Y + k * v.Y, p.Z};
}

inline TVector Negated(const TVector& v) { return TVector{-v.X, -v.Y}; }
