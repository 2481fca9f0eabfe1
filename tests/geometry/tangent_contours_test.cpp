// Contours whose straight edges and arcs meet tangentially, as CAM output has them: the
// offset arcs keep their programmed centres and the joins meet exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "geometry/plane_geometry.h"
#include "tests/support/run_program.h"

namespace {

struct TProgrammedMove {
  bool Arc = false;
  TPoint From, To, Centre;
};

// Walks the path and checks every element against the programmed move of its line:
// lines R to the tool side of their edge, offset arcs about the programmed centre with
// their radius changed by R. The first move starts from the unshifted entry point.
// Rounding arcs can only be of no length, where rounding tips a tangent corner outwards.
void CheckTangentPath(const TProgramRunResult& run, const std::vector<TProgrammedMove>& moves, int side, double R) {
  ASSERT_EQ(run.Result, 0);
  for (const std::string& m : run.Messages()) EXPECT_EQ(m, "Init CNC-Dll");
  TPoint cur{};
  bool first = true;
  for (const TCncElement& e : run.Path()) {
    const std::string code(e.Code.View());
    if (code == "G00") cur = e.P1;
    if (code != "G01" && code != "G02" && code != "G03") continue;
    ASSERT_GE(e.Line, 1);
    ASSERT_LE(e.Line, static_cast<int>(moves.size()));
    const TProgrammedMove& m = moves[e.Line - 1];
    if (!m.Arc) {
      EXPECT_EQ(code, "G01");
      const TVector n = side == 41 ? LeftNormal(m.From, m.To) : RightNormal(m.From, m.To);
      const auto off = [&](const TPoint& p) { return (p.X - m.From.X) * n.X + (p.Y - m.From.Y) * n.Y; };
      EXPECT_NEAR(off(e.P1), R, 1e-9) << "line " << e.Line;
      if (!first) {
        EXPECT_NEAR(off(cur), R, 1e-9) << "line " << e.Line;
      }
    } else if (PointDistance(cur, e.P1) < 1e-9 &&
               PointDistance(TPoint{cur.X + e.P2.X, cur.Y + e.P2.Y, 0}, m.To) < 1e-9) {
      // A tangent corner whose angle test falls a hair to the outer side: a rounding arc of
      // no length about the corner.
      EXPECT_NEAR(std::hypot(e.P2.X, e.P2.Y), R, 1e-9);
    } else {
      const double r = PointDistance(m.From, m.Centre);
      const bool outside = (code == "G02") == (side == 41);
      const TPoint centre{cur.X + e.P2.X, cur.Y + e.P2.Y, 0};
      EXPECT_NEAR(PointDistance(centre, m.Centre), 0, 1e-9) << "arc " << e.Line;
      if (!first) {
        EXPECT_NEAR(PointDistance(cur, m.Centre), outside ? r + R : r - R, 1e-9) << "arc " << e.Line;
      }
      EXPECT_NEAR(PointDistance(e.P1, m.Centre), outside ? r + R : r - R, 1e-9) << "arc " << e.Line;
    }
    first = false;
    cur = e.P1;
  }
}

std::string Num(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

// A rectangle with rounded corners from (x0,y0) to (x1,y1), corner radius rc, entered at the
// middle of the bottom edge and run once round plus the first half edge again.
std::vector<TProgrammedMove> RoundedRectangle(double x0, double y0, double x1, double y1, double rc, bool ccw,
                                              std::string& program) {
  const double xm = (x0 + x1) / 2;
  std::vector<TProgrammedMove> moves;
  TPoint at{xm, y0, 0};
  program += "G00 X" + Num(xm) + " Y" + Num(y0) + "\n";
  auto line = [&](double x, double y) {
    moves.push_back({false, at, TPoint{x, y, 0}, {}});
    program += "N" + std::to_string(moves.size()) + " G01 X" + Num(x) + " Y" + Num(y) + "\n";
    at = TPoint{x, y, 0};
  };
  auto arc = [&](double x, double y, double i, double j) {
    moves.push_back({true, at, TPoint{x, y, 0}, TPoint{at.X + i, at.Y + j, 0}});
    program += "N" + std::to_string(moves.size()) + (ccw ? " G03" : " G02") + " X" + Num(x) + " Y" + Num(y) + " I" +
               Num(i) + " J" + Num(j) + "\n";
    at = TPoint{x, y, 0};
  };
  if (ccw) {
    line(x1 - rc, y0), arc(x1, y0 + rc, 0, rc);
    line(x1, y1 - rc), arc(x1 - rc, y1, -rc, 0);
    line(x0 + rc, y1), arc(x0, y1 - rc, 0, -rc);
    line(x0, y0 + rc), arc(x0 + rc, y0, rc, 0);
  } else {
    line(x0 + rc, y0), arc(x0, y0 + rc, 0, rc);
    line(x0, y1 - rc), arc(x0 + rc, y1, rc, 0);
    line(x1 - rc, y1), arc(x1, y1 - rc, 0, -rc);
    line(x1, y0 + rc), arc(x1 - rc, y0, -rc, 0);
  }
  line(xm, y0);
  return moves;
}

struct RectCase {
  int Side;
  bool Ccw;
};

class TangentContourTest : public ::testing::TestWithParam<RectCase> {};

TEST_P(TangentContourTest, RoundedRectanglesOffsetAlongTheirArcs) {
  const RectCase c = GetParam();
  // Coordinates with three decimals, as programs have them; the offset edges touch the
  // offset arcs only if the joins compute them closely enough. The first rectangle is one
  // where double arithmetic misses by a hair.
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> um(20000, 200000), size(14000, 60000), corner(2000, 7000);
  for (int i = 0; i < 60; ++i) {
    double x0 = 49.65, y0 = 31.925, w = 38, h = 30, rc = 11.25;
    if (i > 0) {
      x0 = um(rng) / 1000.0;
      y0 = um(rng) / 1000.0;
      w = size(rng) / 1000.0;
      h = size(rng) / 1000.0;
      rc = std::round(corner(rng) / 250.0) * 0.25;
    }
    std::string program;
    const std::vector<TProgrammedMove> moves = RoundedRectangle(x0, y0, x0 + w, y0 + h, rc, c.Ccw, program);
    program.insert(0, "T1\nG" + std::to_string(c.Side) + "\n");
    SCOPED_TRACE(program);
    CheckTangentPath(RunProgramText(program, 1), moves, c.Side, 1);
    if (HasFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(BothSidesBothWays, TangentContourTest,
                         ::testing::Values(RectCase{41, true}, RectCase{41, false}, RectCase{42, true},
                                           RectCase{42, false}),
                         [](const auto& testInfo) {
                           return "G" + std::to_string(testInfo.param.Side) + (testInfo.param.Ccw ? "_ccw" : "_cw");
                         });

TEST(TangentContours, SCurveOfTwoArcs) {
  // Clockwise over (5,0), then counter-clockwise under (15,0): the offset circles touch.
  const std::vector<TProgrammedMove> moves = {
      {true, TPoint{0, 0, 0}, TPoint{10, 0, 0}, TPoint{5, 0, 0}},
      {true, TPoint{10, 0, 0}, TPoint{20, 0, 0}, TPoint{15, 0, 0}},
  };
  for (const int side : {41, 42}) {
    const TProgramRunResult run = RunProgramText(
        "T1\nG" + std::to_string(side) + "\nN1 G02 X10 Y0 I5 J0\nN2 G03 X20 Y0 I5 J0\n", 1);
    CheckTangentPath(run, moves, side, 1);
    EXPECT_NEAR(run.Path()[2].P1.X, side == 41 ? 11 : 9, 1e-12);
  }
}

TEST(TangentContours, ArcsTouchingAlongAnAxis) {
  // Clockwise over the top to the rightmost point, then on downwards either along a
  // counter-clockwise arc beyond (an S) or a smaller clockwise arc within (internally
  // tangent). Radii with three decimals and a tool of 1.3: the offset circles touch.
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> um(20000, 200000), radius(2000, 30000);
  std::string program = "T1\n";
  for (int i = 0; i < 400; ++i) {
    const double x0 = um(rng) / 1000.0, y0 = um(rng) / 1000.0, r1 = radius(rng) / 1000.0;
    const double r2 = std::min(r1 - 0.5, radius(rng) / 1000.0);
    const double xa = x0 + 2 * r1;
    program += "G00 X" + Num(x0) + " Y" + Num(y0) + "\n" + (i % 2 ? "G41" : "G42") + "\n";
    program += "G02 X" + Num(xa) + " Y" + Num(y0) + " I" + Num(r1) + " J0\n";
    if (i % 4 < 2) program += "G03 X" + Num(xa + 2 * r2) + " Y" + Num(y0) + " I" + Num(r2) + " J0\n";
    else program += "G02 X" + Num(xa - 2 * r2) + " Y" + Num(y0) + " I" + Num(-r2) + " J0\n";
    program += "G01 X" + Num(x0) + " Y" + Num(y0 - 50) + "\nG40\n";
  }
  const TProgramRunResult run = RunProgramText(program, 1.3);
  EXPECT_EQ(run.Result, 0);
  EXPECT_EQ(run.Messages().size(), 1u) << run.Messages().back();
}

TEST(TangentContours, CircleOfTwoHalves) {
  // Two half circles about one centre, as a circular pocket is programmed.
  const std::vector<TProgrammedMove> moves = {
      {false, TPoint{50, 45, 0}, TPoint{50, 40, 0}, {}},
      {true, TPoint{50, 40, 0}, TPoint{50, 60, 0}, TPoint{50, 50, 0}},
      {true, TPoint{50, 60, 0}, TPoint{50, 40, 0}, TPoint{50, 50, 0}},
      {false, TPoint{50, 40, 0}, TPoint{60, 40, 0}, {}},
  };
  for (const int side : {41, 42}) {
    const TProgramRunResult run = RunProgramText(
        "T1\nG00 X50 Y45\nG" + std::to_string(side) +
            "\nN1 G01 X50 Y40\nN2 G03 X50 Y60 I0 J10\nN3 G03 X50 Y40 I0 J-10\nN4 G01 X60 Y40\n",
        1);
    ASSERT_EQ(run.Result, 0);
    // The lead-in meets the circle square on; only the arcs and the tangent exit are checked.
    TPoint cur{};
    for (const TCncElement& e : run.Path()) {
      if (e.Code == TCode("G03") && (e.Line == 2 || e.Line == 3)) {
        const TPoint centre{cur.X + e.P2.X, cur.Y + e.P2.Y, 0};
        EXPECT_NEAR(PointDistance(centre, TPoint{50, 50, 0}), 0, 1e-9);
        EXPECT_NEAR(PointDistance(e.P1, centre), side == 41 ? 9 : 11, 1e-9);
      }
      if (IsMove(e.Code)) cur = e.P1;
    }
  }
  (void)moves;
}

}  // namespace

namespace {

// Arcs that touch from inside (centre distance 6.5 = 13 - 6.5) in three-decimal coordinates:
// the circles may miss each other by a rounding error. Without compensation the corner is
// the join, and the run must not stop.
TEST(TangentContours, InnerTouchingArcsWithoutCompensationDoNotStop) {
  const TProgramRunResult r = RunProgramText(
      "G01 X115.995 Y110.315 Z-1.5\nG01 X114.73 Y120.12\nG03 X130.73 Y112.12 I10 J0\n"
      "G03 X123.73 Y95.12 I-12 J-5\nG03 X118.73 Y95.12 I-2.5 J6\nG01 X100\n",
      1.0);
  EXPECT_EQ(r.Result, 0) << r.Messages().back();
  EXPECT_EQ(r.Messages().size(), 1u);
  // The path runs through the programmed corners (radius-0 rounding arcs aside) to the end.
  ASSERT_GE(r.Path().size(), r.Contour().size());
  EXPECT_EQ(r.Path().back().P1, r.Contour().back().P1);
}

}  // namespace
