// Drilling (G81/G79) and radial scale (G89), driven through programs.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>

#include "tests/engine/cycle_test_util.h"
#include "tests/engine/engine_test_util.h"
#include "tests/support/run_program.h"

namespace {

// --- drilling ---------------------------------------------------------------------------

TEST(DrillCycle, DefaultsDrillOnceAndRetract) {
  auto inst = RunProgramText("F200\nN30 X10 Y10 Z0 G79").Instance;
  const auto path = OfLine(inst->RawPathList, 30);
  ASSERT_EQ(path.size(), 3u);
  ExpectMove(path[0], "G00", "G79", {10, 10, 0});
  ExpectMove(path[1], "G01", "G79", {10, 10, -1});
  ExpectMove(path[2], "G00", "G79", {10, 10, 2});
  for (const auto& e : path) EXPECT_EQ(e.Line, 30);
}

TEST(DrillCycle, ContourShowsTheDrillAsACircle) {
  // Tool 1 has the default radius 10.
  auto inst = RunProgramText("F200\nT1\nG81 Z2 F200\nN20 X5 Y7 Z-1 G79").Instance;
  const auto contour = OfLine(inst->ContourList, 20);
  ASSERT_EQ(contour.size(), 3u);
  ExpectMove(contour[0], "G00", "G81 Kreis", {-5, 7, -1});
  ExpectMove(contour[1], "G02", "Kreisint G02", {15, 7, -1}, {10, 0, 0});
  ExpectMove(contour[2], "G02", "Kreisint G02", {-5, 7, -1}, {-10, 0, 0});
  EXPECT_EQ(ExpectArcsConsistent(inst->ContourList), 2);
}

TEST(DrillCycle, DepthInThreeStepsRetractsAfterEach) {
  auto inst = RunProgramText("F200\nG81 Z3 H3 B2 F200\nN20 X5 Y6 Z0 G79").Instance;
  const TG81Cycle& c = inst->DrillCycle;
  EXPECT_EQ(c.Steps, 3);
  EXPECT_DOUBLE_EQ(c.StepDepth, 1.0);
  const auto path = OfLine(inst->RawPathList, 20);
  ASSERT_EQ(path.size(), 7u);
  ExpectMove(path[0], "G00", "G79", {5, 6, 0});
  for (int k = 1; k <= 3; ++k) {
    ExpectMove(path[2 * k - 1], "G01", "G79", {5, 6, -1.0 * k});
    ExpectMove(path[2 * k], "G00", "G79", {5, 6, -1});  // start - depth + height
  }
}

TEST(DrillCycle, NoStepsGivesOnlyTheRapidMove) {
  auto inst = RunProgramText("F200\nG81 Z4 H0 F200\nN20 X1 Y1 Z0 G79").Instance;
  EXPECT_DOUBLE_EQ(inst->DrillCycle.StepDepth, 4.0);
  const auto path = OfLine(inst->RawPathList, 20);
  ASSERT_EQ(path.size(), 1u);
  ExpectMove(path[0], "G00", "G79", {1, 1, 0});
}

// The step count is H rounded to the nearest whole number, halves to the even one.
TEST(DrillCycle, StepsAreHRoundedHalfToEven) {
  const struct {
    const char* H;
    int Plunges;
  } cases[] = {{"H2.5", 2}, {"H3.5", 4}, {"H2.6", 3}, {"H1.4", 1}, {"H0.5", 0}, {"H-0.5", 0}};
  for (const auto& c : cases) {
    auto inst = RunProgramText(std::string("F200\nG81 Z3 F200 ") + c.H + "\nN20 X5 Y6 Z0 G79").Instance;
    int plunges = 0;
    for (const TCncElement& e : OfLine(inst->RawPathList, 20)) plunges += e.Code == TCode("G01");
    EXPECT_EQ(plunges, c.Plunges) << c.H;
  }
}

TEST(DrillCycle, OtherFeedIsSetAndRestoredWithItsTexts) {
  auto inst = RunProgramText("F600\nG81 Z1 H1 F150\nN20 X2 Y3 Z0 G79").Instance;
  const auto path = OfLine(inst->RawPathList, 20);
  ASSERT_EQ(path.size(), 5u);
  EXPECT_EQ(path[1].Code.View(), "F0X");
  EXPECT_STREQ(path[1].Text, "Setze G81 Vorschub F 150");
  EXPECT_EQ(path[1].FeedValue(), 150);
  EXPECT_EQ(path[2].Code.View(), "G01");
  EXPECT_STREQ(path[4].Text, "Setze G01-Vorschub F 600");
  EXPECT_EQ(path[4].FeedValue(), 600);
  // The contour restores the feed after its circle too, without setting the cycle feed.
  const auto contour = OfLine(inst->ContourList, 20);
  ASSERT_EQ(contour.size(), 4u);
  EXPECT_STREQ(contour[3].Text, "Setze G01-Vorschub F 600");
  for (const auto& e : path) EXPECT_EQ(e.Line, 20);
}

TEST(DrillCycle, FeedTextsKeepWideFeedsWhole) {
  auto inst = RunProgramText("F12345\nG81 Z1 H1 F7\nN20 G79").Instance;
  const auto path = OfLine(inst->RawPathList, 20);
  ASSERT_EQ(path.size(), 5u);
  EXPECT_STREQ(path[1].Text, "Setze G81 Vorschub F   7");
  EXPECT_STREQ(path[4].Text, "Setze G01-Vorschub F12345");
}

TEST(DrillCycle, DrillingLeavesTheCurrentPointAtTheHole) {
  auto inst = RunProgramText("F200\nG81 Z2 H2\nN20 X4 Y5 Z1 G79\nN30 G01 X6").Instance;
  for (const TElementList* list : {&inst->ContourList, &inst->RawPathList})
    EXPECT_TRUE(Near(list->back().P1, {6, 5, 1}));
}

TEST(DrillCycle, StepCountOutOfRangeEndsTheLineButNotTheDepthWord) {
  for (const char* h : {"H70000", "H-1"}) {
    auto inst = RunProgramText(std::string("G01 Z2\nG81 Z-3 N10 ") + h + "\nG01 X1").Instance;
    EXPECT_EQ(CountMessages(*inst, "ErrorNr 25, in program line: 10:  Range check error"), 2) << h;
    EXPECT_TRUE(Near(inst->RawPathList.back().P1, {1, 0, 2})) << h;
    EXPECT_EQ(inst->DrillCycle.Steps, 1) << h;  // the old definition stays
  }
}

// --- radial scale -----------------------------------------------------------------------

TPoint Polar(double cx, double cy, double r, double degrees, double z) {
  const double a = degrees * std::numbers::pi / 180.0;
  return {cx + r * std::cos(a), cy + r * std::sin(a), z};
}

void ExpectStroke(const std::vector<TCncElement>& list, size_t at, double degrees, double r1, double r2, double depth,
                  double top) {
  ASSERT_LE(at + 4, list.size());
  ExpectMove(list[at], "G00", "Line G00", Polar(10, 20, r1, degrees, top));
  ExpectMove(list[at + 1], "G01", "Line G01", Polar(10, 20, r1, degrees, depth));
  ExpectMove(list[at + 2], "G01", "Line G01", Polar(10, 20, r2, degrees, depth));
  ExpectMove(list[at + 3], "G00", "Line G00", Polar(10, 20, r2, degrees, top));
}

const char* kScale = "N50 G00 X10 Y20 Z1\nN60 G89 C3 D2 Q90 W0 R10 L5 U1 B12 V2 E0.5\nN70 G01 Z3";

TEST(ScaleCycle, MainAndSubdivisionStrokesInBothLists) {
  auto inst = RunProgramText(kScale).Instance;
  for (const TElementList* list : {&inst->ContourList, &inst->RawPathList}) {
    const auto scale = OfLine(*list, 60);
    ASSERT_EQ(scale.size(), 20u);
    ExpectStroke(scale, 0, 90, 10, 15, 0, 1);
    ExpectStroke(scale, 4, 67.5, 12, 14, 0.5, 1);
    ExpectStroke(scale, 8, 45, 10, 15, 0, 1);
    ExpectStroke(scale, 12, 22.5, 12, 14, 0.5, 1);
    ExpectStroke(scale, 16, 0, 10, 15, 0, 1);
    // The current point ends at the outer end of the last main stroke.
    EXPECT_TRUE(Near(list->back().P1, {25, 20, 3}));
  }
  EXPECT_EQ(inst->Messages.size(), 1u);
}

struct ScaleCountCase {
  const char* Words;
  size_t Elements;
  TPoint After;  // current point after the line, seen by a following G01 Z3
};

class ScaleCountTest : public ::testing::TestWithParam<ScaleCountCase> {};

TEST_P(ScaleCountTest, StrokeCountsAndEndPoint) {
  const ScaleCountCase& c = GetParam();
  auto inst =
      RunProgramText(std::string("N50 G00 X10 Y20 Z1\nN60 G89 R10 L5 U1 B12 V2 ") + c.Words + "\nN70 G01 Z3").Instance;
  EXPECT_EQ(OfLine(inst->RawPathList, 60).size(), c.Elements) << c.Words;
  EXPECT_TRUE(Near(inst->RawPathList.back().P1, c.After)) << c.Words;
}

INSTANTIATE_TEST_SUITE_P(Counts, ScaleCountTest,
                         ::testing::Values(ScaleCountCase{"C3 D1 Q90 W0", 12, {25, 20, 3}},  // main strokes only
                                           ScaleCountCase{"C0 D1 Q90 W0", 0, {10, 20, 3}},   // none: the centre stays
                                           ScaleCountCase{"C-4 D3 Q90 W0", 0, {10, 20, 3}},
                                           ScaleCountCase{"C2 D-2 Q0 W180", 8, {-5, 20, 3}},   // no subdivision
                                           ScaleCountCase{"C2 D4 Q0 W90", 20, {10, 35, 3}}));  // counter-clockwise

TEST(ScaleCycle, CountOneOrDivisionZeroEndsTheLine) {
  struct Case {
    const char* Words;
    const char* Message;
  };
  for (const Case& c : {Case{"C1 D2 Q90 W0", "ErrorNr 25, in program line: 60:  Floating point division by zero"},
                        Case{"C1 D2 Q45 W45", "ErrorNr 25, in program line: 60:  Invalid floating point operation"},
                        Case{"C3 D0 Q90 W0", "ErrorNr 25, in program line: 60:  Floating point division by zero"}}) {
    auto inst =
        RunProgramText(std::string("G41\nN50 G00 X10 Y20 Z1\nN60 G89 ") + c.Words + " M03\nN70 G01 Z3").Instance;
    EXPECT_EQ(CountMessages(*inst, c.Message), 2) << c.Words;
    // Nothing of the line is left, not even the G40 marker or the M03 after the cycle.
    EXPECT_TRUE(OfLine(inst->RawPathList, 60).empty()) << c.Words;
    EXPECT_TRUE(Near(inst->RawPathList.back().P1, {10, 20, 3})) << c.Words;
  }
}

TEST(ScaleCycle, CompensationMarkersFrameTheScale) {
  for (int side : {41, 42}) {
    auto inst = RunProgramText("G" + std::to_string(side) + "\n" + kScale).Instance;
    for (const TElementList* list : {&inst->ContourList, &inst->RawPathList}) {
      const auto scale = OfLine(*list, 60);
      ASSERT_EQ(scale.size(), 22u);
      ExpectMove(scale.front(), "G40", "Fräserradiuskorrektur aus", {});
      const std::string resume = "Fräserradiuskorrektur " + std::to_string(side);
      EXPECT_EQ(scale.back().Code.View(), "G" + std::to_string(side));
      EXPECT_EQ(scale.back().Text, resume);
    }
  }
}

TEST(ScaleCycle, HugeCountsAreRefused) {
  auto inst = RunProgramText("N60 G89 C2 D100000 Q0 W90\nN70 G89 C100001 D1\nN80 G89 C2 D99999 Q0 W90").Instance;
  EXPECT_EQ(CountMessages(*inst, "Error in program line 60: more than 100000 scale strokes, the scale is left out"), 2);
  EXPECT_EQ(CountMessages(*inst, "Error in program line 70: more than 100000 scale strokes, the scale is left out"), 2);
  EXPECT_TRUE(OfLine(inst->RawPathList, 60).empty());
  EXPECT_TRUE(OfLine(inst->RawPathList, 70).empty());
  EXPECT_EQ(OfLine(inst->RawPathList, 80).size(), 400000u);  // exactly 100000 strokes
}

// --- example programs -------------------------------------------------------------------

TEST(CycleExamples, RunWithoutErrors) {
  for (const char* name : {"drill.cnc", "pocket.cnc", "scale.cnc", "cleared_pocket.cnc"}) {
    const std::filesystem::path file = std::filesystem::path(VELQUOR_SOURCE_DIR) / "examples" / name;
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    auto inst = std::make_unique<TCncInstance>(1, file.string(), "");
    // The tools the examples name: 6 mm end mill, 3 mm drill, 1 mm engraving cutter.
    inst->ToolRadius[1] = 3.0;
    inst->ToolRadius[2] = 1.5;
    inst->ToolRadius[3] = 0.5;
    ASSERT_GT(inst->Load(), 0) << name;
    RunInstance(*inst, TPoint{});
    for (const std::string& m : inst->Messages) EXPECT_EQ(m.find("rror"), std::string::npos) << name << ": " << m;
    EXPECT_GT(inst->RawPathList.size(), 10u) << name;
    ExpectArcsConsistent(inst->RawPathList);
  }
}

}  // namespace
