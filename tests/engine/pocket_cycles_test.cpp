// Rounded pockets (G86, G88) and the cleared pocket (G87), driven through programs.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "tests/engine/cycle_test_util.h"
#include "tests/engine/engine_test_util.h"
#include "tests/support/run_program.h"

namespace {

// Every element of `turned` is `plain` turned by `degrees` about (cx, cy).
void ExpectTurned(const TElementList& plain, const TElementList& turned, double degrees, double cx, double cy) {
  ASSERT_EQ(plain.size(), turned.size());
  const double a = degrees * std::numbers::pi / 180.0, c = std::cos(a), s = std::sin(a);
  for (size_t i = 0; i < plain.size(); ++i) {
    const TPoint& p = plain[i].P1;
    const TPoint& q = plain[i].P2;
    const TPoint p1{cx + (p.X - cx) * c - (p.Y - cy) * s, cy + (p.X - cx) * s + (p.Y - cy) * c, p.Z};
    const TPoint p2{q.X * c - q.Y * s, q.X * s + q.Y * c, q.Z};
    EXPECT_EQ(plain[i].Code, turned[i].Code) << i;
    if (!IsMove(plain[i].Code)) continue;
    EXPECT_TRUE(Near(turned[i].P1, p1)) << i;
    EXPECT_TRUE(Near(turned[i].P2, p2)) << i;
  }
}

// --- G86 ---------------------------------------------------------------------------------

// Tool 1 of diameter 3, pocket 50 x 20 about (60, 35), 4 deep in steps of 1.5, 0.5 allowance.
std::string G86Program(const std::string& extra = "") {
  return "T1\nN10 G00 X60 Y35 Z0\nN20 G86 L50 B20 R5 U4 V1.5 W0.5 " + extra + "\nN30 G01 X70";
}

// Roughing outline 46 x 16, corner radius 3.
const std::vector<Move> kRoughG86 = {{"G00", -20, 8},        {"G01", 20, 8},         {"G02", 23, 5, 0, -3},
                                     {"G01", 23, -5},        {"G02", 20, -8, -3, 0}, {"G01", -20, -8},
                                     {"G02", -23, -5, 0, 3}, {"G01", -23, 5},        {"G02", -20, 8, 3, 0}};

TEST(PocketG86, StepsRestStepAndFinishing) {
  auto inst = RunProgramText(G86Program(), 1.5).Instance;
  const auto path = OfLine(inst->RawPathList, 20);
  ASSERT_EQ(path.size(), 42u);
  ExpectMove(path[0], "G00", "Line G00", {40, 43, 0});
  const double depths[] = {-1.5, -3, -4};  // two full steps and the rest step
  for (int k = 0; k < 3; ++k) {
    ExpectMove(path[1 + 10 * k], "G01", "Line G01", {40, 43, depths[k]});
    ExpectMoves(path, 2 + 10 * k, kRoughG86, 60, 35, depths[k]);
  }
  ExpectMove(path[31], "G01", "Line G01", {40, 43.5, 0});
  ExpectMoves(path, 32,
              {{"G00", -20, 8.5},
               {"G01", 20, 8.5},
               {"G02", 23.5, 5, 0, -3.5},
               {"G01", 23.5, -5},
               {"G02", 20, -8.5, -3.5, 0},
               {"G01", -20, -8.5},
               {"G02", -23.5, -5, 0, 3.5},
               {"G01", -23.5, 5},
               {"G02", -20, 8.5, 3.5, 0}},
              60, 35, -4);
  ExpectMove(path[41], "G01", "Line G01", {40, 43.5, 0});
  EXPECT_EQ(CountClosedOutlines(path), 4);
  EXPECT_EQ(inst->Messages.size(), 1u);
}

TEST(PocketG86, ContourIsTheOutlineAtFullDepth) {
  auto inst = RunProgramText(G86Program(), 1.5).Instance;
  const auto contour = OfLine(inst->ContourList, 20);
  ASSERT_EQ(contour.size(), 10u);
  ExpectMoves(contour, 0,
              {{"G00", -20, 10},
               {"G01", 20, 10},
               {"G02", 25, 5, 0, -5},
               {"G01", 25, -5},
               {"G02", 20, -10, -5, 0},
               {"G01", -20, -10},
               {"G02", -25, -5, 0, 5},
               {"G01", -25, 5},
               {"G02", -20, 10, 5, 0}},
              60, 35, -4);
  ExpectMove(contour[9], "G00", "Line G00", {60, 35, 0});
  EXPECT_EQ(CountClosedOutlines(contour), 1);
}

TEST(PocketG86, BothListsGoOnFromTheLastMove) {
  auto inst = RunProgramText(G86Program(), 1.5).Instance;
  EXPECT_TRUE(Near(inst->RawPathList.back().P1, {70, 43.5, 0}));
  EXPECT_TRUE(Near(inst->ContourList.back().P1, {70, 43.5, 0}));
}

TEST(PocketG86, NoAllowanceEndsAtTheRoughingStart) {
  auto inst = RunProgramText(G86Program("W0"), 1.5).Instance;
  const auto path = OfLine(inst->RawPathList, 20);
  ASSERT_EQ(path.size(), 32u);
  ExpectMove(path[0], "G00", "Line G00", {40, 43.5, 0});
  ExpectMove(path[31], "G01", "Line G01", {40, 43.5, 0});
  EXPECT_EQ(CountClosedOutlines(path), 3);
}

TEST(PocketG86, CompensationMarkers) {
  for (int side : {41, 42}) {
    auto inst = RunProgramText("G" + std::to_string(side) + "\n" + G86Program(), 1.5).Instance;
    const auto path = OfLine(inst->RawPathList, 20);
    ASSERT_EQ(path.size(), 44u);
    ExpectMove(path.front(), "G40", "Fräserradiuskorrektur aus", {});
    EXPECT_EQ(path.back().Code.View(), "G" + std::to_string(side));
    EXPECT_EQ(path.back().Text, "Fräserradiuskorrektur " + std::to_string(side));
    const auto contour = OfLine(inst->ContourList, 20);
    ASSERT_EQ(contour.size(), 11u);  // the G40 marker only
    EXPECT_EQ(contour.front().Code.View(), "G40");
    EXPECT_EQ(contour.back().Code.View(), "G00");
  }
}

// --- rotation, both pockets ----------------------------------------------------------------

class PocketTurnTest : public ::testing::TestWithParam<const char*> {};

TEST_P(PocketTurnTest, QTurnsEveryPointAndCentreOffsetAboutTheCentre) {
  const std::string cycle = GetParam();
  for (double q : {90.0, 30.0, -135.0}) {
    SCOPED_TRACE(q);
    const std::string head = "T1\nN10 G00 X60 Y35 Z0\nN20 " + cycle + " L50 B20 R5 U4 V1.5 W0.5 ";
    auto plain = RunProgramText(head + "Q0", 1.5).Instance;
    auto turned = RunProgramText(head + "Q" + std::to_string(q), 1.5).Instance;
    ExpectTurned(plain->ContourList, turned->ContourList, q, 60, 35);
    ExpectTurned(plain->RawPathList, turned->RawPathList, q, 60, 35);
    ExpectArcsConsistent(turned->ContourList);
    ExpectArcsConsistent(turned->RawPathList);
    EXPECT_EQ(CountClosedOutlines(OfLine(turned->RawPathList, 20)), 4);
    EXPECT_EQ(CountClosedOutlines(OfLine(turned->ContourList, 20)), 1);
  }
  // A quarter turn is exact: the first corner (-20, 8) lands on (-8, -20).
  auto quarter = RunProgramText("T1\nN10 G00 X60 Y35 Z0\nN20 " + cycle + " L50 B20 R5 U4 V1.5 W0.5 Q90", 1.5).Instance;
  EXPECT_EQ(OfLine(quarter->RawPathList, 20).front().P1, (TPoint{52, 15, 0}));
}

INSTANTIATE_TEST_SUITE_P(Cycles, PocketTurnTest, ::testing::Values("G86", "G88"));

// --- G88 ---------------------------------------------------------------------------------

TEST(PocketG88, SidesNarrowByTenDegreesTowardsTheLowerEdge) {
  auto inst = RunProgramText("T1\nN10 G00 X60 Y35 Z0\nN20 G88 L50 B20 R5 U4 V1.5 W0.5", 1.5).Instance;
  const auto contour = OfLine(inst->ContourList, 20);
  ASSERT_EQ(contour.size(), 10u);
  const double t = std::tan(10 * std::numbers::pi / 180), lower = 40 - 2 * 10 * t;
  ExpectMove(contour[0], "G00", "Line G00", {40, 45, -4});
  ExpectMove(contour[1], "G01", "Line G01", {80, 45, -4});
  EXPECT_TRUE(Near(contour[4].P1, {60 + lower / 2, 25, -4}));
  EXPECT_TRUE(Near(contour[5].P1, {60 - lower / 2, 25, -4}));
  // The right side runs down and inwards at 10 degrees from the vertical, the left mirrors it.
  const TPoint a = contour[2].P1, b = contour[3].P1;
  EXPECT_NEAR(std::atan2(a.X - b.X, a.Y - b.Y) * 180 / std::numbers::pi, 10.0, 1e-9);
  EXPECT_TRUE(Near(contour[6].P1, {120 - b.X, b.Y, -4}));
  EXPECT_TRUE(Near(contour[7].P1, {120 - a.X, a.Y, -4}));
  EXPECT_EQ(CountClosedOutlines(contour), 1);
  ExpectArcsConsistent(inst->ContourList);

  const auto path = OfLine(inst->RawPathList, 20);
  ASSERT_EQ(path.size(), 42u);
  ExpectMove(path[0], "G00", "Line G00", {40, 43, 0});
  ExpectMove(path[41], "G01", "Line G01", {40, 43.5, 0});
  EXPECT_EQ(CountClosedOutlines(path), 4);
  EXPECT_EQ(ExpectArcsConsistent(inst->RawPathList), 16);
}

// --- faults of both rounded pockets --------------------------------------------------------

struct FaultCase {
  const char* Program;  // line 40 holds the cycle; tool 1 has diameter 3
  const char* Message;
  size_t PathElements;
  size_t ContourElements;
};

class PocketFaultTest : public ::testing::TestWithParam<FaultCase> {};

TEST_P(PocketFaultTest, OneMessageAndNoDegenerateMoves) {
  const FaultCase& c = GetParam();
  auto inst = RunProgramText(std::string("T1\nG00 X5 Y5 Z0\n") + c.Program + "\nG01 Z1", 1.5).Instance;
  EXPECT_EQ(CountMessages(*inst, c.Message), 1) << c.Program;
  EXPECT_EQ(inst->Messages.size(), 2u) << c.Program;
  EXPECT_EQ(OfLine(inst->RawPathList, 40).size(), c.PathElements) << c.Program;
  EXPECT_EQ(OfLine(inst->ContourList, 40).size(), c.ContourElements) << c.Program;
}

constexpr const char* kSmall = "Error in program line 40: pocket smaller than the tool";
constexpr const char* kStep = "Error in program line 40: depth per step V must be greater than 0";

INSTANTIATE_TEST_SUITE_P(
    Cases, PocketFaultTest,
    ::testing::Values(FaultCase{"N40 G86 L4 B4 R1 U1 V1 W0", kSmall, 0, 10},
                      FaultCase{"N40 G88 L4 B4 R1 U1 V1 W0", kSmall, 0, 10},
                      FaultCase{"G41\nN40 G86 L4 B4 R1 U1 V1 W0", kSmall, 2, 11},  // only the markers
                      // Roughing turns inside out, finishing (corner radius 0) is still cut.
                      FaultCase{"N40 G86 L10 B10 R1.5 U2 V1 W0.5", kSmall, 11, 10},
                      FaultCase{"N40 G86 V0", kStep, 0, 0}, FaultCase{"N40 G88 V-1", kStep, 0, 0},
                      FaultCase{"N40 G87 V0", kStep, 0, 0},
                      FaultCase{"N40 G86 U1000000 V0.0001",
                                "Error in program line 40: too many depth steps, the pocket is left out", 0, 10}));

TEST(PocketG86, RefusedPocketLeavesTheCurrentPoint) {
  auto inst = RunProgramText("T1\nG00 X5 Y5 Z0\nN40 G86 V0\nG01 Z1", 1.5).Instance;
  EXPECT_TRUE(Near(inst->RawPathList.back().P1, {5, 5, 1}));
  EXPECT_TRUE(Near(inst->ContourList.back().P1, {5, 5, 1}));
}

}  // namespace
