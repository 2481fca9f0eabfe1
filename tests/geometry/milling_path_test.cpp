#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/cnc_api.h"
#include "geometry/milling_path.h"
#include "tests/support/run_program.h"

namespace {

TPoint Pt(double x, double y, double z = 0.0) { return TPoint{x, y, z}; }

std::array<double, 256> Radii(double r1) {
  std::array<double, 256> r{};
  r[1] = r1;
  return r;
}

void ExpectAt(const TCncElement& e, const char* code, const char* text, double x, double y) {
  EXPECT_EQ(e.Code.View(), code) << e.Text;
  EXPECT_STREQ(e.Text, text);
  EXPECT_NEAR(e.P1.X, x, 1e-9) << e.Text;
  EXPECT_NEAR(e.P1.Y, y, 1e-9) << e.Text;
}

std::vector<std::string> Codes(const TElementList& list) {
  std::vector<std::string> out;
  for (const TCncElement& e : list) out.emplace_back(e.Code.View());
  return out;
}

bool Contains(const TMessageList& messages, const std::string& m) {
  for (const std::string& x : messages)
    if (x == m) return true;
  return false;
}

TEST(ComputeMillingPath, EmptyListIsReported) {
  TElementList path;
  TMessageList messages;
  EXPECT_EQ(ComputeMillingPath({}, path, Radii(1), Pt(0, 0), messages), -5);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Error -5 no program code in Pre-command buffer available");
  EXPECT_TRUE(path.empty());
}

TEST(ComputeMillingPath, NonMovesAreCopiedInPlace) {
  const TElementList raw = {MakeElement(1, "Spindl on", "M03"), MakeValueElement(2, "Set tool Tx", "T", 3),
                            MakeValueElement(3, "Set feed 100", "F0X", 100), MakeElement(4, "Program end", "M30")};
  TElementList path;
  TMessageList messages;
  EXPECT_EQ(ComputeMillingPath(raw, path, Radii(1), Pt(0, 0), messages), 0);
  ASSERT_EQ(path.size(), raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    EXPECT_EQ(path[i].Code, raw[i].Code);
    EXPECT_EQ(path[i].Line, raw[i].Line);
    EXPECT_EQ(path[i].Value, raw[i].Value);
    EXPECT_STREQ(path[i].Text, raw[i].Text);
  }
  EXPECT_TRUE(messages.empty());
}

TEST(ComputeMillingPath, CompensationOffRepeatsTheMoves) {
  const TProgramRunResult r = RunProgramText(
      "N10 G00 X5 Y5 Z2\nN20 G01 X15 Y5 Z-1\nN30 G02 X25 Y5 I5 J0\nN40 G03 X35 Y5 I5 J0\nN50 G01 X35 Y0\n"
      "N60 G00 X0 Y0\n",
      2);
  ASSERT_EQ(r.Result, 0);
  const TElementList& p = r.Path();
  ASSERT_EQ(p.size(), 6u);
  ExpectAt(p[0], "G00", "Fahre G01", 5, 5);
  EXPECT_EQ(p[0].P1.Z, 2);
  ExpectAt(p[1], "G01", "Fahre G01", 15, 5);
  EXPECT_EQ(p[1].P1.Z, -1);
  ExpectAt(p[2], "G02", "Fahre G02", 25, 5);
  EXPECT_NEAR(p[2].P2.X, 5, 1e-12);
  EXPECT_NEAR(p[2].P2.Y, 0, 1e-12);
  ExpectAt(p[3], "G03", "Fahre G03", 35, 5);
  ExpectAt(p[4], "G01", "Fahre G01", 35, 0);
  ExpectAt(p[5], "G00", "Fahre G01", 0, 0);
  for (size_t i = 0; i < p.size(); ++i) EXPECT_EQ(p[i].Line, 10 * static_cast<int>(i + 1));
}

// The square (0,0) (10,0) (10,10) (0,10) under G41 with a tool of radius 2.
TEST(ComputeMillingPath, CounterClockwiseSquareLeftHasOnlyInnerCorners) {
  const TProgramRunResult r = RunProgramText("T1\nG41\nG01 X10 Y0\nG01 X10 Y10\nG01 X0 Y10\nG01 X0 Y0\n", 2);
  ASSERT_EQ(r.Result, 0);
  const TElementList& p = r.Path();
  EXPECT_EQ(Codes(p), (std::vector<std::string>{"T", "G41", "G01", "G01", "G01", "G01"}));
  ExpectAt(p[2], "G01", "Fahre G01", 8, 2);
  ExpectAt(p[3], "G01", "Fahre G01", 8, 8);
  ExpectAt(p[4], "G01", "Fahre G01", 2, 8);
  ExpectAt(p[5], "G01", "Fahre G01", 2, 0);  // the last move ends at its own offset end
}

TEST(ComputeMillingPath, ClockwiseSquareLeftGetsRoundingArcs) {
  const TProgramRunResult r = RunProgramText("T1\nG41\nN1 G01 X0 Y10\nN2 G01 X10 Y10\nN3 G01 X10 Y0\nN4 G01 X0 Y0\n",
                                             2);
  ASSERT_EQ(r.Result, 0);
  const TElementList& p = r.Path();
  EXPECT_EQ(Codes(p), (std::vector<std::string>{"T", "G41", "G01", "G02", "G01", "G02", "G01", "G02", "G01"}));
  ExpectAt(p[2], "G01", "Fahre G01", -2, 10);
  ExpectAt(p[3], "G02", "Fahre G02", 0, 12);
  EXPECT_EQ(p[3].Line, 1);
  EXPECT_NEAR(p[3].P2.X, 2, 1e-12);  // centre: the programmed corner
  EXPECT_NEAR(p[3].P2.Y, 0, 1e-12);
  ExpectAt(p[4], "G01", "Fahre G01", 10, 12);
  ExpectAt(p[5], "G02", "Fahre G02", 12, 10);
  ExpectAt(p[6], "G01", "Fahre G01", 12, 0);
  ExpectAt(p[7], "G02", "Fahre G02", 10, -2);
  ExpectAt(p[8], "G01", "Fahre G01", 0, -2);
}

TEST(ComputeMillingPath, RightSideRoundingArcsAreCounterClockwise) {
  const TProgramRunResult r = RunProgramText("T1\nG42\nG01 X10 Y0\nG01 X10 Y10\n", 1);
  ASSERT_EQ(r.Result, 0);
  const TElementList& p = r.Path();
  ASSERT_EQ(p.size(), 5u);
  ExpectAt(p[2], "G01", "Fahre G01", 10, -1);
  ExpectAt(p[3], "G03", "Fahre G03", 11, 0);
  ExpectAt(p[4], "G01", "Fahre G01", 11, 10);
}

TEST(ComputeMillingPath, ShortRoundingArcsAreLeftOut) {
  // A right turn of a few hundredths of a degree: the rounding arc is shorter than 0.02.
  const TProgramRunResult flat = RunProgramText("T1\nG41\nG01 X10 Y0\nG01 X20 Y-0.001\n", 2);
  ASSERT_EQ(flat.Result, 0);
  EXPECT_EQ(Codes(flat.Path()), (std::vector<std::string>{"T", "G41", "G01", "G01"}));
  ExpectAt(flat.Path()[2], "G01", "Fahre G01", 10, 2);
  // Ten times the turn makes an arc of about 0.004 x 0.04: it stays.
  const TProgramRunResult turned = RunProgramText("T1\nG41\nG01 X10 Y0\nG01 X20 Y-0.2\n", 2);
  EXPECT_EQ(Codes(turned.Path()), (std::vector<std::string>{"T", "G41", "G01", "G02", "G01"}));
}

// Which pairs leave out a rounding arc shorter than 0.02 in x and y. Every corner is a sharp
// right turn at (10,0) under G41, an outer corner: with a tool of radius 1 each pair rounds
// it; with radius 0.005 only the pairs without the 0.02 test still do.
TEST(ComputeMillingPath, OnlySomePairsLeaveShortRoundingArcsOut) {
  const struct {
    const char* Pair;
    const char* Moves;  // N5 is the move into the corner
    bool ShortArcKept;
  } cases[] = {
      {"G01-G01", "N5 G01 X10 Y0\nG01 X10 Y-10", false},
      {"G01-G02", "N5 G01 X10 Y0\nG02 X0 Y0 I-5 J5", false},
      {"G01-G03", "N5 G01 X10 Y0\nG03 X15 Y-5 I5 J0", true},
      {"G02-G01", "G01 X5 Y-5\nN5 G02 X10 Y0 I5 J0\nG01 X10 Y-10", false},
      {"G03-G01", "G01 X5 Y5\nN5 G03 X10 Y0 I5 J0\nG01 X10 Y-10", true},
      {"G02-G02", "G01 X5 Y-5\nN5 G02 X10 Y0 I5 J0\nG02 X5 Y-5 I-5 J0", true},
      {"G02-G03", "G01 X5 Y-5\nN5 G02 X10 Y0 I5 J0\nG03 X15 Y-5 I5 J0", false},
      {"G03-G03", "G01 X5 Y5\nN5 G03 X10 Y0 I5 J0\nG03 X15 Y-5 I5 J0", true},
      {"G03-G02", "G01 X5 Y5\nN5 G03 X10 Y0 I5 J0\nG02 X5 Y-5 I-5 J0", true},
  };
  const auto elementsOfN5 = [](const TProgramRunResult& r) {
    int n = 0;
    for (const TCncElement& e : r.Path()) n += e.Line == 5;
    return n;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Pair);
    const std::string program = std::string("T1\nG41\n") + c.Moves;
    const TProgramRunResult wide = RunProgramText(program, 1);
    ASSERT_EQ(wide.Result, 0);
    EXPECT_EQ(elementsOfN5(wide), 2) << "the corner is an outer one";
    const TProgramRunResult narrow = RunProgramText(program, 0.005);
    ASSERT_EQ(narrow.Result, 0);
    EXPECT_EQ(elementsOfN5(narrow), c.ShortArcKept ? 2 : 1);
  }
}

// A reversal is an outer corner on both sides; its rounding arc spans 2R across the move,
// exactly 0.02 for R = 0.01, which is not shorter than 0.02.
TEST(ComputeMillingPath, ReversalKeepsARoundingArcOfExactlyTheShortLength) {
  for (const bool left : {true, false}) {
    for (const double R : {0.01, 0.009}) {
      SCOPED_TRACE(std::string(left ? "G41 " : "G42 ") + std::to_string(R));
      const TProgramRunResult r = RunProgramText(
          std::string("T1\n") + (left ? "G41" : "G42") + "\nG01 X10 Y0\nG01 X0 Y0", R);
      ASSERT_EQ(r.Result, 0);
      if (R == 0.009) {
        EXPECT_EQ(Codes(r.Path()), (std::vector<std::string>{"T", left ? "G41" : "G42", "G01", "G01"}));
        continue;
      }
      ASSERT_EQ(r.Path().size(), 5u);
      ExpectAt(r.Path()[2], "G01", "Fahre G01", 10, left ? R : -R);
      ExpectAt(r.Path()[3], left ? "G02" : "G03", left ? "Fahre G02" : "Fahre G03", 10, left ? -R : R);
    }
  }
}

TEST(ComputeMillingPath, VerticalMovesStayAtTheCompensatedPoint) {
  const TProgramRunResult r = RunProgramText(
      "T1\nG41\nN1 G01 X10 Y0\nN2 G01 Z-2\nN3 G01 X20 Y0\nN4 G00 Z5\nN5 G00 Z6\n", 2);
  ASSERT_EQ(r.Result, 0);
  const TElementList& p = r.Path();
  EXPECT_EQ(Codes(p), (std::vector<std::string>{"T", "G41", "G01", "G01", "G01", "G00", "G00"}));
  ExpectAt(p[2], "G01", "Fahre G01", 10, 2);  // straight on past the z move
  ExpectAt(p[3], "G01", "Fahre G01 nach oben/unten", 10, 2);
  EXPECT_EQ(p[3].P1.Z, -2);
  ExpectAt(p[4], "G01", "Fahre G01", 20, 2);
  EXPECT_EQ(p[4].P1.Z, -2);
  ExpectAt(p[5], "G00", "Fahre G01 nach oben/unten", 20, 2);
  EXPECT_EQ(p[5].P1.Z, 5);
  ExpectAt(p[6], "G00", "Fahre G01 nach oben/unten", 20, 2);
  EXPECT_EQ(p[6].P1.Z, 6);
}

TEST(ComputeMillingPath, LastMoves) {
  // A last rapid is never offset; a last arc ends radially offset, outside a G02 on the left.
  const TProgramRunResult rapid = RunProgramText("T1\nG41\nG01 X10 Y0\nG00 X20 Y0\n", 2);
  ExpectAt(rapid.Path().back(), "G00", "Fahre G01", 20, 0);
  const TProgramRunResult arc = RunProgramText("T1\nG41\nG02 X10 Y0 I5 J0\n", 1);
  ASSERT_EQ(arc.Result, 0);
  ExpectAt(arc.Path().back(), "G02", "Fahre G02", 11, 0);
  EXPECT_NEAR(arc.Path().back().P2.X, 5, 1e-12);  // from the start (0,0), not offset by the last rapid
  const TProgramRunResult inside = RunProgramText("T1\nG41\nG03 X10 Y0 I5 J0\n", 1);
  ExpectAt(inside.Path().back(), "G03", "Fahre G03", 9, 0);
  const TProgramRunResult off = RunProgramText("G03 X10 Y0 I5 J0\n", 1);
  ExpectAt(off.Path().back(), "G03", "Fahre G03", 10, 0);
}

TEST(ComputeMillingPath, RapidBeforeCompensationEndsOnTheProgrammedPoint) {
  const TProgramRunResult r = RunProgramText("T1\nG00 X5 Y5\nG41\nG01 X5 Y0\nG01 X10 Y0\nG01 X10 Y5\n", 1);
  ASSERT_EQ(r.Result, 0);
  const TElementList& p = r.Path();
  EXPECT_EQ(Codes(p), (std::vector<std::string>{"T", "G00", "G41", "G01", "G01", "G01"}));
  ExpectAt(p[1], "G00", "Fahre G00", 5, 5);  // R is still 0 ahead of G41
  ExpectAt(p[3], "G01", "Fahre G01", 6, 1);  // the lead-in ends on both offsets
  ExpectAt(p[4], "G01", "Fahre G01", 9, 1);
  ExpectAt(p[5], "G01", "Fahre G01", 9, 5);
}

TEST(ComputeMillingPath, RapidAfterCompensatedMovesIsOffsetByTheCurrentRadius) {
  const TProgramRunResult r = RunProgramText("T1\nG41\nG01 X10 Y0\nG00 X10 Y10\nG01 X0 Y10\n", 1);
  ASSERT_EQ(r.Result, 0);
  const TElementList& p = r.Path();
  ExpectAt(p[2], "G01", "Fahre G01", 10, 1);  // G01-G00: the normal of its own move
  ExpectAt(p[3], "G00", "Fahre G00", 10, 9);  // G00-G01: the normal of the next move
}

// A rapid move and an arc meet on the arc's offset circle, radially through the corner
// (10,0): outside a clockwise arc, inside a counter-clockwise one under G41 with R = 1.
TEST(ComputeMillingPath, RapidsAndArcsMeetOnTheOffsetCircle) {
  const struct {
    const char* Moves;  // N5 is the move into the corner
    const char* Code;
    const char* Text;
    double X, Y;  // where the path of N5 ends
  } cases[] = {
      {"N5 G00 X10 Y0\nG02 X15 Y-5 I5 J0", "G00", "Fahre G01", 9, 0},
      {"N5 G00 X10 Y0\nG03 X15 Y-5 I5 J0", "G00", "Fahre G01", 11, 0},
      {"G01 X5 Y-5\nN5 G02 X10 Y0 I5 J0\nG00 X20 Y0", "G02", "Fahre G02", 10, 1},
      {"G01 X5 Y5\nN5 G03 X10 Y0 I5 J0\nG00 X20 Y0", "G03", "Fahre G03", 10, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Moves);
    const TProgramRunResult r = RunProgramText(std::string("T1\nG41\n") + c.Moves, 1);
    ASSERT_EQ(r.Result, 0);
    const TCncElement* end = nullptr;
    for (const TCncElement& e : r.Path())
      if (e.Line == 5) end = &e;
    ASSERT_NE(end, nullptr);
    ExpectAt(*end, c.Code, c.Text, c.X, c.Y);
  }
}

TEST(ComputeMillingPath, ToolNumbersAboveTheTableKeepTheTool) {
  const TProgramRunResult r = RunProgramText("T1\nG41\nN70 T300\nG01 X10 Y0\nG01 X10 Y10\n", 2);
  ASSERT_EQ(r.Result, 0);
  EXPECT_TRUE(Contains(r.Messages(), "Unknown tool name in program line 70"));
  ExpectAt(r.Path()[3], "G01", "Fahre G01", 8, 2);  // still radius 2
  // Nor does a negative number wrap round into the table.
  const TProgramRunResult negative = RunProgramText("T1\nG41\nN80 T-1\nG01 X10 Y0\nG01 X10 Y10\n", 2);
  EXPECT_TRUE(Contains(negative.Messages(), "Unknown tool name in program line 80"));
  ExpectAt(negative.Path()[3], "G01", "Fahre G01", 8, 2);
  // A tool change under compensation switches the radius at once.
  const TProgramRunResult changed = RunProgramText("T1\nG41\nT0\nG01 X10 Y0\nG01 X10 Y10\n", 2);
  ExpectAt(changed.Path()[3], "G01", "Fahre G01", 10, 0);
}

TEST(ComputeMillingPath, StoppingErrorKeepsThePathUpToTheFailingLine) {
  // A tool of radius 1 inside a counter-clockwise arc of radius 0.5: no joint point.
  const TProgramRunResult r = RunProgramText(
      "T1\nG41\nN10 G01 X5 Y0\nN20 G01 X10 Y0\nN30 G03 X10.6 Y0.8 I0.3 J0.4\nN40 G01 X20 Y20\nM30\n", 1);
  EXPECT_EQ(r.Result, 12);
  ASSERT_FALSE(r.Messages().empty());
  EXPECT_EQ(r.Messages().back(), "ErrorNr 12, in program line: 20 G01-G03 resp. G00 G03, no intersection point");
  EXPECT_EQ(Codes(r.Path()), (std::vector<std::string>{"T", "G41", "G01"}));
  EXPECT_EQ(Codes(r.Contour()), (std::vector<std::string>{"T", "G41", "G01", "G01", "G03", "G01", "M30"}));
}

TEST(ComputeMillingPath, WarningsGoOn) {
  // A tool of radius 1 right of the line, inside a clockwise arc of radius 0.5.
  const TProgramRunResult into = RunProgramText(
      "T1\nG42\nN10 G01 X10 Y0\nN20 G02 X9.4 Y-0.8 I-0.3 J-0.4\nN30 G01 X0 Y-10\n", 1);
  EXPECT_EQ(into.Result, 0);
  EXPECT_TRUE(
      Contains(into.Messages(), "ErrorNr 11, in program line: 10 G01-G02 resp. G00 G02, have no intersection point"));
  EXPECT_EQ(Codes(into.Path()), (std::vector<std::string>{"T", "G42", "G01", "G02", "G01"}));
  ExpectAt(into.Path()[2], "G01", "Fahre G01", 10, -1);  // the offset end of the line
  // The same small arc ending at (10,0) and a line on along x.
  const TProgramRunResult out = RunProgramText("T1\nN5 G00 X9.2 Y-0.4\nG42\nN20 G02 X10 Y0 I0.5 J0\nN30 G01 X20 Y0\n",
                                               1);
  EXPECT_EQ(out.Result, 0);
  EXPECT_TRUE(Contains(out.Messages(), "ErrorNr 13, in program line: 20 G02-G01 resp. G02 G00, no intersection point"));
  ExpectAt(out.Path().back(), "G01", "Fahre G01", 20, -1);
}

TEST(ComputeMillingPath, CompensationOffRoundsArcCornersWithRadiusZero) {
  // Two clockwise arcs whose radius vectors are a quarter turn apart at (5,5).
  const TProgramRunResult r = RunProgramText("G00 X-5 Y5\nN1 G02 X5 Y5 I5 J-5\nN2 G02 X15 Y5 I5 J-5\n", 0);
  ASSERT_EQ(r.Result, 0);
  const TElementList& p = r.Path();
  ASSERT_EQ(p.size(), 4u);
  ExpectAt(p[1], "G02", "Fahre G02", 5, 5);
  ExpectAt(p[2], "G03", "Fahre G03", 5, 5);
  EXPECT_EQ(p[2].P2.X, 0);
  EXPECT_EQ(p[2].P2.Y, 0);
  ExpectAt(p[3], "G02", "Fahre G02", 15, 5);
}

TEST(ComputeMillingPath, OtherCodesHandledAsMovesAppendOnlyVerticalLines) {
  const TElementList raw = {MakeElement(1, "Line G01", "G01", Pt(10, 0)), MakeElement(2, "odd", "G17", Pt(10, 0, 4)),
                            MakeElement(3, "odd", "G18", Pt(3, 3, 4)), MakeElement(4, "Line G01", "G01", Pt(10, 10))};
  TElementList path;
  TMessageList messages;
  EXPECT_EQ(ComputeMillingPath(raw, path, Radii(1), Pt(0, 0), messages), 0);
  EXPECT_EQ(Codes(path), (std::vector<std::string>{"G01", "G17", "G01"}));
  EXPECT_STREQ(path[1].Text, "Fahre G01 nach oben/unten");
  ExpectAt(path[2], "G01", "Fahre G01", 10, 10);
}

TEST(FindNextMove, PassesNonMovesAndMovesThatStayInPlace) {
  const TElementList raw = {MakeElement(1, "", "G01", Pt(10, 0)),     MakeElement(2, "", "M03"),
                            MakeElement(3, "", "G01", Pt(10, 0, -3)), MakeElement(4, "", "G42"),
                            MakeElement(5, "", "G54", Pt(7, 7)),      MakeElement(6, "", "G02", Pt(10, 0)),
                            MakeElement(7, "", "G00", Pt(10, 1)),     MakeElement(8, "", "G40")};
  const TNextMove a = FindNextMove(raw, 1, Pt(10, 0), TCompensationSide::Left);
  EXPECT_EQ(a.Position, 6);
  EXPECT_EQ(a.ModeAhead, TCompensationSide::Right);
  EXPECT_EQ(a.ModeSetAt, 3);
  const TNextMove b = FindNextMove(raw, 4, Pt(10, 0), TCompensationSide::Left);
  EXPECT_EQ(b.Position, 6);
  EXPECT_EQ(b.ModeAhead, TCompensationSide::Left);
  const TNextMove none = FindNextMove(raw, 7, Pt(10, 1), TCompensationSide::Right);
  EXPECT_EQ(none.Position, -1);
  EXPECT_EQ(none.ModeAhead, TCompensationSide::Off);
  EXPECT_EQ(FindNextMove(raw, 99, Pt(0, 0), TCompensationSide::Left).Position, -1);
  EXPECT_TRUE(DiffersXY(Pt(0, 0, 1), Pt(0, 1e-300, 1)));
  EXPECT_FALSE(DiffersXY(Pt(2, 3, 1), Pt(2, 3, -1)));
}

// G40 to G42 set the side; codes that only look alike set nothing.
TEST(CompensationSideOf, ReadsG40ToG42Only) {
  const std::pair<TCode, std::optional<TCompensationSide>> cases[] = {{"G40", TCompensationSide::Off},
                                                                      {"G41", TCompensationSide::Left},
                                                                      {"G42", TCompensationSide::Right},
                                                                      {"G43", std::nullopt},
                                                                      {"G4", std::nullopt},
                                                                      {"M41", std::nullopt},
                                                                      {"G01", std::nullopt},
                                                                      {"T", std::nullopt}};
  for (const auto& [code, side] : cases) EXPECT_EQ(CompensationSideOf(code), side) << code.View();
}

TEST(ComputeMillingPath, LongStretchesInPlaceKeepTheirModes) {
  // Full circles back to their start point are passed over by the look-ahead; a mode change
  // among them still reaches the move after them.
  std::string program = "T1\nG01 X10 Y0\n";
  for (int i = 0; i < 2000; ++i) program += "G02 X10 Y0 I5 J0\nG01 Z-1\n";
  program += "G41\nG01 X20 Y0\nG01 X20 Y10\n";
  const TProgramRunResult r = RunProgramText(program, 1);
  ASSERT_EQ(r.Result, 0);
  const TElementList& p = r.Path();
  // The move before G41 ends on the programmed point (R is 0 until then); the first
  // compensated move ends on the left offset of the corner at (20,0).
  const TCncElement& lead = p[p.size() - 2];
  ExpectAt(lead, "G01", "Fahre G01", 19, 1);
  ExpectAt(p.back(), "G01", "Fahre G01", 19, 10);
}

TEST(CncInterface, PathAfterStopAndFullContour) {
  const std::string file = testing::TempDir() + "milling_path_stop.cnc";
  {
    std::ofstream out(file);
    out << "T1\nG41\nN10 G01 X10 Y0\nN20 G03 X10.6 Y0.8 I0.3 J0.4\nN30 G01 X20 Y20\n";
  }
  int32_t handle = 0;
  ASSERT_GT(CncOpen(file.c_str(), &handle), 0);
  ASSERT_EQ(CncSetToolRadius(handle, 1, 1000), 0);
  const TCncPoint start{0, 0, 0};
  EXPECT_EQ(CncRun(handle, &start), 12);
  EXPECT_EQ(CncGetCount(handle, 0), 5);
  EXPECT_EQ(CncGetCount(handle, 1), 2);
  TCncElementData e{};
  ASSERT_EQ(CncGetElement(handle, 1, 1, &e), 0);
  EXPECT_EQ(e.Code, 0x4729);  // "G41"
  CncClose(handle);
  std::remove(file.c_str());
}

}  // namespace

namespace {

TEST(ComputeMillingPath, DegenerateAndExtremeInputEndCleanly) {
  // Arcs of radius 0, full circles, moves out at 1e300: every run ends with a result and a
  // path, whatever the numbers inside turn out to be.
  const char* programs[] = {
      "T1\nG41\nG01 X10 Y0\nG02 X10 Y0 I0 J0\nG03 X20 Y0 I0 J0\nG01 X20 Y5\n",
      "T1\nG42\nG02 X0 Y0 I5 J0\nG03 X0 Y0 I-5 J0\nG02 X0 Y0 I0 J5\nG01 X1 Y1\n",
      "T1\nG41\nG01 X1e300 Y0\nG01 X1e300 Y1e300\nG02 X-1e300 Y0 I-1e300 J0\nG01 X0 Y0\n",
      "T1\nG42\nG01 X1e-300 Y0\nG03 X2e-300 Y0 I5e-301 J0\nG01 X0 Y1e-300\n",
  };
  for (const char* program : programs) {
    const TProgramRunResult r = RunProgramText(program, 1);
    EXPECT_TRUE(r.Result == 0 || (r.Result >= 10 && r.Result <= 18)) << program;
    EXPECT_FALSE(r.Path().empty()) << program;
  }
}

}  // namespace
