#include "geometry/corner_joins.h"

#include <cmath>

#include "geometry/intersections.h"
#include "geometry/plane_geometry.h"

namespace {

TJoinResult Corner(const TPoint& T1) { return TJoinResult{T1, T1, TJoinCount::OnePoint, false}; }

TJoinResult Joint(const TPoint& s, TJoinCount count) { return TJoinResult{s, s, count, false}; }

TJoinResult Rounding(const TPoint& s1, const TPoint& s2, TJoinCount count) { return TJoinResult{s1, s2, count, true}; }

// The count of a join at a line-circle intersection: the codes are the first four counts.
TJoinCount CountOf(const TWideLineCircleResult& x) {
  switch (x.Code) {
    case kLineMisses: return TJoinCount::LineMisses;
    case kOnePoint: return TJoinCount::OnePoint;
    case kTwoPoints: return TJoinCount::TwoPoints;
    default: return TJoinCount::NoJoint;
  }
}

bool ToolOutside(TCompensationSide side, bool clockwise) {
  return clockwise ? side == TCompensationSide::Left : side == TCompensationSide::Right;
}

template <class Real>
Real OffsetBy(TCompensationSide side, Real r, Real R, bool clockwise) {
  if (!CompensationOn(side)) return r;
  return ToolOutside(side, clockwise) ? r + R : r - R;
}

// Offsets are intersected in extended precision: a straight edge or an arc that runs into
// a tangent arc must meet its offset circle, and where they touch along an axis the offset
// points and radii are exact here, where double would miss by a hair.
struct TWideVector {
  long double X = 0.0L;
  long double Y = 0.0L;
};

TWidePoint Wide(const TPoint& p) { return TWidePoint{p.X, p.Y}; }

TPoint Narrow(const TWidePoint& p) { return TPoint{static_cast<double>(p.X), static_cast<double>(p.Y), 0.0}; }

TWideVector WideSideNormal(TCompensationSide side, const TPoint& a, const TPoint& b) {
  long double dx = static_cast<long double>(b.X) - a.X;
  long double dy = static_cast<long double>(b.Y) - a.Y;
  if (side != TCompensationSide::Left) {
    dx = -dx;
    dy = -dy;
  }
  const long double s = dx * dx + dy * dy;
  if (s == 0) return TWideVector{};
  const long double len = std::sqrt(s);
  return TWideVector{-dy / len, dx / len};
}

TWidePoint WideDisplaced(const TPoint& p, long double k, const TWideVector& v) {
  return TWidePoint{p.X + k * v.X, p.Y + k * v.Y};
}

long double WideDistance(const TWidePoint& a, const TWidePoint& b) {
  const long double dx = b.X - a.X;
  const long double dy = b.Y - a.Y;
  return std::sqrt(dx * dx + dy * dy);
}

// Of two candidates, the one nearer to the corner; a tie takes the second.
TPoint Nearer(const TPoint& T1, const TWidePoint& p, const TWidePoint& q) {
  const TWidePoint t = Wide(T1);
  return Narrow(WideDistance(t, q) > WideDistance(t, p) ? p : q);
}

// The offset line through a and b against the offset circle of the arc about A through T1.
TWideLineCircleResult OffsetLineAgainstArc(TCompensationSide side, double R, const TPoint& a, const TPoint& b,
                                           const TWideVector& m, const TPoint& T1, const TPoint& A, bool clockwise) {
  const long double r = OffsetBy<long double>(side, WideDistance(Wide(T1), Wide(A)), R, clockwise);
  return LineCircleIntersect(Wide(A), r, WideDisplaced(a, R, m), WideDisplaced(b, R, m));
}

// The point of an arc's offset radially through T1.
TPoint RadialPoint(TCompensationSide side, double R, const TPoint& T1, const TVector& u, bool clockwise) {
  return Displaced(T1, ToolOutside(side, clockwise) ? R : -R, u);
}

// The direction of travel of an arc at T1.
TVector Tangent(const TPoint& A, const TPoint& T1, bool clockwise) {
  return clockwise ? RightNormal(A, T1) : LeftNormal(A, T1);
}

// Straight move into an arc: which turns get a rounding arc, per kind and side.
bool LineIntoArcIsOuter(TCompensationSide side, bool clockwise, const TVector& d1, const TVector& v,
                        const TVector& tangent) {
  if (clockwise) {
    const double angle = AngleBetween(d1, v);
    return side == TCompensationSide::Left ? angle > 270.0 && angle < 360.0 : angle > 90.0;
  }
  if (side == TCompensationSide::Left) {
    const double angle = AngleBetween(tangent, d1);
    return angle >= 90.0 && angle < 270.0;
  }
  const double angle = AngleBetween(d1, v);
  return angle < 90.0 || angle > 270.0;
}

TJoinResult JoinLineArc(TCompensationSide side, double R, const TPoint& T0, const TPoint& T1, const TPoint& A,
                        bool clockwise) {
  if (side == TCompensationSide::Off) return Corner(T1);
  const TVector v = VecBetween(A, T1);
  const TVector u = UnitVec(v);
  const TVector m1 = SideNormal(side, T0, T1);
  const TPoint end1 = Displaced(T1, R, m1);
  if (LineIntoArcIsOuter(side, clockwise, VecBetween(T0, T1), v, Tangent(A, T1, clockwise)))
    return Rounding(end1, RadialPoint(side, R, T1, u, clockwise), TJoinCount::OnePoint);
  const TWideLineCircleResult x = OffsetLineAgainstArc(side, R, T0, T1, WideSideNormal(side, T0, T1), T1, A, clockwise);
  // A vertical or horizontal miss sets no point: stay at the end of the offset move.
  if (x.Code == kNoIntersection) return Joint(end1, TJoinCount::NoJoint);
  return Joint(Nearer(T1, x.S1, x.S2), CountOf(x));
}

TJoinResult JoinRapidArc(TCompensationSide side, double R, const TPoint& T1, const TPoint& A, bool clockwise) {
  if (side == TCompensationSide::Off) return Corner(T1);
  return Joint(RadialPoint(side, R, T1, UnitVec(VecBetween(A, T1)), clockwise), TJoinCount::OnePoint);
}

// Arc into a straight move.
TJoinResult JoinArcLine(TCompensationSide side, double R, const TPoint& T1, const TPoint& T2, const TPoint& A1,
                        bool clockwise) {
  if (side == TCompensationSide::Off) return Corner(T1);
  const double r = PointDistance(T1, A1);
  const TVector v = VecBetween(A1, T1);
  const TVector u = UnitVec(v);
  const TVector d2 = VecBetween(T1, T2);
  const TVector m2 = SideNormal(side, T1, T2);
  const TPoint start2 = Displaced(T1, R, m2);
  const double r1 = OffsetRadius(side, r, R, clockwise);
  const TPoint radial = Displaced(A1, r1, u);

  bool outer;
  TJoinCount outerCount = TJoinCount::OnePoint;
  if (clockwise && side == TCompensationSide::Left) {
    const double angle = AngleBetween(d2, v);
    if (angle == 270.0) return Joint(radial, TJoinCount::ArcIntoLineReversal);
    outer = angle > 90.0 && angle < 270.0;
    outerCount = TJoinCount::ArcIntoLineRounding;
  } else if (clockwise) {
    outer = AngleBetween(v, d2) <= 180.0;
    outerCount = TJoinCount::ArcIntoLineRounding;
  } else if (side == TCompensationSide::Left) {
    outer = AngleBetween(d2, Negated(u)) > 90.0;
  } else {
    const double angle = AngleBetween(d2, u);
    outer = angle > 90.0 && angle < 270.0;
  }
  if (outer) return Rounding(radial, start2, outerCount);

  const TWideLineCircleResult x = OffsetLineAgainstArc(side, R, T1, T2, WideSideNormal(side, T1, T2), T1, A1,
                                                       clockwise);
  if (x.Code == kNoIntersection) {
    const bool clockwiseLeft = clockwise && side == TCompensationSide::Left;
    return Joint(radial, clockwiseLeft ? TJoinCount::ArcIntoLineMissed : TJoinCount::NoJoint);
  }
  return Joint(Nearer(T1, x.S1, x.S2), CountOf(x));
}

// Arc into an arc. The rounding-arc tests differ per pair; the rest is shared.
enum class TArcPair { CwCw, CwCcw, CcwCw, CcwCcw };

bool ArcIntoArcIsOuter(TArcPair pair, TCompensationSide side, const TVector& w1, const TVector& w2, const TVector& t1,
                       const TVector& t2) {
  if (side == TCompensationSide::Left) {
    switch (pair) {
      case TArcPair::CwCw: return AngleBetween(w1, w2) > 180.0;
      case TArcPair::CwCcw: return AngleBetween(t1, t2) >= 180.0;
      case TArcPair::CcwCw: return AngleBetween(t1, t2) > 180.0;
      case TArcPair::CcwCcw: return AngleBetween(t1, t2) >= 180.0;
    }
  }
  const double angle = AngleBetween(w1, w2);
  switch (pair) {
    case TArcPair::CwCw: return angle >= 90.0 && angle <= 270.0;
    case TArcPair::CwCcw: return angle < 90.0 || angle > 180.0;
    case TArcPair::CcwCw: return angle < 90.0 || angle >= 180.0;
    case TArcPair::CcwCcw: return angle > 0.0 && angle <= 90.0;
  }
  return false;
}

TJoinResult JoinArcArc(TArcPair pair, TCompensationSide side, double R, const TPoint& A1, const TPoint& A2,
                       const TPoint& T1) {
  // Compensation off is the right-hand case with radius 0, which keeps the corner.
  if (!CompensationOn(side)) {
    side = TCompensationSide::Right;
    R = 0.0;
  }
  const bool cw1 = pair == TArcPair::CwCw || pair == TArcPair::CwCcw;
  const bool cw2 = pair == TArcPair::CwCw || pair == TArcPair::CcwCw;
  const TVector w1 = VecBetween(A1, T1);
  const TVector w2 = VecBetween(A2, T1);
  const TVector u1 = UnitVec(w1);
  const TVector u2 = UnitVec(w2);
  if (ArcIntoArcIsOuter(pair, side, w1, w2, Tangent(A1, T1, cw1), Tangent(A2, T1, cw2)))
    return Rounding(RadialPoint(side, R, T1, u1, cw1), RadialPoint(side, R, T1, u2, cw2), TJoinCount::OnePoint);

  // Extended precision, as for a line against an arc: two arcs that touch along an axis
  // must be found touching, not a hair apart.
  const TWidePoint t1 = Wide(T1), a1 = Wide(A1), a2 = Wide(A2);
  const long double r1 = OffsetBy<long double>(side, WideDistance(t1, a1), R, cw1);
  const long double r2 = OffsetBy<long double>(side, WideDistance(t1, a2), R, cw2);
  const TWideCircleCircleResult x = CircleCircleIntersect(a1, a2, r1, r2);
  const TPoint radial = Displaced(A1, static_cast<double>(r1), u1);
  switch (x.Code) {
    case kTwoPoints: return Joint(Nearer(T1, x.S1, x.S2), TJoinCount::TwoPoints);
    case kOnePoint:
    case kConcentric: return Joint(radial, TJoinCount::OnePoint);
    // With radius 0 both circles pass through the corner by construction: a miss there is
    // rounding, not a contour fault, and must not stop a program without compensation.
    default: return Joint(radial, R == 0.0 ? TJoinCount::OnePoint : TJoinCount::NoJoint);
  }
}

}  // namespace

double OffsetRadius(TCompensationSide side, double r, double R, bool clockwise) {
  return OffsetBy<double>(side, r, R, clockwise);
}

TJoinResult JoinLineLine(TCompensationSide side, double R, const TPoint& T0, const TPoint& T1, const TPoint& T2) {
  if (side == TCompensationSide::Off || R == 0.0) return Corner(T1);
  const TVector d1 = VecBetween(T0, T1);
  const TVector d2 = VecBetween(T1, T2);
  const TVector m1 = SideNormal(side, T0, T1);
  const TVector m2 = SideNormal(side, T1, T2);
  const TPoint e1 = Displaced(T1, R, m1);
  const TPoint e2 = Displaced(T1, R, m2);
  const double alpha = AngleBetween(d1, d2);
  const bool outer = side == TCompensationSide::Left ? alpha >= 180.0 : alpha > 0.0 && alpha <= 180.0;
  if (outer) return Rounding(e1, e2, TJoinCount::TwoPoints);
  const TLineLineResult x = LineLineIntersect(Displaced(T0, R, m1), d1, e2, d2);
  return Joint(x.Parallel ? e1 : x.Point, TJoinCount::OnePoint);
}

TJoinResult JoinLineCw(TCompensationSide side, double R, const TPoint& T0, const TPoint& T1, const TPoint& A) {
  return JoinLineArc(side, R, T0, T1, A, true);
}
TJoinResult JoinLineCcw(TCompensationSide side, double R, const TPoint& T0, const TPoint& T1, const TPoint& A) {
  return JoinLineArc(side, R, T0, T1, A, false);
}
TJoinResult JoinRapidCw(TCompensationSide side, double R, const TPoint& T1, const TPoint& A) {
  return JoinRapidArc(side, R, T1, A, true);
}
TJoinResult JoinRapidCcw(TCompensationSide side, double R, const TPoint& T1, const TPoint& A) {
  return JoinRapidArc(side, R, T1, A, false);
}

TJoinResult JoinArcRapid(TCompensationSide side, double R, const TPoint& T1, const TPoint& A1, bool clockwise) {
  if (side == TCompensationSide::Off) return Corner(T1);
  const double r1 = OffsetRadius(side, PointDistance(T1, A1), R, clockwise);
  return Joint(Displaced(A1, r1, UnitVec(VecBetween(A1, T1))), TJoinCount::OnePoint);
}

TJoinResult JoinCwLine(TCompensationSide side, double R, const TPoint& T1, const TPoint& T2, const TPoint& A1) {
  return JoinArcLine(side, R, T1, T2, A1, true);
}
TJoinResult JoinCcwLine(TCompensationSide side, double R, const TPoint& T1, const TPoint& T2, const TPoint& A1) {
  return JoinArcLine(side, R, T1, T2, A1, false);
}

TJoinResult JoinCwCw(TCompensationSide side, double R, const TPoint& A1, const TPoint& A2, const TPoint& T1) {
  return JoinArcArc(TArcPair::CwCw, side, R, A1, A2, T1);
}
TJoinResult JoinCwCcw(TCompensationSide side, double R, const TPoint& A1, const TPoint& A2, const TPoint& T1) {
  return JoinArcArc(TArcPair::CwCcw, side, R, A1, A2, T1);
}
TJoinResult JoinCcwCw(TCompensationSide side, double R, const TPoint& A1, const TPoint& A2, const TPoint& T1) {
  return JoinArcArc(TArcPair::CcwCw, side, R, A1, A2, T1);
}
TJoinResult JoinCcwCcw(TCompensationSide side, double R, const TPoint& A1, const TPoint& A2, const TPoint& T1) {
  return JoinArcArc(TArcPair::CcwCcw, side, R, A1, A2, T1);
}
