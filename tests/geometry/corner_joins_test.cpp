#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>
#include <variant>

#include "geometry/corner_joins.h"
#include "geometry/plane_geometry.h"

namespace {

// A test's name from its case's Name: what is no letter or digit becomes '_'.
struct TCaseName {
  template <typename TCase>
  std::string operator()(const ::testing::TestParamInfo<TCase>& info) const {
    std::string n = info.param.Name;
    for (char& ch : n)
      if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return n;
  }
};
constexpr TCaseName NameOfCase{};

constexpr double kPi = 3.14159265358979323846;
constexpr TCompensationSide kOff = TCompensationSide::Off;
constexpr TCompensationSide kLeft = TCompensationSide::Left;
constexpr TCompensationSide kRight = TCompensationSide::Right;

TPoint Pt(double x, double y) { return TPoint{x, y, 0.0}; }

void ExpectPoint(const TPoint& p, const TPoint& q, const char* what) {
  EXPECT_NEAR(p.X, q.X, 1e-9) << what;
  EXPECT_NEAR(p.Y, q.Y, 1e-9) << what;
}

struct Expected {
  TPoint S1;
  TPoint S2;
  int32_t Count;  // the TJoinCount as its number
  bool Rounding;
};

void ExpectJoin(const TJoinResult& j, const Expected& e) {
  ExpectPoint(j.S1, e.S1, "S1");
  ExpectPoint(j.S2, e.S2, "S2");
  EXPECT_EQ(static_cast<int32_t>(j.Count), e.Count);
  EXPECT_EQ(j.RoundingArc, e.Rounding);
}

// ---- straight into straight -------------------------------------------------------------

struct LineLineCase {
  const char* Name;
  TCompensationSide Side;
  double R;
  TPoint T0, T1, T2;
  Expected Result;
};

class JoinLineLineTest : public ::testing::TestWithParam<LineLineCase> {};

TEST_P(JoinLineLineTest, Joins) {
  const LineLineCase& c = GetParam();
  ExpectJoin(JoinLineLine(c.Side, c.R, c.T0, c.T1, c.T2), c.Result);
}

INSTANTIATE_TEST_SUITE_P(
    Corners, JoinLineLineTest,
    ::testing::Values(
        LineLineCase{"straight left", kLeft, 2, Pt(0, 0), Pt(10, 0), Pt(20, 0), {Pt(10, 2), Pt(10, 2), 1, false}},
        LineLineCase{"straight right", kRight, 2, Pt(0, 0), Pt(10, 0), Pt(20, 0), {Pt(10, -2), Pt(10, -2), 1, false}},
        LineLineCase{
            "left turn, tool left: inner", kLeft, 1, Pt(0, 0), Pt(10, 0), Pt(10, 10), {Pt(9, 1), Pt(9, 1), 1, false}},
        LineLineCase{"left turn, tool right: outer",
                     kRight,
                     1,
                     Pt(0, 0),
                     Pt(10, 0),
                     Pt(10, 10),
                     {Pt(10, -1), Pt(11, 0), 2, true}},
        LineLineCase{"right turn, tool left: outer",
                     kLeft,
                     1,
                     Pt(0, 0),
                     Pt(10, 0),
                     Pt(10, -10),
                     {Pt(10, 1), Pt(11, 0), 2, true}},
        LineLineCase{"right turn, tool right: inner",
                     kRight,
                     1,
                     Pt(0, 0),
                     Pt(10, 0),
                     Pt(10, -10),
                     {Pt(9, -1), Pt(9, -1), 1, false}},
        LineLineCase{"reversal left", kLeft, 1, Pt(0, 0), Pt(10, 0), Pt(0, 0), {Pt(10, 1), Pt(10, -1), 2, true}},
        LineLineCase{"reversal right", kRight, 1, Pt(0, 0), Pt(10, 0), Pt(0, 0), {Pt(10, -1), Pt(10, 1), 2, true}},
        LineLineCase{"off", kOff, 1, Pt(0, 0), Pt(10, 0), Pt(10, 10), {Pt(10, 0), Pt(10, 0), 1, false}},
        LineLineCase{"radius 0", kLeft, 0, Pt(0, 0), Pt(10, 0), Pt(10, -10), {Pt(10, 0), Pt(10, 0), 1, false}}),
    NameOfCase);

TEST(JoinLineLine, SlopedInnerCornerLiesOnBothOffsets) {
  const TPoint T0 = Pt(0, 0), T1 = Pt(4, 3), T2 = Pt(-4, 9);
  const TJoinResult j = JoinLineLine(kLeft, 1, T0, T1, T2);
  // Signed distance left of each programmed line is exactly R.
  auto leftDistance = [](const TPoint& a, const TPoint& b, const TPoint& p) {
    const TVector n = LeftNormal(a, b);
    return (p.X - a.X) * n.X + (p.Y - a.Y) * n.Y;
  };
  EXPECT_NEAR(leftDistance(T0, T1, j.S1), 1.0, 1e-12);
  EXPECT_NEAR(leftDistance(T1, T2, j.S1), 1.0, 1e-12);
  EXPECT_EQ(j.S1, j.S2);
  EXPECT_FALSE(j.RoundingArc);
}

// ---- straight into arc, arc into straight, rapids --------------------------------------
// The straight move runs (0,0) -> (10,0) or leaves (10,0) towards T2; R = 1.

enum class Kind { LineCw, LineCcw, CwLine, CcwLine, RapidCw, RapidCcw, CwRapid, CcwRapid };

struct MixedCase {
  const char* Name;
  Kind Join;
  TCompensationSide Side;
  TPoint Other;  // T0 for a current straight move, T2 for a next one
  TPoint Centre;
  Expected Result;
};

TJoinResult JoinOf(const MixedCase& c) {
  const TPoint T1 = Pt(10, 0);
  switch (c.Join) {
    case Kind::LineCw: return JoinLineCw(c.Side, 1, c.Other, T1, c.Centre);
    case Kind::LineCcw: return JoinLineCcw(c.Side, 1, c.Other, T1, c.Centre);
    case Kind::CwLine: return JoinCwLine(c.Side, 1, T1, c.Other, c.Centre);
    case Kind::CcwLine: return JoinCcwLine(c.Side, 1, T1, c.Other, c.Centre);
    case Kind::RapidCw: return JoinRapidCw(c.Side, 1, T1, c.Centre);
    case Kind::RapidCcw: return JoinRapidCcw(c.Side, 1, T1, c.Centre);
    case Kind::CwRapid: return JoinArcRapid(c.Side, 1, T1, c.Centre, true);
    case Kind::CcwRapid: return JoinArcRapid(c.Side, 1, T1, c.Centre, false);
  }
  return {};
}

class JoinMixedTest : public ::testing::TestWithParam<MixedCase> {};

TEST_P(JoinMixedTest, Joins) { ExpectJoin(JoinOf(GetParam()), GetParam().Result); }

const double kS7 = std::sqrt(7.0);
const double kS11 = std::sqrt(11.0);

INSTANTIATE_TEST_SUITE_P(
    Corners, JoinMixedTest,
    ::testing::Values(
        // Straight into a clockwise arc.
        MixedCase{"line cw tangent left", Kind::LineCw, kLeft, Pt(0, 0), Pt(10, -5), {Pt(10, 1), Pt(10, 1), 1, false}},
        MixedCase{
            "line cw tangent right", Kind::LineCw, kRight, Pt(0, 0), Pt(10, -5), {Pt(10, -1), Pt(10, -1), 1, false}},
        MixedCase{"line cw right turn left side: extended",
                  Kind::LineCw,
                  kLeft,
                  Pt(0, 0),
                  Pt(7, -4),
                  {Pt(7 + kS11, 1), Pt(7 + kS11, 1), 2, false}},
        MixedCase{"line cw right turn right side: inner",
                  Kind::LineCw,
                  kRight,
                  Pt(0, 0),
                  Pt(7, -4),
                  {Pt(7 + kS7, -1), Pt(7 + kS7, -1), 2, false}},
        MixedCase{"line cw sharp right turn left side: outer",
                  Kind::LineCw,
                  kLeft,
                  Pt(0, 0),
                  Pt(5, 5),
                  {Pt(10, 1), Pt(10 + std::sqrt(0.5), -std::sqrt(0.5)), 1, true}},
        MixedCase{"line cw reversal right side: outer",
                  Kind::LineCw,
                  kRight,
                  Pt(0, 0),
                  Pt(10, 5),
                  {Pt(10, -1), Pt(10, 1), 1, true}},
        MixedCase{"line cw miss keeps the offset end",
                  Kind::LineCw,
                  kRight,
                  Pt(0, 0),
                  Pt(9.7, -0.4),
                  {Pt(10, -1), Pt(10, -1), 0, false}},
        MixedCase{"line cw off", Kind::LineCw, kOff, Pt(0, 0), Pt(7, -4), {Pt(10, 0), Pt(10, 0), 1, false}},
        // Straight into a counter-clockwise arc.
        MixedCase{"line ccw tangent left", Kind::LineCcw, kLeft, Pt(0, 0), Pt(10, 5), {Pt(10, 1), Pt(10, 1), 1, false}},
        MixedCase{
            "line ccw tangent right", Kind::LineCcw, kRight, Pt(0, 0), Pt(10, 5), {Pt(10, -1), Pt(10, -1), 1, false}},
        MixedCase{"line ccw right turn left side: outer",
                  Kind::LineCcw,
                  kLeft,
                  Pt(0, 0),
                  Pt(15, 0),
                  {Pt(10, 1), Pt(11, 0), 1, true}},
        MixedCase{"line ccw left turn right side: outer",
                  Kind::LineCcw,
                  kRight,
                  Pt(0, 0),
                  Pt(7, -4),
                  {Pt(10, -1), Pt(10.6, 0.8), 1, true}},
        MixedCase{"line ccw miss", Kind::LineCcw, kLeft, Pt(0, 0), Pt(10.3, 0.4), {Pt(10, 1), Pt(10, 1), 0, false}},
        MixedCase{"line ccw off", Kind::LineCcw, kOff, Pt(0, 0), Pt(15, 0), {Pt(10, 0), Pt(10, 0), 1, false}},
        // Clockwise arc into a straight move.
        MixedCase{"cw line tangent left", Kind::CwLine, kLeft, Pt(20, 0), Pt(10, -5), {Pt(10, 1), Pt(10, 1), 1, false}},
        MixedCase{
            "cw line tangent right", Kind::CwLine, kRight, Pt(20, 0), Pt(10, -5), {Pt(10, -1), Pt(10, -1), 1, false}},
        MixedCase{"cw line right turn left side: outer",
                  Kind::CwLine,
                  kLeft,
                  Pt(10, -10),
                  Pt(10, -5),
                  {Pt(10, 1), Pt(11, 0), 3, true}},
        MixedCase{
            "cw line reversal left side", Kind::CwLine, kLeft, Pt(0, 0), Pt(10, -5), {Pt(10, 1), Pt(10, 1), 4, false}},
        MixedCase{"cw line left turn right side: outer",
                  Kind::CwLine,
                  kRight,
                  Pt(10, 10),
                  Pt(10, -5),
                  {Pt(10, -1), Pt(11, 0), 3, true}},
        MixedCase{"cw line miss right side",
                  Kind::CwLine,
                  kRight,
                  Pt(20, 0),
                  Pt(9.7, -0.4),
                  {Pt(9.4, -0.8), Pt(9.4, -0.8), 0, false}},
        MixedCase{"cw line off", Kind::CwLine, kOff, Pt(10, 10), Pt(10, -5), {Pt(10, 0), Pt(10, 0), 1, false}},
        // Counter-clockwise arc into a straight move.
        MixedCase{
            "ccw line tangent left", Kind::CcwLine, kLeft, Pt(20, 0), Pt(10, 5), {Pt(10, 1), Pt(10, 1), 1, false}},
        MixedCase{
            "ccw line tangent right", Kind::CcwLine, kRight, Pt(20, 0), Pt(10, 5), {Pt(10, -1), Pt(10, -1), 1, false}},
        MixedCase{"ccw line right turn left side: outer",
                  Kind::CcwLine,
                  kLeft,
                  Pt(10, -10),
                  Pt(10, 5),
                  {Pt(10, 1), Pt(11, 0), 1, true}},
        MixedCase{"ccw line left turn right side: outer",
                  Kind::CcwLine,
                  kRight,
                  Pt(10, 10),
                  Pt(10, 5),
                  {Pt(10, -1), Pt(11, 0), 1, true}},
        MixedCase{"ccw line miss left side",
                  Kind::CcwLine,
                  kLeft,
                  Pt(20, 0),
                  Pt(10.3, 0.4),
                  {Pt(10.6, 0.8), Pt(10.6, 0.8), 0, false}},
        // Rapids: the radial point of the arc's offset, never a rounding arc.
        MixedCase{"rapid cw left", Kind::RapidCw, kLeft, Pt(0, 0), Pt(10, -5), {Pt(10, 1), Pt(10, 1), 1, false}},
        MixedCase{"rapid cw right", Kind::RapidCw, kRight, Pt(0, 0), Pt(10, -5), {Pt(10, -1), Pt(10, -1), 1, false}},
        MixedCase{"rapid ccw left", Kind::RapidCcw, kLeft, Pt(0, 0), Pt(10, -5), {Pt(10, -1), Pt(10, -1), 1, false}},
        MixedCase{"rapid ccw right", Kind::RapidCcw, kRight, Pt(0, 0), Pt(10, -5), {Pt(10, 1), Pt(10, 1), 1, false}},
        MixedCase{"rapid cw off", Kind::RapidCw, kOff, Pt(0, 0), Pt(10, -5), {Pt(10, 0), Pt(10, 0), 1, false}},
        MixedCase{"cw rapid left", Kind::CwRapid, kLeft, Pt(0, 0), Pt(10, -5), {Pt(10, 1), Pt(10, 1), 1, false}},
        MixedCase{"cw rapid right", Kind::CwRapid, kRight, Pt(0, 0), Pt(10, -5), {Pt(10, -1), Pt(10, -1), 1, false}},
        MixedCase{"ccw rapid left", Kind::CcwRapid, kLeft, Pt(0, 0), Pt(10, -5), {Pt(10, -1), Pt(10, -1), 1, false}},
        MixedCase{"ccw rapid right", Kind::CcwRapid, kRight, Pt(0, 0), Pt(10, -5), {Pt(10, 1), Pt(10, 1), 1, false}},
        MixedCase{"ccw rapid off", Kind::CcwRapid, kOff, Pt(0, 0), Pt(10, -5), {Pt(10, 0), Pt(10, 0), 1, false}}),
    NameOfCase);

// ---- arc into arc -------------------------------------------------------------------------
// The first arc passes the corner (0,0) heading along +x with radius 10; the second leaves
// it heading at `Turn` degrees with radius 10 (left turns below 180).

enum class Pair { CwCw, CwCcw, CcwCw, CcwCcw };

struct ArcArcCase {
  const char* Name;
  Pair Join;
  TCompensationSide Side;
  double Turn;
  bool Rounding;  // otherwise the offset circles are intersected
};

TPoint CentreOf(bool clockwise, double headingDegrees) {
  const double a = headingDegrees * kPi / 180.0;
  // The centre lies right of the heading for a clockwise arc, left for a counter-clockwise one.
  return clockwise ? Pt(10 * std::sin(a), -10 * std::cos(a)) : Pt(-10 * std::sin(a), 10 * std::cos(a));
}

class JoinArcArcTest : public ::testing::TestWithParam<ArcArcCase> {};

TEST_P(JoinArcArcTest, JoinsOnTheOffsetCircles) {
  const ArcArcCase& c = GetParam();
  const bool cw1 = c.Join == Pair::CwCw || c.Join == Pair::CwCcw;
  const bool cw2 = c.Join == Pair::CwCw || c.Join == Pair::CcwCw;
  const TPoint T1 = Pt(0, 0);
  const TPoint A1 = CentreOf(cw1, 0), A2 = CentreOf(cw2, c.Turn);
  const double R = 1;
  TJoinResult j;
  switch (c.Join) {
    case Pair::CwCw: j = JoinCwCw(c.Side, R, A1, A2, T1); break;
    case Pair::CwCcw: j = JoinCwCcw(c.Side, R, A1, A2, T1); break;
    case Pair::CcwCw: j = JoinCcwCw(c.Side, R, A1, A2, T1); break;
    case Pair::CcwCcw: j = JoinCcwCcw(c.Side, R, A1, A2, T1); break;
  }
  const double r1 = OffsetRadius(c.Side, 10, R, cw1), r2 = OffsetRadius(c.Side, 10, R, cw2);
  EXPECT_EQ(j.RoundingArc, c.Rounding);
  if (c.Rounding) {
    // The offset points radially through the corner, R from it.
    EXPECT_EQ(j.Count, TJoinCount::OnePoint);
    EXPECT_NEAR(PointDistance(j.S1, A1), r1, 1e-9);
    EXPECT_NEAR(PointDistance(j.S2, A2), r2, 1e-9);
    EXPECT_NEAR(PointDistance(j.S1, T1), R, 1e-9);
    EXPECT_NEAR(PointDistance(j.S2, T1), R, 1e-9);
  } else {
    EXPECT_EQ(j.Count, TJoinCount::TwoPoints);
    EXPECT_NEAR(PointDistance(j.S1, A1), r1, 1e-9);
    EXPECT_NEAR(PointDistance(j.S1, A2), r2, 1e-9);
    EXPECT_LT(PointDistance(j.S1, T1), 4 * R);
    EXPECT_EQ(j.S1, j.S2);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Corners, JoinArcArcTest,
    ::testing::Values(ArcArcCase{"cw cw left turn, tool outside", Pair::CwCw, kLeft, 30, false},
                      ArcArcCase{"cw cw right turn, tool outside", Pair::CwCw, kLeft, 330, true},
                      ArcArcCase{"cw cw left turn, tool inside", Pair::CwCw, kRight, 30, false},
                      ArcArcCase{"cw cw reversal, tool inside", Pair::CwCw, kRight, 180, true},
                      ArcArcCase{"cw ccw left turn, left side", Pair::CwCcw, kLeft, 30, false},
                      ArcArcCase{"cw ccw right turn, left side", Pair::CwCcw, kLeft, 330, true},
                      ArcArcCase{"cw ccw left turn, right side", Pair::CwCcw, kRight, 30, true},
                      ArcArcCase{"cw ccw right turn, right side", Pair::CwCcw, kRight, 330, false},
                      ArcArcCase{"ccw cw left turn, left side", Pair::CcwCw, kLeft, 30, false},
                      ArcArcCase{"ccw cw right turn, left side", Pair::CcwCw, kLeft, 330, true},
                      ArcArcCase{"ccw cw left turn, right side", Pair::CcwCw, kRight, 30, true},
                      ArcArcCase{"ccw cw right turn, right side", Pair::CcwCw, kRight, 330, false},
                      ArcArcCase{"ccw ccw left turn, tool inside", Pair::CcwCcw, kLeft, 30, false},
                      ArcArcCase{"ccw ccw right turn, tool inside", Pair::CcwCcw, kLeft, 330, true},
                      ArcArcCase{"ccw ccw reversal, tool inside", Pair::CcwCcw, kLeft, 180, true},
                      ArcArcCase{"ccw ccw left turn, tool outside", Pair::CcwCcw, kRight, 30, true},
                      ArcArcCase{"ccw ccw right turn, tool outside", Pair::CcwCcw, kRight, 330, false}),
    NameOfCase);

// Every angle test of the joins exactly at its bound: radius vectors and moves along the axes
// give angles of exactly 0, 90, 180 or 270 degrees. A straight move runs (0,0) -> (10,0) or
// leaves (10,0) towards the other point; arcs into arcs meet at (0,0), the first arc heading
// along +x (clockwise about (0,-10), counter-clockwise about (0,10)).
struct BoundaryCase {
  const char* Name;
  std::variant<Kind, Pair> Join;
  TCompensationSide Side;
  TPoint Other;   // straight moves: T0 or T2
  TPoint Centre;  // of the (next) arc
  bool Rounding;
};

class JoinBoundaryTest : public ::testing::TestWithParam<BoundaryCase> {};

TEST_P(JoinBoundaryTest, DecidesTheRoundingArcAtTheBound) {
  const BoundaryCase& c = GetParam();
  TJoinResult j;
  if (const Kind* kind = std::get_if<Kind>(&c.Join)) {
    j = JoinOf(MixedCase{c.Name, *kind, c.Side, c.Other, c.Centre, {}});
  } else {
    const Pair pair = std::get<Pair>(c.Join);
    const TPoint A1 = pair == Pair::CwCw || pair == Pair::CwCcw ? Pt(0, -10) : Pt(0, 10);
    const TPoint T1 = Pt(0, 0);
    switch (pair) {
      case Pair::CwCw: j = JoinCwCw(c.Side, 1, A1, c.Centre, T1); break;
      case Pair::CwCcw: j = JoinCwCcw(c.Side, 1, A1, c.Centre, T1); break;
      case Pair::CcwCw: j = JoinCcwCw(c.Side, 1, A1, c.Centre, T1); break;
      case Pair::CcwCcw: j = JoinCcwCcw(c.Side, 1, A1, c.Centre, T1); break;
    }
  }
  EXPECT_EQ(j.RoundingArc, c.Rounding);
}

INSTANTIATE_TEST_SUITE_P(Bounds, JoinBoundaryTest,
                         ::testing::Values(
                             // Straight into an arc: the angle from the move to the radius vector, or from the
                             // arc's tangent to the move.
                             BoundaryCase{"line cw left at 270", Kind::LineCw, kLeft, Pt(0, 0), Pt(10, 5), false},
                             BoundaryCase{"line ccw left at 270", Kind::LineCcw, kLeft, Pt(0, 0), Pt(5, 0), false},
                             BoundaryCase{"line ccw right at 90", Kind::LineCcw, kRight, Pt(0, 0), Pt(10, -5), false},
                             // An arc into a straight move.
                             BoundaryCase{"cw line right at 180", Kind::CwLine, kRight, Pt(10, -10), Pt(10, -5), true},
                             BoundaryCase{"ccw line right at 90: reversal", Kind::CcwLine, kRight, Pt(0, 0), Pt(10, 5),
                                          false},
                             // Arcs into arcs, left: reversals at exactly 180 between radius vectors or tangents.
                             BoundaryCase{"cw cw left at 180", Pair::CwCw, kLeft, {}, Pt(0, 10), false},
                             BoundaryCase{"cw ccw left at 180", Pair::CwCcw, kLeft, {}, Pt(0, -10), true},
                             BoundaryCase{"ccw cw left at 180", Pair::CcwCw, kLeft, {}, Pt(0, 10), false},
                             BoundaryCase{"ccw ccw left at 180", Pair::CcwCcw, kLeft, {}, Pt(0, -10), true},
                             // Arcs into arcs, right: the angle between the radius vectors.
                             BoundaryCase{"cw cw right at 90", Pair::CwCw, kRight, {}, Pt(10, 0), true},
                             BoundaryCase{"cw cw right at 270", Pair::CwCw, kRight, {}, Pt(-10, 0), true},
                             BoundaryCase{"cw ccw right at 90", Pair::CwCcw, kRight, {}, Pt(10, 0), false},
                             BoundaryCase{"cw ccw right at 180", Pair::CwCcw, kRight, {}, Pt(0, 10), false},
                             BoundaryCase{"ccw cw right at 90", Pair::CcwCw, kRight, {}, Pt(-10, 0), false},
                             BoundaryCase{"ccw cw right at 180", Pair::CcwCw, kRight, {}, Pt(0, -10), true},
                             BoundaryCase{"ccw ccw right at 0", Pair::CcwCcw, kRight, {}, Pt(0, 10), false},
                             BoundaryCase{"ccw ccw right at 90", Pair::CcwCcw, kRight, {}, Pt(-10, 0), true}),
                         NameOfCase);

TEST(JoinArcArc, SharedCentreJoinsAtTheRadialPoint) {
  const TJoinResult left = JoinCwCw(kLeft, 1, Pt(0, 0), Pt(0, 0), Pt(5, 0));
  ExpectJoin(left, {Pt(6, 0), Pt(6, 0), 1, false});
  const TJoinResult right = JoinCwCw(kRight, 1, Pt(0, 0), Pt(0, 0), Pt(5, 0));
  ExpectJoin(right, {Pt(4, 0), Pt(4, 0), 1, false});
  ExpectJoin(JoinCcwCcw(kRight, 1, Pt(0, 0), Pt(0, 0), Pt(0, 5)), {Pt(0, 6), Pt(0, 6), 1, false});
}

TEST(JoinArcArc, CompensationOffKeepsTheCorner) {
  // Radius vectors a quarter turn apart: an outer corner on the right, a rounding arc of radius 0.
  const TJoinResult outer = JoinCwCw(kOff, 0, Pt(0, 0), Pt(10, 0), Pt(5, 5));
  ExpectJoin(outer, {Pt(5, 5), Pt(5, 5), 1, true});
  // Nearly parallel radius vectors: the circles cross at the corner itself.
  const TJoinResult crossing = JoinCwCw(kOff, 0, Pt(0, 0), Pt(2, 0), Pt(5, 5));
  EXPECT_EQ(crossing.Count, TJoinCount::TwoPoints);
  ExpectPoint(crossing.S1, Pt(5, 5), "S1");
  EXPECT_FALSE(crossing.RoundingArc);
}

TEST(JoinArcArc, DisjointOffsetCirclesHaveNoJoint) {
  // A tool of radius 1.4 inside two small clockwise arcs: the inner offsets (radii 0.1
  // and 0.72) do not reach each other across the 1.5 between the centres.
  const TJoinResult j = JoinCwCw(kRight, 1.4, Pt(-1.5, 0), Pt(0, 0), Pt(-1.5, 1.5));
  EXPECT_EQ(j.Count, TJoinCount::NoJoint);
  EXPECT_FALSE(std::isnan(j.S1.X));
}

}  // namespace
