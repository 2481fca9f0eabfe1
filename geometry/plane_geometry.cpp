#include "geometry/plane_geometry.h"

#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

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
