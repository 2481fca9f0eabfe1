#include "geometry/plane_geometry.h"

#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;

TVector NormalOf(double dx, double dy) {
  const double s = dx * dx + dy * dy;
  if (s == 0.0) return TVector{};
  const double len = std::sqrt(s);
  return TVector{-dy / len, dx / len};
}
}  // namespace

TVector VecBetween(const TPoint& a, const TPoint& b) { return TVector{b.X - a.X, b.Y - a.Y}; }

TVector LeftNormal(const TPoint& a, const TPoint& b) { return NormalOf(b.X - a.X, b.Y - a.Y); }

TVector RightNormal(const TPoint& a, const TPoint& b) { return NormalOf(a.X - b.X, a.Y - b.Y); }

TVector UnitVec(const TVector& v) {
  const double s = v.X * v.X + v.Y * v.Y;
  if (s == 0.0) return TVector{};
  const double len = std::sqrt(s);
  return TVector{v.X / len, v.Y / len};
}

double PointDistance(const TPoint& a, const TPoint& b) {
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  return std::sqrt(dx * dx + dy * dy);
}

double VecAngle(const TVector& v) {
  if (v.X == 0.0) return v.Y > 0.0 ? 90.0 : 270.0;
  const double r = std::atan(v.Y / v.X) * 180.0 / kPi;
  if (v.X < 0.0) return r + 180.0;
  if (v.Y < 0.0) return r + 360.0;
  return r;
}

double AngleBetween(const TVector& w1, const TVector& w2) {
  const double a1 = VecAngle(w1);
  double a2 = VecAngle(w2);
  if (a1 > a2) a2 += 360.0;
  return a2 - a1;
}
