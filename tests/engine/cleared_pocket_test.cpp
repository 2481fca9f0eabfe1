// The cleared pocket G87, driven through programs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/cycle_test_util.h"
#include "tests/engine/engine_test_util.h"
#include "tests/support/run_program.h"

namespace {

// Moves given relative to the anchor (10, 5).
void ExpectAnchoredMoves(const std::vector<TCncElement>& list, size_t at, const std::vector<Move>& moves, double z) {
  ExpectMoves(list, at, moves, 10, 5, z);
}

// A ring about the corner-arc centres (0, 0) .. (p, h) of radius q, from the top left.
std::vector<Move> Ring(double p, double h, double q) {
  return {{"G01", p, h + q}, {"G02", p + q, h, 0, -q}, {"G01", p + q, 0}, {"G02", p, -q, -q, 0},
          {"G01", 0, -q},    {"G02", -q, 0, 0, q},     {"G01", -q, h},    {"G02", 0, h + q, q, 0}};
}

std::vector<Move> Join(std::initializer_list<std::vector<Move>> parts) {
  std::vector<Move> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

// Pocket 40 x 30, corner radius 8, anchored at (10, 5); tool diameter 3, allowance 1,
// 5 deep in steps of 2. Roughing 38 x 28 with corner radius 7: two rings (5.5 and 2.5),
// three rectangles, the centre line.
const char* kPocket = "T1\nN10 G00 X10 Y5 Z0\nN20 G87 L40 B30 R8 U5 V2 W1";

const std::vector<Move> kLevel = Join({
    Ring(24, 14, 5.5),
    {{"G01", 0, 16.5}},
    Ring(24, 14, 2.5),
    {{"G01", 0, 13.5},
     {"G01", 24, 13.5},
     {"G01", 24, 0.5},
     {"G01", 0, 0.5},
     {"G01", 0, 13.5},
     {"G01", 0, 10.5},
     {"G01", 24, 10.5},
     {"G01", 24, 3.5},
     {"G01", 0, 3.5},
     {"G01", 0, 10.5},
     {"G01", 0, 7.5},
     {"G01", 24, 7.5},
     {"G01", 24, 6.5},
     {"G01", 0, 6.5},
     {"G01", 0, 7.5},
     {"G01", 0, 7},
     {"G01", 24, 7}},
});

TEST(ClearedPocket, LevelsRestLevelAndFinishingRing) {
  auto inst = RunProgramText(std::string(kPocket) + "\nN30 G01 Z1", 1.5).Instance;
  const auto path = OfLine(inst->RawPathList, 20);
  ASSERT_EQ(path.size(), 118u);
  const double levels[] = {-2, -4, -5};  // two full levels, then the rest level
  double above = 0;
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    ExpectAnchoredMoves(path, 36 * k, {{"G00", 0, 19.5}}, above);
    ExpectAnchoredMoves(path, 36 * k + 1, {{"G01", 0, 19.5}}, levels[k]);
    ExpectAnchoredMoves(path, 36 * k + 2, kLevel, levels[k]);
    above = levels[k];
  }
  ExpectAnchoredMoves(path, 108, Join({{{"G01", 0, 20.5}}, Ring(24, 14, 6.5)}), -5);
  ExpectAnchoredMoves(path, 117, {{"G00", 0, 20.5}}, 0);
  EXPECT_EQ(CountClosedOutlines(path), 7);
  EXPECT_EQ(ExpectArcsConsistent(inst->RawPathList), 28);
  EXPECT_EQ(inst->Messages.size(), 1u);
  // The current point moves to the finishing ring's start, in both lists.
  EXPECT_TRUE(Near(inst->RawPathList.back().P1, {10, 25.5, 1}));
  EXPECT_TRUE(Near(inst->ContourList.back().P1, {10, 25.5, 1}));
}

TEST(ClearedPocket, ContourIsTheOutlineWithItsDepthMark) {
  auto inst = RunProgramText(kPocket, 1.5).Instance;
  const auto contour = OfLine(inst->ContourList, 20);
  ASSERT_EQ(contour.size(), 12u);
  ExpectAnchoredMoves(contour, 0, {{"G00", 0, 22}}, 0);
  ExpectAnchoredMoves(contour, 1, {{"G01", 0, 22}}, -5);
  ExpectAnchoredMoves(contour, 2, Join({{{"G01", 0, 22}}, Ring(24, 14, 8), {{"G01", 0, 22}}}), 0);
  EXPECT_EQ(CountClosedOutlines(contour), 1);
  ExpectArcsConsistent(inst->ContourList);
}

TEST(ClearedPocket, QTurnsThePocketAboutTheAnchor) {
  auto plain = RunProgramText(std::string(kPocket) + " Q0\nN30 G01 Z1", 1.5).Instance;
  auto turned = RunProgramText(std::string(kPocket) + " Q90\nN30 G01 Z1", 1.5).Instance;
  for (auto lists :
       {std::pair{&plain->ContourList, &turned->ContourList}, std::pair{&plain->RawPathList, &turned->RawPathList}}) {
    const auto a = OfLine(*lists.first, 20), b = OfLine(*lists.second, 20);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
      // (x, y) about the anchor becomes (-y, x): the pocket extends upwards and to the left.
      const TPoint& p = a[i].P1;
      EXPECT_TRUE(Near(b[i].P1, {10 - (p.Y - 5), 5 + (p.X - 10), p.Z})) << i;
      EXPECT_TRUE(Near(b[i].P2, {-a[i].P2.Y, a[i].P2.X, 0})) << i;
    }
    ExpectArcsConsistent(*lists.second);
  }
  EXPECT_EQ(CountClosedOutlines(OfLine(turned->RawPathList, 20)), 7);
  // The next line goes on from the finishing ring's start in the pocket's own frame.
  EXPECT_TRUE(Near(turned->RawPathList.back().P1, {10, 25.5, 1}));
}

TEST(ClearedPocket, CornerNarrowerThanTheToolClearsWithRectanglesOnly) {
  // Tool diameter 5, roughing corner radius 2: no rings (k = 0).
  auto inst = RunProgramText("T1\nN10 G00 X10 Y5 Z0\nN20 G87 L30 B20 R3 U1 V1 W1", 2.5).Instance;
  const auto path = OfLine(inst->RawPathList, 20);
  ASSERT_EQ(path.size(), 24u);
  ExpectAnchoredMoves(path, 0, {{"G00", 0, 13.5}}, 0);
  ExpectAnchoredMoves(path, 1,
                      {{"G01", 0, 13.5},
                       {"G01", 0, 13.5},
                       {"G01", 24, 13.5},
                       {"G01", 24, 0.5},
                       {"G01", 0, 0.5},
                       {"G01", 0, 13.5},
                       {"G01", 0, 8.5},
                       {"G01", 24, 8.5},
                       {"G01", 24, 5.5},
                       {"G01", 0, 5.5},
                       {"G01", 0, 8.5},
                       {"G01", 0, 7},
                       {"G01", 24, 7},
                       {"G01", 0, 14.5}},
                      -1);
  ExpectAnchoredMoves(path, 15, Ring(24, 14, 0.5), -1);
  ExpectAnchoredMoves(path, 23, {{"G00", 0, 14.5}}, 0);
  EXPECT_EQ(CountClosedOutlines(path), 1);
  EXPECT_EQ(inst->Messages.size(), 1u);
}

TEST(ClearedPocket, FinishingRingIsCutWithoutAllowance) {
  auto inst = RunProgramText("T1\nN10 G00 X10 Y5 Z0\nN20 G87 L40 B30 R8 U2 V2 W0", 1.5).Instance;
  const auto path = OfLine(inst->RawPathList, 20);
  // One level: rings 6.5, 3.5, 0.5 (k = 3), then the finishing ring of radius 6.5.
  EXPECT_EQ(CountClosedOutlines(path), 4);
  ExpectAnchoredMoves(path, path.size() - 10, Join({{{"G01", 0, 20.5}}, Ring(24, 14, 6.5)}), -2);
  ExpectAnchoredMoves(path, path.size() - 1, {{"G00", 0, 20.5}}, 0);
}

struct G87FaultCase {
  const char* Cycle;  // on line 20 at the anchor (10, 5), tool 1
  double ToolRadius;
  std::vector<const char*> Messages;
  size_t Elements;
  int Rings;
};

class ClearedPocketFaultTest : public ::testing::TestWithParam<G87FaultCase> {};

TEST_P(ClearedPocketFaultTest, NoDegenerateMovesAndOneMessageEach) {
  const G87FaultCase& c = GetParam();
  auto inst = RunProgramText(std::string("T1\nN10 G00 X10 Y5 Z0\nN20 ") + c.Cycle, c.ToolRadius).Instance;
  ASSERT_EQ(inst->Messages.size(), 1 + c.Messages.size()) << c.Cycle << ": " << inst->Messages.back();
  for (const char* m : c.Messages) EXPECT_EQ(CountMessages(*inst, m), 1) << m;
  const auto path = OfLine(inst->RawPathList, 20);
  EXPECT_EQ(path.size(), c.Elements) << c.Cycle;
  EXPECT_EQ(CountClosedOutlines(path), c.Rings) << c.Cycle;
  if (c.Rings > 0) ExpectArcsConsistent(inst->RawPathList);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClearedPocketFaultTest,
    ::testing::Values(
        // Tool 0 (diameter 0): the levels are only plunged, the finishing ring is cut.
        G87FaultCase{"G87 L40 B30 R8 U5 V2 W1",
                     0.0,
                     {"Error in program line 20: tool diameter 0, the pocket levels are not cleared"},
                     16,
                     1},
        // Allowance larger than the corner radius: no clearing, the finishing ring stays.
        G87FaultCase{"G87 L40 B30 R2 U1 V1 W3", 1.5, {"Error in program line 20: pocket smaller than the tool"}, 12, 1},
        // Corner radius wider than the pocket: nothing but the plunge and the finishing start.
        G87FaultCase{"G87 L10 B30 R8 U1 V1 W0", 1.5, {"Error in program line 20: pocket smaller than the tool"}, 4, 0},
        // Corner radius equal to the tool's: the finishing ring keeps its edges, not its arcs.
        G87FaultCase{"G87 L40 B30 R1.5 U1 V1 W0",
                     1.5,
                     {"Error in program line 20: pocket ring with corner radius 0, its arcs are left out"},
                     35,
                     0},
        G87FaultCase{"G87 L100 B100 R40 U1 V1 W0",
                     0.0001,
                     {"Error in program line 20: too many moves for the pocket, it is left out"},
                     0,
                     0}));

TEST(ClearedPocket, CompensationMarkersInBothLists) {
  for (int side : {41, 42}) {
    auto inst = RunProgramText("G" + std::to_string(side) + "\n" + kPocket, 1.5).Instance;
    for (const TElementList* list : {&inst->ContourList, &inst->RawPathList}) {
      const auto cycle = OfLine(*list, 20);
      ASSERT_GT(cycle.size(), 2u);
      ExpectMove(cycle.front(), "G40", "Fräserradiuskorrektur aus", {});
      EXPECT_EQ(cycle.back().Code.View(), "G" + std::to_string(side));
      EXPECT_EQ(cycle.back().Text, "Fräserradiuskorrektur " + std::to_string(side));
    }
  }
}

}  // namespace
