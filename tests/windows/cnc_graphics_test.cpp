// The step plotter on a recording pixel sink: one pixel per step at scale 1.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "windows/cnc_graphics.h"

namespace {

struct TPlot {
  int64_t X, Y;
  TRgb Colour;
};

class TRecordingSink : public TPixelSink {
 public:
  void Plot(int64_t x, int64_t y, TRgb colour) override { Plots.push_back({x, y, colour}); }
  void Fill(TRgb colour) override { Fills.push_back(colour); }
  std::vector<TPlot> Plots;
  std::vector<TRgb> Fills;
};

constexpr TRgb kRapid = Rgb(0, 0, 255);
constexpr TRgb kFeed = Rgb(255, 255, 0);

struct TPlotterFixture : testing::Test {
  TPlotterFixture() {
    Plotter.Zoom(1.0);
    Plotter.Origin(0, 0);
    Plotter.Colours(kRapid, kFeed);
  }
  TRecordingSink Sink;
  TCNCgraphics Plotter{Sink};
};

TEST_F(TPlotterFixture, LineOfOneByHalfMillimetreStepsYEverySecondStep) {
  Plotter.Origin(10, 200);
  Plotter.StraightMove(100, 50, true, 0);
  EXPECT_EQ(Plotter.DrivingAxis(), 0);
  EXPECT_EQ(Plotter.DirectionBits(), (std::array<uint8_t, 3>{0x01, 0x02, 0x00}));
  EXPECT_EQ(Plotter.ErrorTerms()[1], 0);     // 2|dy| - |dx|
  EXPECT_EQ(Plotter.ErrorTerms()[2], -100);  // 2|dz| - |dx|
  EXPECT_EQ(Plotter.MotionSteps(), 100);
  ASSERT_EQ(Plotter.Run(), kRunFinished);
  ASSERT_EQ(Sink.Plots.size(), 100u);
  for (int k = 1; k <= 100; ++k) {
    const TPlot& p = Sink.Plots[k - 1];
    EXPECT_EQ(p.X, 10 + k);
    EXPECT_EQ(p.Y, 200 - (k + 1) / 2) << "step " << k;  // y on the odd steps; +y goes up
    EXPECT_EQ(p.Colour, kFeed);
  }
  EXPECT_EQ(Plotter.Target(), (TStepPosition{100, 50, 0}));
}

TEST_F(TPlotterFixture, DrivingAxisAndDirectionBitsFollowTheLargestDelta) {
  struct {
    int64_t Dx, Dy, Dz;
    int Driving;
    std::array<uint8_t, 3> Bits;
  } cases[] = {
      {-7, 3, 0, 0, {0x11, 0x02, 0x00}},
      {5, -5, 0, 0, {0x01, 0x22, 0x00}},  // a tie goes to x
      {2, -9, 9, 1, {0x01, 0x22, 0x04}},  // a tie of y and z goes to y
      {1, 2, -3, 2, {0x01, 0x02, 0x44}},
  };
  for (const auto& c : cases) {
    Plotter.StraightMove(c.Dx, c.Dy, false, c.Dz);
    EXPECT_EQ(Plotter.DrivingAxis(), c.Driving) << c.Dx << "," << c.Dy << "," << c.Dz;
    EXPECT_EQ(Plotter.DirectionBits(), c.Bits);
    EXPECT_EQ(Plotter.Run(), kRunFinished);
  }
  EXPECT_EQ(Plotter.Target(), (TStepPosition{1, -9, 6}));
  EXPECT_EQ(Plotter.Cursor(), (TStepPosition{1, 9, 0}));
}

TEST_F(TPlotterFixture, LongMovesFinishWholly) {
  for (int64_t n : {39'998, 40'000, 50'000}) {
    Sink.Plots.clear();
    Plotter.Origin(0, 0);
    Plotter.StraightMove(n, 0, true, 0);
    ASSERT_EQ(Plotter.Run(), kRunFinished) << n;
    EXPECT_EQ(static_cast<int64_t>(Sink.Plots.size()), n);
    EXPECT_EQ(Sink.Plots.back().X, n);
    EXPECT_EQ(Plotter.Cursor().X, Plotter.Target().X);
  }
}

TEST_F(TPlotterFixture, ZOnlyStepsReplotTheSamePixel) {
  Plotter.Origin(40, 30);
  Plotter.StraightMove(0, 0, false, -7);
  EXPECT_EQ(Plotter.DrivingAxis(), 2);
  ASSERT_EQ(Plotter.Run(), kRunFinished);
  ASSERT_EQ(Sink.Plots.size(), 7u);
  for (const TPlot& p : Sink.Plots) {
    EXPECT_EQ(p.X, 40);
    EXPECT_EQ(p.Y, 30);
    EXPECT_EQ(p.Colour, kRapid);
  }
  EXPECT_EQ(Plotter.Target(), (TStepPosition{0, 0, -7}));
}

TEST_F(TPlotterFixture, ZoomFiftySharesOnePixelAmongTwentySteps) {
  Plotter.Zoom(50 / 1000.0);
  Plotter.StraightMove(2000, 0, true, 0);
  ASSERT_EQ(Plotter.Run(), kRunFinished);
  std::map<int64_t, int> perPixel;
  for (const TPlot& p : Sink.Plots) ++perPixel[p.X];
  ASSERT_EQ(perPixel.size(), 101u);
  // Halves round to even, so the inner pixels take 19 and 21 steps in turn.
  for (int64_t x = 1; x < 99; x += 2) EXPECT_EQ(perPixel[x] + perPixel[x + 1], 40) << x;
  EXPECT_EQ(perPixel[0], 10);
}

// Quarter and half arcs, one pixel per step: they end exactly at their end point and every
// plotted step lies within 1.5 steps of the true circle.
TEST_F(TPlotterFixture, ArcsEndAtTheirEndAndStayOnTheCircle) {
  struct {
    const char* Name;
    int32_t Kind;
    int64_t Dx, Dy;  // end relative to the start
    int64_t Cx, Cy;  // centre relative to the start
  } cases[] = {
      {"ccw quarter from +x", 3, -100, 100, -100, 0},
      {"cw quarter from +y", 2, 100, -100, 0, -100},
      {"cw quarter from -x", 2, 100, 100, 100, 0},
      {"ccw quarter from -y", 3, 100, 100, 0, 100},
      {"ccw half from +x", 3, -200, 0, -100, 0},
      {"cw half from +x", 2, -200, 0, -100, 0},
      {"cw half from +y", 2, 0, -200, 0, -100},
      {"ccw 3-4-5 from (300,400) to (-400,300)", 3, -700, -100, -300, -400},
      {"cw 3-4-5 from (300,400) to (400,-300)", 2, 100, -700, -300, -400},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Sink.Plots.clear();
    Plotter.Origin(0, 0);
    Plotter.ArcMove(c.Dx, c.Dy, c.Kind, c.Cy, c.Cx);
    const double r = std::hypot(static_cast<double>(c.Cx), static_cast<double>(c.Cy));
    ASSERT_EQ(Plotter.Run(), kRunFinished);
    ASSERT_FALSE(Sink.Plots.empty());
    EXPECT_EQ(Sink.Plots.back().X, c.Dx);
    EXPECT_EQ(Sink.Plots.back().Y, -c.Dy);
    EXPECT_EQ(Plotter.Target(), (TStepPosition{c.Dx, c.Dy, 0}));
    for (const TPlot& p : Sink.Plots) {
      const double x = static_cast<double>(p.X - c.Cx), y = static_cast<double>(-p.Y - c.Cy);
      ASSERT_LE(std::abs(std::hypot(x, y) - r), 1.5) << "pixel " << p.X << "," << p.Y;
    }
  }
}

// The smallest arcs, pixel by pixel as the step rule makes them: which axis steps, when both
// step, where the end test stops. Radius 1 is coarse enough that a half circle may step past
// its end before the end test holds.
TEST_F(TPlotterFixture, SmallArcsStepByStep) {
  struct {
    const char* Name;
    int32_t Kind;
    int64_t Dx, Dy;  // end relative to the start
    int64_t Cx, Cy;  // centre relative to the start
    std::vector<std::pair<int64_t, int64_t>> Pixels;
  } cases[] = {
      {"ccw quarter r1 from +x", 3, -1, 1, -1, 0, {{0, -1}, {-1, -1}}},
      {"cw quarter r1 from +y", 2, 1, -1, 0, -1, {{0, 1}, {1, 1}}},
      {"ccw half r1 from +x", 3, -2, 0, -1, 0, {{0, -1}, {-1, -1}, {-1, 0}, {-2, 0}}},
      {"cw half r1 from +x", 2, -2, 0, -1, 0, {{0, 1}, {-1, 1}, {-2, 1}, {-2, 0}, {-3, 0}}},
      {"cw half r1 from -y", 2, 0, 2, 0, 1, {{-1, 0}, {-1, -1}, {-2, -1}, {-1, -1}, {-1, -2}, {0, -2}}},
      {"ccw quarter r2 from -x", 3, 2, -2, 2, 0, {{0, 1}, {1, 1}, {1, 2}, {2, 2}}},
      {"cw quarter r2 from -x", 2, 2, 2, 2, 0, {{0, -1}, {1, -1}, {1, -2}, {2, -2}}},
      {"ccw half r2 from -y", 3, 0, 4, 0, 2, {{1, 0}, {1, -1}, {2, -1}, {2, -2}, {2, -3}, {1, -3}, {1, -4}, {0, -4}}},
      {"ccw three quarters r2 from +x",
       3,
       -2,
       -2,
       -2,
       0,
       {{0, -1},
        {-1, -1},
        {-1, -2},
        {-2, -2},
        {-3, -2},
        {-3, -1},
        {-4, -1},
        {-4, 0},
        {-4, 1},
        {-3, 1},
        {-3, 2},
        {-2, 2}}},
      {"cw quarter r3 from +x", 2, -3, -3, -3, 0, {{0, 1}, {-1, 1}, {-1, 2}, {-1, 3}, {-2, 3}, {-3, 3}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Sink.Plots.clear();
    Plotter.Origin(0, 0);
    Plotter.ArcMove(c.Dx, c.Dy, c.Kind, c.Cy, c.Cx);
    ASSERT_EQ(Plotter.Run(), kRunFinished);
    std::vector<std::pair<int64_t, int64_t>> pixels;
    for (const TPlot& p : Sink.Plots) pixels.emplace_back(p.X, p.Y);
    EXPECT_EQ(pixels, c.Pixels);
  }
}

TEST_F(TPlotterFixture, ArcLengthInSteps) {
  Plotter.ArcMove(-100, 100, 3, 0, -100);   // a quarter of radius 100
  EXPECT_EQ(Plotter.MotionSteps(), 158);    // 50 pi, rounded up
  Plotter.ArcMove(-100, -100, 3, 0, -100);  // three quarters
  EXPECT_EQ(Plotter.MotionSteps(), 472);
  Plotter.ArcMove(0, 0, 2, 0, 100);  // a full turn
  EXPECT_EQ(Plotter.MotionSteps(), 629);
}

TEST_F(TPlotterFixture, FullCircleArcPlotsNothing) {
  for (int32_t kind : {2, 3}) {
    Plotter.ArcMove(0, 0, kind, 0, 100);
    EXPECT_EQ(Plotter.Run(), kRunFinished);
  }
  EXPECT_TRUE(Sink.Plots.empty());
}

TEST_F(TPlotterFixture, StepsThatCannotReachTheEndStopAtTheirBound) {
  // The end (1000, 2000) from the centre lies far off the circle of radius 100: the walk
  // goes round and round and never meets it.
  Plotter.ArcMove(900, 2000, 3, 0, -100);
  const int64_t steps = Plotter.MotionSteps();
  EXPECT_EQ(steps, 111);
  EXPECT_EQ(Plotter.Run(), kRunNotFinished);
  // Every round plots at most two pixels; all rounds were used.
  EXPECT_GT(static_cast<int64_t>(Sink.Plots.size()), kRoundsPerStep * steps);
  EXPECT_LE(static_cast<int64_t>(Sink.Plots.size()), 2 * (kRoundsPerStep * steps + kExtraRounds));
}

TEST_F(TPlotterFixture, OtherArcKindsAreNotStepped) {
  Plotter.ArcMove(10, 10, 7, 0, 10);
  EXPECT_EQ(Plotter.Run(), kRunBadKind);
  EXPECT_TRUE(Sink.Plots.empty());
}

TEST_F(TPlotterFixture, MovesBeyondTheLimitJumpToTheirEnd) {
  Plotter.StraightMove(kMaxMoveSteps, 0, true, 0);
  EXPECT_EQ(Plotter.MotionSteps(), kMaxMoveSteps) << "at the limit a move is still stepped";
  Plotter.Origin(0, 0);
  Plotter.StraightMove(kMaxMoveSteps + 1, 3, true, 0);
  EXPECT_EQ(Plotter.Run(), kRunNotFinished);
  Plotter.ArcMove(0, 0, 2, 0, -kMaxMoveSteps - 1);
  EXPECT_EQ(Plotter.Run(), kRunNotFinished);
  EXPECT_TRUE(Sink.Plots.empty());
  // The next move starts where the refused ones ended.
  Plotter.StraightMove(1, 0, true, 0);
  ASSERT_EQ(Plotter.Run(), kRunFinished);
  ASSERT_EQ(Sink.Plots.size(), 1u);
  EXPECT_EQ(Sink.Plots[0].X, kMaxMoveSteps + 2);
  EXPECT_EQ(Sink.Plots[0].Y, -3);
  EXPECT_EQ(Plotter.Target(), (TStepPosition{kMaxMoveSteps + 2, 3, 0}));
}

TEST(CentreOfArc, ResultsAndFallback) {
  struct {
    const char* Name;
    int32_t Kind;
    double I, J, Sx, Sy, Ex, Ey;
    TArcCentre Expected;
  } cases[] = {
      {"zero radius", 2, 0, 0, 0, 0, 100, 0, {kCentreZeroRadius, 0, 0}},
      {"start is end", 3, 5.4, -2.6, 7, 7, 7, 7, {kCentreStartIsEnd, 5, -3}},
      {"chord longer than the diameter", 2, 10, 0, 0, 0, 30.5, 0, {kCentreChordTooLong, 10, 0}},
      {"chord just the diameter", 2, 10, 0, 0, 0, 20, 0, {kCentreOk, 10, 0}},
      {"short clockwise arc, centre right of the chord", 2, 100, -1, 0, 0, 200, 0, {kCentreOk, 100, -1}},
      {"long clockwise arc, centre left", 2, 100, 1, 0, 0, 200, 0, {kCentreOk, 100, 1}},
      {"short counter-clockwise arc, centre left", 3, 100, 1, 0, 0, 200, 0, {kCentreOk, 100, 1}},
      {"long counter-clockwise arc, centre right", 3, 100, -1, 0, 0, 200, 0, {kCentreOk, 100, -1}},
      // I, J off the chord's bisector: the centre is put back on it at the programmed radius.
      {"radius 150 over a chord of 200", 2, 150, 0, 50, 20, 250, 20, {kCentreOk, 100, 112}},
  };
  for (const auto& c : cases) {
    const TArcCentre r = CentreOfArc(c.Kind, c.I, c.J, c.Sx, c.Sy, c.Ex, c.Ey);
    EXPECT_EQ(r.Result, c.Expected.Result) << c.Name;
    EXPECT_EQ(r.X, c.Expected.X) << c.Name;
    EXPECT_EQ(r.Y, c.Expected.Y) << c.Name;
  }
}

TEST(RasterSink, PlotsInsideOnlyAndFills) {
  std::vector<uint32_t> bits(4 * 3, 0);
  TRasterSink sink(bits.data(), 3, 3, 4);  // one pixel of padding per row
  sink.Fill(Rgb(1, 2, 3));
  EXPECT_EQ(bits[0], 0xff010203u);
  EXPECT_EQ(bits[3], 0u) << "padding is left alone";
  sink.Plot(2, 1, Rgb(0, 255, 0));
  EXPECT_EQ(bits[1 * 4 + 2], 0xff00ff00u);
  for (auto [x, y] : {std::pair<int64_t, int64_t>{-1, 0}, {3, 0}, {0, -1}, {0, 3}, {INT64_MIN, INT64_MAX}})
    sink.Plot(x, y, Rgb(255, 0, 0));
  for (uint32_t b : bits) EXPECT_NE(b, 0xffff0000u);
}

}  // namespace
