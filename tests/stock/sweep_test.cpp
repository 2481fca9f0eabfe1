// The swept cutters against volumes and profiles known in closed form, and against a dense
// brute-force sweep.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "stock/stock_simulation.h"
#include "stock/sweep.h"

namespace {

constexpr double kPi = std::numbers::pi;

TStockMove Line(TPoint from, TPoint to, uint8_t tool = 1) {
  TStockMove m;
  m.From = from;
  m.To = to;
  m.Tool = tool;
  m.SpindleOn = true;
  return m;
}

TCutterTable Cutters(TCutterShape shape, double radius) {
  TCutterTable t{};
  t[1] = MakeCutter(shape, radius);
  return t;
}

TStockResult Simulate(const std::vector<TStockMove>& moves, const TStockBox& box, double cell, const TCutterTable& c) {
  const TGridPlan plan = PlanGrid(box, cell);
  EXPECT_EQ(plan.Error, "");
  return SimulateStock(moves, box, plan, c);
}

// A straight slot of length L between cutter centres, diameter D, depth h: (L D + pi D^2 / 4) h.
struct TSlotCase {
  double CellsPerDiameter;
  double Tolerance;
};

class SlotVolume : public ::testing::TestWithParam<TSlotCase> {};

TEST_P(SlotVolume, MatchesTheClosedForm) {
  const double d = 4.0, length = 20.0, depth = 1.5, cell = d / GetParam().CellsPerDiameter;
  const double expected = (length * d + kPi * d * d / 4) * depth;
  const TStockBox box{-5, -5, 27, 5, 0, 5};
  const TCutterTable cutters = Cutters({TCutterKind::Flat}, d / 2);
  const double slot =
      Simulate({Line({0, 0.1, -depth}, {length, 0.37, -depth})}, box, cell, cutters).Map.RemovedVolume();
  EXPECT_NEAR(slot, expected, expected * GetParam().Tolerance);
  // The same slot a third of a cell further on: the grid falls differently, the volume stays.
  const double shifted = Simulate(
                             {Line({cell / 3, 0.1 + cell / 3, -depth}, {length + cell / 3, 0.37 + cell / 3, -depth})},
                             box, cell, cutters)
                             .Map.RemovedVolume();
  EXPECT_NEAR(shifted, slot, slot * 0.001);
}

INSTANTIATE_TEST_SUITE_P(Cells, SlotVolume, ::testing::Values(TSlotCase{50, 0.01}, TSlotCase{200, 0.003}));

TEST(Sweep, DrilledHoleAndFullCircleGrooveHaveTheirVolumes) {
  const double r = 1.5, depth = 3.0, cell = 0.02;
  const TCutterTable cutters = Cutters({TCutterKind::Flat}, r);
  const TStockBox box{-14, -14, 14, 14, 0, 10};
  const double hole = Simulate({Line({2, 3, 5}, {2, 3, -depth})}, box, cell, cutters).Map.RemovedVolume();
  EXPECT_NEAR(hole, kPi * r * r * depth, kPi * r * r * depth * 0.003);

  // A full circle of radius 10 at the groove's depth: an annulus 2r wide.
  TStockMove circle = Line({10, 0, -depth}, {10, 0, -depth});
  circle.Shape = TMoveShape::Ccw;
  const double groove = Simulate({circle}, box, cell, cutters).Map.RemovedVolume();
  const double annulus = kPi * ((10 + r) * (10 + r) - (10 - r) * (10 - r)) * depth;
  EXPECT_NEAR(groove, annulus, annulus * 0.003);
}

TEST(Sweep, BallAndVBitGroovesHaveTheirCrossSections) {
  const double cell = 0.01, r = 2.0, tip = -1.2;
  const TStockBox box{-4, -4, 14, 4, 0, 5};
  const TStockResult ball = Simulate({Line({0, 0, tip}, {10, 0, tip})}, box, cell, Cutters({TCutterKind::Ball}, r));
  const auto column = ball.Map.CellAt(5.0, 0.0)->first;
  for (int32_t j = 0; j < ball.Map.Ny; ++j) {
    const double y = ball.Map.CentreY(j);
    const double expected = std::abs(y) <= r ? std::min(0.0, tip + r - std::sqrt(r * r - y * y)) : 0.0;
    ASSERT_NEAR(ball.Map.At(column, j), expected, 1e-5) << "at y " << y;
  }
  // A V-bit at depth d cuts a groove 2 d tan(angle / 2) wide.
  for (const double angle : {60.0, 90.0, 120.0}) {
    const TStockResult v = Simulate({Line({0, 0, tip}, {10, 0, tip})}, box, cell,
                                    Cutters({TCutterKind::VBit, angle}, 10.0));
    int cut = 0;
    for (int32_t j = 0; j < v.Map.Ny; ++j) cut += v.Map.At(column, j) < 0.0f;
    EXPECT_NEAR(cut * cell, 2 * -tip * std::tan(angle * kPi / 360), 2 * cell) << angle << " degrees";
  }
}

// Every cutter on sloped, level and vertical moves against the cutter set down at many
// points along the move: the closed form is never higher, and never lower by more than the
// brute force's own step allows.
TEST(Sweep, ClosedFormMatchesADenseSweep) {
  const TCutterShape shapes[] = {{TCutterKind::Flat},
                                 {TCutterKind::Ball},
                                 {TCutterKind::VBit, 90},
                                 {TCutterKind::VBit, 20}};
  const TStockMove moves[] = {Line({-2, -1, -0.5}, {2.5, 1.2, -2.5}), Line({-2, 1, -2}, {2, -0.5, 0.3}),
                              Line({-1, 0, -1}, {1, 0.5, -1}), Line({0.3, 0.2, 2}, {0.3, 0.2, -2})};
  const TStockBox box{-3, -3, 3, 3, 5, 10};
  constexpr int kSteps = 2000;
  for (const TCutterShape& shape : shapes) {
    const TCutter cutter = MakeCutter(shape, 1.3);
    for (const TStockMove& move : moves) {
      const TStockResult r = Simulate({move}, box, 0.15, Cutters(shape, 1.3));
      // How much lower the truth may lie between two set-downs: the move's Z over a step, and the
      // rise over a step's distance (steep for a V-bit, steepest at a ball's rim).
      const double step = std::hypot(move.To.X - move.From.X, move.To.Y - move.From.Y) / kSteps;
      const double riseOverStep = shape.Kind == TCutterKind::Ball ? std::sqrt(2 * cutter.Radius * step)
                                                                  : step * std::max(1.0, cutter.Slope);
      const double stepZ = riseOverStep + std::abs(move.To.Z - move.From.Z) / kSteps;
      for (int32_t j = 0; j < r.Map.Ny; ++j)
        for (int32_t i = 0; i < r.Map.Nx; ++i) {
          double lowest = box.Top;
          for (int s = 0; s <= kSteps; ++s) {
            const double f = double(s) / kSteps;
            const double d = std::hypot(r.Map.CentreX(i) - (move.From.X + (move.To.X - move.From.X) * f),
                                        r.Map.CentreY(j) - (move.From.Y + (move.To.Y - move.From.Y) * f));
            if (d <= cutter.Radius)
              lowest = std::min(lowest, move.From.Z + (move.To.Z - move.From.Z) * f + cutter.Rise(d));
          }
          ASSERT_LE(r.Map.At(i, j), lowest + 1e-5) << CutterShapeText(shape) << " cell " << i << "," << j;
          ASSERT_GE(r.Map.At(i, j), lowest - stepZ - 1e-5) << CutterShapeText(shape) << " cell " << i << "," << j;
        }
    }
  }
}

// Many moves at many depths, so that tiles and blocks of the map are cut deeper than later
// moves pass: the banded run, which passes those unread, leaves the very map of the moves
// swept one by one over every cell. Arcs, helices and spirals cross the bands and axes.
TEST(Sweep, SkippingWhatIsCutDeeperChangesNoCell) {
  std::mt19937 random(7);
  const auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
  TCutterTable cutters{};
  cutters[1] = MakeCutter({TCutterKind::Flat}, 0.8);
  cutters[2] = MakeCutter({TCutterKind::Ball}, 1.1);
  cutters[3] = MakeCutter({TCutterKind::VBit, 60}, 0.9);
  const TStockBox box{0, 0, 30, 20, 0, 2};
  std::vector<TStockMove> moves;
  TPoint at{15, 10, 1};
  for (int k = 0; k < 1500; ++k) {
    TStockMove m = Line(at, {uniform(-2, 32), uniform(-2, 22), std::round(uniform(-2.4, 0.4) * 8) / 8}, 1 + k % 3);
    m.Rapid = k % 17 == 0;
    if (k % 4 == 1) {
      m.Shape = k % 8 == 1 ? TMoveShape::Cw : TMoveShape::Ccw;
      m.CentreX = at.X + uniform(-6, 6);
      m.CentreY = at.Y + uniform(-6, 6);
      if (k % 12 == 1) m.To = {at.X, at.Y, m.To.Z};  // a full circle or helix
    }
    moves.push_back(m);
    at = m.To;
  }
  const TGridPlan plan = PlanGrid(box, 0.07);
  THeightMap oneByOne(box, plan);
  for (const TStockMove& m : moves) {
    TSweepEffect effect;
    SweepMove(oneByOne, {0, oneByOne.Ny}, m, cutters[m.Tool], effect);
  }
  const TStockResult banded = SimulateStock(moves, box, plan, cutters, {nullptr, nullptr, nullptr, 2});
  ASSERT_EQ(banded.Map.Z.size(), oneByOne.Z.size());
  size_t differing = 0;
  for (size_t k = 0; k < oneByOne.Z.size(); ++k) differing += banded.Map.Z[k] != oneByOne.Z[k];
  EXPECT_EQ(differing, 0u);
  EXPECT_LT(banded.Map.MinZ(), -2.0);  // deep enough to be below the bottom somewhere
}

// Arcs both ways, spirals (also out of and into the centre), full circles and arcs ending
// on an axis: every point of the path lies inside the bounds, and a circular arc's bounds
// are its own extremes.
TEST(Sweep, ArcBoundsHoldThePathAndNoMore) {
  std::mt19937 random(3);
  const auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
  for (int k = 0; k < 400; ++k) {
    TStockMove m = Line({uniform(-5, 5), uniform(-5, 5), 0}, {uniform(-5, 5), uniform(-5, 5), -1});
    m.Shape = k % 2 ? TMoveShape::Cw : TMoveShape::Ccw;
    m.CentreX = uniform(-3, 3);
    m.CentreY = uniform(-3, 3);
    if (k % 25 == 7) m.From = {m.CentreX, m.CentreY, 0};  // a spiral out of the centre
    const double r0 = std::hypot(m.From.X - m.CentreX, m.From.Y - m.CentreY);
    const bool circular = k % 3 == 0 && r0 > 0;
    if (circular) {  // the end moved onto the start's circle, some on an axis through the centre
      const double angle = k % 9 == 0 ? kPi / 2 * (k % 4) : std::atan2(m.To.Y - m.CentreY, m.To.X - m.CentreX);
      m.To = {m.CentreX + r0 * std::cos(angle), m.CentreY + r0 * std::sin(angle), -1};
    }
    if (k % 10 == 0) m.To = {m.From.X, m.From.Y, -1};    // a full circle
    if (k % 25 == 8) m.To = {m.CentreX, m.CentreY, -1};  // a spiral into the centre
    const double r1 = std::hypot(m.To.X - m.CentreX, m.To.Y - m.CentreY);
    const TMoveBounds b = BoundsOf(m);
    const double start = std::atan2(m.From.Y - m.CentreY, m.From.X - m.CentreX);
    const double turn = (m.Shape == TMoveShape::Ccw ? 1 : -1) * ArcSpan(m);
    TMoveBounds seen{1e9, -1e9, 1e9, -1e9, 0};
    for (int s = 0; s <= 4000; ++s) {
      const double f = s / 4000.0, r = r0 + (r1 - r0) * f;
      const double x = m.CentreX + r * std::cos(start + turn * f), y = m.CentreY + r * std::sin(start + turn * f);
      seen = {std::min(seen.XMin, x), std::max(seen.XMax, x), std::min(seen.YMin, y), std::max(seen.YMax, y), 0};
    }
    ASSERT_LE(b.XMin, seen.XMin + 1e-9) << k;
    ASSERT_GE(b.XMax, seen.XMax - 1e-9) << k;
    ASSERT_LE(b.YMin, seen.YMin + 1e-9) << k;
    ASSERT_GE(b.YMax, seen.YMax - 1e-9) << k;
    if ((!circular && k % 10 != 0) || k % 25 == 8) continue;
    const double sampling = r0 * (1 - std::cos(kPi / 4000)) + 1e-9;
    EXPECT_NEAR(b.XMin, seen.XMin, sampling) << k;
    EXPECT_NEAR(b.XMax, seen.XMax, sampling) << k;
    EXPECT_NEAR(b.YMin, seen.YMin, sampling) << k;
    EXPECT_NEAR(b.YMax, seen.YMax, sampling) << k;
  }
}

TEST(StockGrid, DefaultCellKeepsTheBudgetAndAChosenCellIsCapped) {
  const TStockBox small{0, 0, 10, 10, 0, 1};
  EXPECT_EQ(PlanGrid(small).Cell, kFinestDefaultCell);
  EXPECT_EQ(PlanGrid(small).Nx, 500);
  const TStockBox large{0, 0, 1000, 800, 0, 1};
  const TGridPlan plan = PlanGrid(large);
  EXPECT_LE(plan.Cells(), kDefaultCells);
  EXPECT_GT(plan.Cells(), kDefaultCells * 99 / 100);
  // 1000 x 800 mm: cells of 0.1092 mm are just under 64 M; a finer cell is refused with a message.
  EXPECT_EQ(PlanGrid(large, 0.1092).Error, "");
  const TGridPlan fine = PlanGrid(large, 0.109);
  EXPECT_EQ(fine.Cells(), 0u);
  EXPECT_NE(fine.Error.find("more than the 67108864 allowed; choose 0.1092 mm or more"), std::string::npos)
      << fine.Error;
  EXPECT_NE(PlanGrid({0, 0, 10, 10, 0, 0}).Error, "");
}

TEST(CutterShape, TextsReadBack) {
  for (const char* text : {"flat", "ball", "v60", "v90.5"}) EXPECT_EQ(CutterShapeText(*ParseCutterShape(text)), text);
  for (const char* text : {"", "v", "v0", "v180", "vx", "round", "v-30"}) EXPECT_FALSE(ParseCutterShape(text)) << text;
  std::string error;
  const auto shapes = ParseToolShapes(" 3=ball  254=v60 7=flat", error);
  ASSERT_TRUE(shapes);
  EXPECT_EQ(ToolShapesText(*shapes), "3=ball 254=v60");
  for (const char* text : {"3", "3=", "255=ball", "x=ball", "3=ball,4=ball"}) {
    EXPECT_FALSE(ParseToolShapes(text, error)) << text;
    EXPECT_NE(error.find("is not N=flat"), std::string::npos) << error;
  }
}

}  // namespace
