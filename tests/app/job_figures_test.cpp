// Job figures worked by hand: from element records and from programs run by the engine.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <optional>
#include <vector>

#include "app/job_figures.h"
#include "engine/run_elements.h"
#include "tests/app/element_records.h"
#include "tests/command_runner.h"
#include "tests/display/engine_program.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr double kPi = std::numbers::pi;

TJobFigures FiguresOfProgram(const std::string& text, TCncPoint start = {0, 0, 0}) {
  TEngineProgram p(text, start);
  EXPECT_EQ(p.Run, 0);
  return JobFiguresOfRun(p.Handle, start, FeedUnitOfRun(p.Handle));
}

}  // namespace

TEST(JobFigures, SquareOf100MmAtF1000TakesTwentyFourSeconds) {
  const TJobFigures f = FiguresOfProgram("F1000\nG01 X100\nG01 Y100\nG01 X0\nG01 Y0\n");
  EXPECT_EQ(f.List, TFigureList::Path);
  EXPECT_NEAR(f.FeedLength, 400.0, 1e-9);
  EXPECT_EQ(f.RapidLength, 0.0);
  ASSERT_TRUE(f.CuttingSeconds);
  EXPECT_NEAR(*f.CuttingSeconds, 24.0, 1e-9);
  EXPECT_EQ(JobFiguresLine(f),
            "Job (cutting path): X 0.000 .. 100.000, Y 0.000 .. 100.000, Z 0.000 .. 0.000; "
            "feed 400.000 mm, rapid 0.000 mm, time 0:24");
}

TEST(JobFigures, FullCircleInTwoArcsByItsTrueLengthAndExtremes) {
  const TJobFigures f = FiguresOfProgram("G00 X10 Y0\nF500\nG02 X-10 Y0 I-10 J0\nG02 X10 Y0 I10 J0\n");
  EXPECT_NEAR(f.FeedLength, 62.832, 5e-4);
  EXPECT_NEAR(f.RapidLength, 10.0, 1e-12);
  EXPECT_NEAR(f.X.Min, -10.0, 1e-12);
  EXPECT_NEAR(f.X.Max, 10.0, 1e-12);
  EXPECT_NEAR(f.Y.Min, -10.0, 1e-12);
  EXPECT_NEAR(f.Y.Max, 10.0, 1e-12);
}

TEST(JobFigures, InchProgramConvertsCoordinatesAndFeed) {
  // 1 inch at 10 inch/min: 25.4 mm at 254 mm/min, 6 s.
  const TJobFigures f = FiguresOfProgram("G20\nF10\nG01 X1\n");
  EXPECT_NEAR(f.FeedLength, 25.4, 1e-9);
  ASSERT_TRUE(f.CuttingSeconds);
  EXPECT_NEAR(*f.CuttingSeconds, 6.0, 1e-9);
  EXPECT_NEAR(f.X.Max, 25.4, 1e-9);
}

TEST(JobFigures, FeedMoveBeforeAnyFeedHasNoTime) {
  for (const char* program : {"G01 X10\nF100\nG01 X20\n", "F0\nG01 X10\n"}) {
    const TJobFigures f = FiguresOfProgram(program);
    EXPECT_FALSE(f.CuttingSeconds) << program;
    EXPECT_EQ(CuttingTimeText(f.CuttingSeconds), "no feed programmed");
  }
  // Rapids alone need no feed.
  EXPECT_EQ(FiguresOfProgram("G00 X10\n").CuttingSeconds, 0.0);
}

TEST(JobFigures, StartOfTheFirstMoveCountsInTheExtents) {
  const TJobFigures f = FiguresOfProgram("G00 X10 Y10 Z5\n", {-5, -6, 20});
  EXPECT_EQ(f.X.Min, -5.0);
  EXPECT_EQ(f.Y.Min, -6.0);
  EXPECT_EQ(f.Z.Max, 20.0);
  EXPECT_EQ(f.Z.Min, 5.0);
}

TEST(JobFigures, NoMovesLeavesTheExtentsEmpty) {
  const TJobFigures f = ComputeJobFigures({}, {0, 0, 0}, TFeedUnit::Millimetre);
  EXPECT_FALSE(f.AnyMove);
  EXPECT_EQ(JobFiguresLine(f), "Job: no moves in the cutting path");
}

TEST(JobFigures, ArcsByDirectionHelixAndFullCircleThreshold) {
  struct TCase {
    const char* Name;
    TCncElementData Arc;
    double Length, XMin, XMax, YMin, YMax;
  };
  // All start at (10, 0, 0) on a circle of radius 10 about the origin.
  const TCase cases[] = {
      {"CCW quarter up", Element(kG03, {0, 10, 0}, {-10, 0, 0}), 5 * kPi, 0, 10, 0, 10},
      {"CW three quarters up", Element(kG02, {0, 10, 0}, {-10, 0, 0}), 15 * kPi, -10, 10, -10, 10},
      {"helix quarter", Element(kG03, {0, 10, -5}, {-10, 0, 0}), std::hypot(5 * kPi, 5.0), 0, 10, 0, 10},
      {"end on start: full circle", Element(kG02, {10, 1e-12, 0}, {-10, 0, 0}), 20 * kPi, -10, 10, -10, 10},
      {"end just past start: short arc", Element(kG03, {10 * std::cos(1e-6), 10 * std::sin(1e-6), 0}, {-10, 0, 0}),
       1e-5, 10 * std::cos(1e-6), 10, 0, 10 * std::sin(1e-6)},
  };
  for (const TCase& c : cases) {
    const std::vector<TCncElementData> list{Feed(600), c.Arc};
    const TJobFigures f = ComputeJobFigures(list, {10, 0, 0}, TFeedUnit::Millimetre);
    EXPECT_NEAR(f.FeedLength, c.Length, 1e-9) << c.Name;
    EXPECT_NEAR(*f.CuttingSeconds, c.Length / 10.0, 1e-9) << c.Name;
    EXPECT_NEAR(f.X.Min, c.XMin, 1e-9) << c.Name;
    EXPECT_NEAR(f.X.Max, c.XMax, 1e-9) << c.Name;
    EXPECT_NEAR(f.Y.Min, c.YMin, 1e-9) << c.Name;
    EXPECT_NEAR(f.Y.Max, c.YMax, 1e-9) << c.Name;
  }
}

TEST(JobFigures, TimeTextInMinutesAndHours) {
  EXPECT_EQ(CuttingTimeText(24.0), "0:24");
  EXPECT_EQ(CuttingTimeText(59.6), "1:00");
  EXPECT_EQ(CuttingTimeText(3725.0), "1:02:05");
}

TEST(StatsCommand, PrintsTheFiguresAsOneJsonObject) {
  const TTempFolder folder;
  const std::string file = folder.Write("square.cnc", "F1000\nG01 X100\nG01 Y100\nG01 X0\nG01 Y0\n");
  const TCommandResult r = RunShellCommand(std::string(VELQUOR_CLI) + " stats " + file);
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Output,
            "{\"extents\": {\"x\": [0, 100], \"y\": [0, 100], \"z\": [0, 0]}, \"feed_length_mm\": 400, "
            "\"rapid_length_mm\": 0, \"cutting_time_s\": 24, \"list\": \"path\"}\n");
  EXPECT_EQ(RunShellCommand(std::string(VELQUOR_CLI) + " stats /nonexistent/x.cnc 2>/dev/null").Status, 1);
  EXPECT_EQ(RunShellCommand(std::string(VELQUOR_CLI) + " stats " + file + " " + file + " 2>/dev/null").Status, 2);
}

// Each element's own time, as playback reads it: only feed moves under a usable F have one.
TEST(JobFigures, LastMoveSecondsOfEachElement) {
  struct TRow {
    const char* What;
    TCncElementData Element;
    std::optional<double> Seconds;
  };
  const std::vector<TRow> rows = {
      {"line before any F", Element(kG01, {10, 0, 0}), std::nullopt},
      {"the F itself", Feed(600), std::nullopt},
      {"10 mm at F600", Element(kG01, {20, 0, 0}), 1.0},
      {"rapid", Element(kG00, {30, 0, 0}), std::nullopt},
      {"half circle of radius 10 at F600", Element(kG02, {10, 0, 0}, {-10, 0, 0}), kPi},
      {"F0", Feed(0), std::nullopt},
      {"line under F0", Element(kG01, {20, 0, 0}), std::nullopt},
  };
  TJobFigureSum sum({0, 0, 0}, TFeedUnit::Millimetre);
  for (const TRow& row : rows) {
    sum.Add(row.Element);
    ASSERT_EQ(sum.LastMoveSeconds().has_value(), row.Seconds.has_value()) << row.What;
    if (row.Seconds) {
      EXPECT_NEAR(*sum.LastMoveSeconds(), *row.Seconds, 1e-9) << row.What;
    }
  }
}
