// The findings of programs run by the engine, each kind just on both sides of its boundary.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stock/engine_moves.h"
#include "stock/stock_simulation.h"
#include "tests/display/engine_program.h"

namespace {

struct TFindingCase {
  const char* Name;
  const char* Program;  // runs tool 1 (radius 1 mm) over the stock -10..10, top 0, 5 thick
  std::vector<TFindingKind> Kinds;
  int32_t Line = 0;  // of the first finding
  double Depth = 0.0;
};

std::string Program(const char* body) { return std::string("T1\nM03\nG00 X-20 Y0 Z5\n") + body; }

TStockResult SimulateProgram(const std::string& text) {
  TEngineProgram program(text, {0, 0, 5});
  EXPECT_EQ(program.Run, 0);
  TCutterTable cutters{};
  cutters[1] = MakeCutter({TCutterKind::Flat}, 1.0);
  const TStockBox box{-10, -10, 10, 10, 0, 5};
  return SimulateStock(ReadStockMoves(program.Handle, {0, 0, 5}), box, PlanGrid(box, 0.05), cutters);
}

class Findings : public ::testing::TestWithParam<TFindingCase> {};

TEST_P(Findings, AreFoundJustBeyondTheirBoundary) {
  const TFindingCase& c = GetParam();
  const TStockResult r = SimulateProgram(Program(c.Program));
  std::vector<TFindingKind> kinds;
  for (const TFinding& f : r.Findings) kinds.push_back(f.Kind);
  EXPECT_EQ(kinds, c.Kinds);
  EXPECT_EQ(r.FindingsTotal, c.Kinds.size());
  if (r.Findings.empty()) return;
  EXPECT_EQ(r.Findings[0].Line, c.Line);
  EXPECT_NEAR(r.Findings[0].Depth, c.Depth, 1e-6);
}

using K = TFindingKind;
INSTANTIATE_TEST_SUITE_P(
    Kinds, Findings,
    ::testing::Values(
        TFindingCase{"RapidGrazingTheTop", "N4 G00 Z-0.0005\nN5 G00 X20\n", {}},
        TFindingCase{"RapidIntoTheTop", "N4 G00 Z-0.002\nN5 G00 X20\n", {K::RapidIntoStock}, 5, 0.002},
        // The file line, not the N number.
        TFindingCase{
            "RapidIntoTheTopNumberedOtherwise", "N40 G00 Z-0.002\nN50 G00 X20\n", {K::RapidIntoStock}, 5, 0.002},
        TFindingCase{"RapidInAGroove", "N4 G01 Z-1 F100\nN5 G01 X20\nN6 G00 X-20\n", {}},
        TFindingCase{"CutDownToTheBottom", "N4 G01 Z-5 F100\nN5 G01 X20\n", {}},
        TFindingCase{"CutBelowTheBottom", "N4 G01 Z-5.01 F100\nN5 G01 X20\n", {K::BelowStockBottom}, 5, 0.01},
        TFindingCase{
            "CutBeforeTheSpindleRuns", "N4 M05\nN5 G01 Z-1 F100\nN6 G01 X20\nN7 M03\n", {K::SpindleOff}, 6, 1.0},
        TFindingCase{
            "CutAfterTheSpindleStopped", "N4 G01 Z-1 F100\nN5 G01 X0\nN6 M05\nN7 G01 X20\n", {K::SpindleOff}, 7, 1.0},
        TFindingCase{"RapidIntoTheTopWithTheSpindleOff",
                     "N4 M05\nN5 G00 Z-0.002\nN6 G00 X20\n",
                     {K::RapidIntoStock, K::SpindleOff},
                     6,
                     0.002}),
    [](const ::testing::TestParamInfo<TFindingCase>& testInfo) { return std::string(testInfo.param.Name); });

TEST(Findings, AreKeptUpToTheirLimitAndCountedBeyond) {
  std::string body = "M05\nG01 X0 F100\nG01 Z-0.5\n";
  // Each leg a little deeper than the one before, so that each removes material.
  for (size_t i = 0; i < kMaxFindingsKept + 5; ++i)
    body += (i % 2 ? "G01 Y-9.8 Z-" : "G01 Y9.8 Z-") + std::to_string(0.5 + 0.002 * double(i)) + "\n";
  const TStockResult r = SimulateProgram(Program(body.c_str()));
  EXPECT_EQ(r.Findings.size(), kMaxFindingsKept);
  EXPECT_GT(r.FindingsTotal, kMaxFindingsKept);
}

}  // namespace
