// The machine-coordinate drawing run over real engine instances.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/display/engine_program.h"
#include "windows/machine_view_run.h"

namespace {

constexpr TRgb kYellow = Rgb(255, 255, 0);
constexpr TRgb kLime = Rgb(0, 255, 0);
constexpr TRgb kBlue = Rgb(0, 0, 255);

struct TPicture {
  static constexpr int W = 900, H = 700;
  std::vector<uint32_t> Bits = std::vector<uint32_t>(W * H, 0x12345678u);
  TRasterSink Sink{Bits.data(), W, H, W};
  TRgb At(int x, int y) const {
    if (x < 0 || x >= W || y < 0 || y >= H) ADD_FAILURE() << "pixel " << x << "," << y << " off the picture";
    return x < 0 || x >= W || y < 0 || y >= H ? 0xdeadu : Bits[y * W + x] & 0xffffffu;
  }
};

struct TRunFixture : testing::Test {
  std::optional<TStepPosition> Draw(const TEngineProgram& p, TMachineViewControls controls) {
    TMachineDrawRun run;
    run.Tools = &Tools;
    run.CurrentTool = &CurrentTool;
    run.Info = [this](const std::string& s) { Messages.push_back(s); };
    run.StepBudget = Budget;
    return DrawMachineView(p.Handle, 1, controls, Picture.Sink, run);
  }
  static TMachineViewControls OneStepPerPixel() {
    TMachineViewControls c;
    c.Zoom = 1000;
    return c;
  }
  TToolTable Tools{};
  int32_t CurrentTool = 0;
  int64_t Budget = kMachineRunStepBudget;
  std::vector<std::string> Messages;
  TPicture Picture;
};

TEST_F(TRunFixture, FeedMoveBecomesWholeStepsFromTheOrigin) {
  const TEngineProgram p("G01 X1.5 Y2.25\n", {30, 40, 0});  // the start point plays no part
  TMachineViewControls c = OneStepPerPixel();
  c.ShowPath = false;
  const auto counters = Draw(p, c);
  ASSERT_TRUE(counters);
  EXPECT_EQ(*counters, (TStepPosition{150, 225, 0}));
  EXPECT_EQ(Picture.At(kOriginX + 150, kOriginY - 225), kYellow);
  EXPECT_EQ(Picture.At(kOriginX + 2, kOriginY - 3), kYellow);
  EXPECT_EQ(Picture.At(kOriginX + 150, kOriginY), 0u) << "the surface is filled black first";
  EXPECT_TRUE(Messages.empty());
}

TEST_F(TRunFixture, ScrollBarsMoveTheOrigin) {
  const TEngineProgram p("G01 X1 Y0\n");
  struct {
    int Horz, Vert;
  } cases[] = {{0, 0}, {30, -40}, {-100, 90}};
  for (const auto& s : cases) {
    TMachineViewControls c = OneStepPerPixel();
    c.HorzPos = s.Horz;
    c.VertPos = s.Vert;
    ASSERT_TRUE(Draw(p, c));
    const int x0 = kOriginX - s.Horz, y0 = kOriginY - s.Vert;
    EXPECT_EQ(Picture.At(x0 + 100, y0), kLime) << s.Horz << "," << s.Vert;
    EXPECT_EQ(Picture.At(x0 + 101, y0), 0u);
  }
}

TEST_F(TRunFixture, RapidMovesJumpInTheContourAndAreSteppedInThePath) {
  const TEngineProgram p("G00 X1 Y0\nG01 X2 Y0\n");
  TMachineViewControls c = OneStepPerPixel();
  c.ShowPath = false;
  ASSERT_TRUE(Draw(p, c));
  EXPECT_EQ(Picture.At(kOriginX + 50, kOriginY), 0u);
  EXPECT_EQ(Picture.At(kOriginX + 150, kOriginY), kYellow);
  c.ShowPath = true;
  c.ShowContour = false;
  ASSERT_TRUE(Draw(p, c));
  EXPECT_EQ(Picture.At(kOriginX + 50, kOriginY), kBlue);
  EXPECT_EQ(Picture.At(kOriginX + 150, kOriginY), kLime);
}

TEST_F(TRunFixture, ZoomFiftyDrawsTwentyStepsToThePixel) {
  const TEngineProgram p("G01 X100 Y50\n");  // 10000 by 5000 steps: 500 by 250 pixels
  const auto counters = Draw(p, TMachineViewControls{});
  ASSERT_TRUE(counters);
  EXPECT_EQ(*counters, (TStepPosition{10000, 5000, 0}));
  EXPECT_EQ(Picture.At(kOriginX + 500, kOriginY - 250), kLime);
  EXPECT_EQ(Picture.At(kOriginX + 501, kOriginY - 250), 0u);
}

TEST_F(TRunFixture, ArcsAreSteppedFromTheirRecomputedCentre) {
  // Half circle of radius 2 mm over the top, clockwise, centre (2, 0).
  const TEngineProgram p("G02 X4 Y0 I2 J0\n");
  TMachineViewControls c = OneStepPerPixel();
  c.ShowPath = false;
  const auto counters = Draw(p, c);
  ASSERT_TRUE(counters);
  EXPECT_EQ(*counters, (TStepPosition{400, 0, 0}));
  EXPECT_EQ(Picture.At(kOriginX + 200, kOriginY - 200), kYellow);  // top of the arc
  EXPECT_EQ(Picture.At(kOriginX + 400, kOriginY), kYellow);
  EXPECT_EQ(Picture.At(kOriginX + 200, kOriginY + 190), 0u);  // not under the chord
  EXPECT_TRUE(Messages.empty());
}

TEST_F(TRunFixture, ArcThatCannotFinishIsReportedWithItsLine) {
  // Radius 1 mm, end 22 mm away: the walk never meets the end.
  const TEngineProgram p("N120 G03 X9 Y20 I-1 J0\nN130 G01 X0 Y0\n");
  TMachineViewControls c = OneStepPerPixel();
  c.ShowPath = false;
  const auto counters = Draw(p, c);
  ASSERT_TRUE(counters) << "the run goes on";
  EXPECT_EQ(*counters, (TStepPosition{0, 0, 0}));
  EXPECT_EQ(Messages,
            (std::vector<std::string>{"Error in program line : 120  radius correction on contour processing"}));
}

TEST_F(TRunFixture, EmptyListEndsTheRun) {
  const TEngineProgram p("");
  const auto counters = Draw(p, TMachineViewControls{});
  EXPECT_FALSE(counters) << "the labels stay";
  EXPECT_EQ(Messages, std::vector<std::string>{"Empty list, no data to process"});
  EXPECT_EQ(Picture.At(0, 0), 0u);
}

TEST_F(TRunFixture, NoListTickedOnlyClearsTheSurface) {
  const TEngineProgram p("G01 X1 Y1\n");
  TMachineViewControls c;
  c.ShowContour = c.ShowPath = false;
  EXPECT_FALSE(Draw(p, c));
  EXPECT_TRUE(Messages.empty());
  EXPECT_EQ(Picture.At(kOriginX, kOriginY), 0u);
  EXPECT_EQ(Picture.At(TPicture::W - 1, TPicture::H - 1), 0u);
}

TEST_F(TRunFixture, ToolElementsOfThePathSetTheCurrentTool) {
  Tools[3].Diameter = 6.0;
  for (const char* program : {"T3\nG01 X1\n", "T300\nG01 X1\n"}) {
    CurrentTool = 0;
    const TEngineProgram p(program);
    ASSERT_TRUE(Draw(p, TMachineViewControls{}));
    EXPECT_EQ(CurrentTool, program[1] == '3' && program[2] == '\n' ? 3 : 300) << program;
  }
}

TEST_F(TRunFixture, StepBudgetStopsTheRun) {
  const TEngineProgram p("N10 G01 X1\nN20 G01 X3\n");
  TMachineViewControls c = OneStepPerPixel();
  c.ShowPath = false;
  for (int64_t budget : {300, 299}) {
    Messages.clear();
    Budget = budget;
    const bool finished = Draw(p, c).has_value();
    EXPECT_EQ(finished, budget == 300) << budget;
    EXPECT_EQ(Messages.size(), budget == 300 ? 0u : 1u);
  }
  EXPECT_EQ(Messages, std::vector<std::string>{"Machine view stopped in program line 20: more than 299 steps to draw"});
}

}  // namespace
