#include "geometry/intersections.h"

#include <algorithm>
#include <cmath>

TLineLineResult LineLineIntersect(const TPoint& q1, const TVector& d1, const TPoint& q2, const TVector& d2) {
  TLineLineResult r;
  const double cross = d1.X * d2.Y - d1.Y * d2.X;
  if (cross == 0.0) {
    r.Parallel = true;
    return r;
  }
  const double s = (d2.Y * (q2.X - q1.X) - d2.X * (q2.Y - q1.Y)) / cross;
  r.Point = Displaced(q1, s, d1);
  return r;
}

namespace {

template <class Real, class Point, class Result>
Result LineCircle(const Point& m, Real r, const Point& q1, const Point& q2) {
  Result res;
  const Real dx = q2.X - q1.X;
  const Real dy = q2.Y - q1.Y;
  if (dx == 0) {
    const Real e = q1.X - m.X;
    const Real k = r * r - e * e;
    if (k < 0) {
      res.Code = kNoIntersection;
    } else if (k == 0) {
      res.Code = kOnePoint;
      res.S1 = Point{q1.X, m.Y};
      res.S2 = res.S1;
    } else {
      const Real w = std::sqrt(k);
      res.Code = kTwoPoints;
      res.S1 = Point{q1.X, m.Y + w};
      res.S2 = Point{q2.X, m.Y - w};
    }
    return res;
  }
  if (dy == 0) {
    const Real e = m.Y - q1.Y;
    const Real k = r * r - e * e;
    if (k == 0) {
      res.Code = kOnePoint;
      res.S1 = Point{m.X, q1.Y};
      res.S2 = res.S1;
    } else if (k < 0) {
      res.Code = kNoIntersection;
    } else {
      const Real w = std::sqrt(k);
      res.Code = kTwoPoints;
      res.S1 = Point{m.X - w, q1.Y};
      res.S2 = Point{m.X + w, q1.Y};
    }
    return res;
  }
  const Real t = dy / dx;
  const Real u = q1.Y - t * q1.X;
  const Real o = u - m.Y;
  const Real b = 2 * t * o - 2 * m.X;
  const Real a = t * t + 1;
  const Real disc = b * b - 4 * a * (o * o - r * r + m.X * m.X);
  Real w = 0;
  if (disc >= 0) {
    res.Code = kTwoPoints;
    w = std::sqrt(disc);
  } else {
    res.Code = kLineMisses;
  }
  res.S1.X = (w - b) / (2 * a);
  res.S2.X = (-b - w) / (2 * a);
  res.S1.Y = u + t * res.S1.X;
  res.S2.Y = u + t * res.S2.X;
  return res;
}

}  // namespace

TLineCircleResult LineCircleIntersect(const TPoint& m, double r, const TPoint& q1, const TPoint& q2) {
  return LineCircle<double, TPoint, TLineCircleResult>(m, r, q1, q2);
}

TWideLineCircleResult LineCircleIntersect(const TWidePoint& m, long double r, const TWidePoint& q1,
                                          const TWidePoint& q2) {
  return LineCircle<long double, TWidePoint, TWideLineCircleResult>(m, r, q1, q2);
}

namespace {

template <class Real, class Point, class Result>
Result CircleCircle(const Point& m1, const Point& m2, Real r1, Real r2) {
  Result res;
  const Real dx = m2.X - m1.X;
  const Real dy = m2.Y - m1.Y;
  const Real d = std::sqrt(dx * dx + dy * dy);
  if (d <= kCentreTolerance) {
    res.Code = kConcentric;
    return res;
  }
  // Unit vectors along m1->m2 and to its left.
  const Real ux = dx / d, uy = dy / d;
  const Real nx = -uy, ny = ux;
  if (d > r1 + r2 || std::fabs(r1 - r2) > d) {
    res.Code = kNoIntersection;
    return res;
  }
  if (d == r1 + r2 || d == std::fabs(r1 - r2)) {
    res.Code = kOnePoint;
    res.S1 = Point{m1.X + r1 * ux, m1.Y + r1 * uy};
    return res;
  }
  if (r1 * d == 0) {
    res.Code = kConcentric;
    return res;
  }
  res.Code = kTwoPoints;
  res.A = r1 * (r1 * r1 + d * d - r2 * r2) / (2 * r1 * d);
  // Nearly touching circles can leave r1^2 - a^2 a hair below zero; that is a chord of length 0.
  res.H = std::sqrt(std::max(Real(0), r1 * r1 - res.A * res.A));
  const Real mx = m1.X + res.A * ux, my = m1.Y + res.A * uy;
  res.S1 = Point{mx + res.H * nx, my + res.H * ny};
  res.S2 = Point{mx - res.H * nx, my - res.H * ny};
  return res;
}

}  // namespace

TCircleCircleResult CircleCircleIntersect(const TPoint& m1, const TPoint& m2, double r1, double r2) {
  return CircleCircle<double, TPoint, TCircleCircleResult>(m1, m2, r1, r2);
}

TWideCircleCircleResult CircleCircleIntersect(const TWidePoint& m1, const TWidePoint& m2, long double r1,
                                              long double r2) {
  return CircleCircle<long double, TWidePoint, TWideCircleCircleResult>(m1, m2, r1, r2);
}
