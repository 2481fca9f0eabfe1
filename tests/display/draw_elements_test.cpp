#include "display/draw_elements.h"

#include <gtest/gtest.h>

#include <vector>

#include "display/sim_view.h"
#include "engine/instance_table.h"
#include "engine_program.h"

namespace {

struct TDrawFixture : testing::Test {
  TDrawFixture() {
    View.Resize(600, 400);
    View.SetRect({-50, 250, -50, 150});
    View.UpdateScale();
    Tools[2].Diameter = 6.0;
    Tools[5].Diameter = 10.0;
  }
  void Draw(int32_t handle, uint8_t mode, bool edges = false) {
    const TDrawRun run{&Tools, &CurrentTool, edges, [this](const std::string& s) { Info.push_back(s); }};
    DrawElements(View, handle, mode, run);
  }
  std::vector<TGraphObject> Objects() const {
    std::vector<TGraphObject> out;
    for (size_t i = 0; i < View.Objects.Count(); ++i) out.push_back(View.Objects[i]);
    return out;
  }

  TSimView View;
  TToolTable Tools{};
  int32_t CurrentTool = 0;
  std::vector<std::string> Info;
};

// The milling path is set directly so that these tests do not depend on the compensation.
void SetPath(int32_t handle, const TElementList& path) { FindInstance(handle)->PathList = path; }

constexpr QRgb kYellow = 0xFFFFFF00, kLime = 0xFF00FF00, kBlue = 0xFF0000FF, kGreen = 0xFF008000;

TEST_F(TDrawFixture, ContourDrawsFeedMovesFromTheSpindlePosition) {
  TEngineProgram p("G00 X10 Y10\nG01 X50 Y10\nG01 X50 Y40\nM30\n");
  View.SetSpindlePos(-20, -30);
  Draw(p.Handle, 0);
  const auto objects = Objects();
  ASSERT_EQ(objects.size(), 2u);  // the rapid move draws nothing in the contour
  EXPECT_EQ(objects[0].Shape, TShape::Line);
  EXPECT_EQ(objects[0].P1, (TRealXY{10, 10}));  // the rapid move still moved the current point
  EXPECT_EQ(objects[0].P2, (TRealXY{50, 10}));
  EXPECT_EQ(objects[1].P2, (TRealXY{50, 40}));
  EXPECT_EQ(objects[0].Pen, (TPenSpec{kYellow, kPenSolid, 1}));
  EXPECT_TRUE(Info.empty());
}

TEST_F(TDrawFixture, FirstMoveStartsAtTheSpindle) {
  TEngineProgram p("G01 X50 Y10\n");
  View.SetSpindlePos(-20, -30);
  Draw(p.Handle, 0);
  ASSERT_EQ(View.Objects.Count(), 1u);
  EXPECT_EQ(View.Objects[0].P1, (TRealXY{-20, -30}));
}

TEST_F(TDrawFixture, EveryPointShiftsByW0) {
  TEngineProgram p("G01 X0 Y0\nG02 X20 Y0 I10 J0\n");
  View.SetW0X(10);
  View.SetW0Y(5);
  Draw(p.Handle, 0);
  const auto objects = Objects();
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0].P2, (TRealXY{10, 5}));
  // Arc from (10, 5) about (20, 5) to (30, 5): square around the centre, radius 10.
  EXPECT_EQ(objects[1].P1, (TRealXY{10, 15}));
  EXPECT_EQ(objects[1].P2, (TRealXY{30, -5}));
  EXPECT_EQ(objects[1].P3, (TRealXY{30, 5}));
  EXPECT_EQ(objects[1].P4, (TRealXY{10, 5}));
}

TEST_F(TDrawFixture, RapidMovesAndToolCirclesOnlyInThePath) {
  TEngineProgram p("G00 X10 Y10\n");
  SetPath(p.Handle, {MakeElement(1, "", "G00", TPoint{10, 10, 0}), MakeValueElement(2, "", "T", 2),
                     MakeElement(3, "", "G01", TPoint{50, 10, 0}), MakeValueElement(4, "", "T", 5),
                     MakeElement(5, "", "G01", TPoint{50, 40, 0})});
  Draw(p.Handle, 1);
  const auto o = Objects();
  ASSERT_EQ(o.size(), 5u);  // tool 0 has no diameter: the rapid move gets no circle
  EXPECT_EQ(o[0].Pen, (TPenSpec{kBlue, kPenDashDot, 0}));
  EXPECT_EQ(o[0].P1, (TRealXY{0, 0}));
  EXPECT_EQ(o[1].Pen, (TPenSpec{kLime, kPenSolid, 0}));
  // The tool circle sits at the start of the move, with half the current tool's diameter.
  EXPECT_EQ(o[2].Shape, TShape::Circle);
  EXPECT_EQ(o[2].Pen, (TPenSpec{kGreen, kPenSolid, 0}));
  EXPECT_EQ(o[2].P1, (TRealXY{7, 13}));
  EXPECT_EQ(o[2].P2, (TRealXY{13, 7}));
  EXPECT_EQ(o[4].P1, (TRealXY{45, 15}));
  EXPECT_EQ(CurrentTool, 5);

  // The tool in force carries over to the next run.
  View.ClearObjects();
  Draw(p.Handle, 1);
  EXPECT_EQ(View.Objects[1].P1, (TRealXY{-5, 5}));  // circle of tool 5 at the rapid move's start
}

TEST_F(TDrawFixture, ToolNumbersOutsideTheTableDrawNoCircle) {
  TEngineProgram p("G00 X10 Y10\n");
  for (int32_t tool : {255, 300, -1, 1 << 30}) {
    SetPath(p.Handle, {MakeValueElement(1, "", "T", tool), MakeElement(2, "", "G01", TPoint{10, 0, 0})});
    View.ClearObjects();
    Draw(p.Handle, 1);
    EXPECT_EQ(CurrentTool, tool);
    ASSERT_EQ(View.Objects.Count(), 1u) << tool;
    EXPECT_EQ(View.Objects[0].Shape, TShape::Line);
  }
  EXPECT_EQ(ToolCircleRadius(Tools, 254), 0.0);
  EXPECT_EQ(ToolCircleRadius(Tools, 5), 5.0);
}

TEST_F(TDrawFixture, EdgeCrossesMarkTheStartOfEveryMove) {
  TEngineProgram p("G01 X10 Y0\nG03 X20 Y10 I0 J10\n");
  SetPath(p.Handle, {MakeElement(1, "", "G01", TPoint{10, 0, 0})});
  struct {
    uint8_t Mode;
    QRgb Colour;
    size_t Count;
  } cases[] = {{0, 0xFFFF0000, 2 + 2 * 2}, {1, 0xFFFFFFFF, 1 + 2}};
  for (const auto& c : cases) {
    View.ClearObjects();
    Draw(p.Handle, c.Mode, true);
    const auto o = Objects();
    ASSERT_EQ(o.size(), c.Count);
    EXPECT_EQ(o[1].P1, (TRealXY{-1, 0}));
    EXPECT_EQ(o[1].P2, (TRealXY{1, 0}));
    EXPECT_EQ(o[2].P1, (TRealXY{0, -1}));
    EXPECT_EQ(o[2].P2, (TRealXY{0, 1}));
    EXPECT_EQ(o[1].Pen, (TPenSpec{c.Colour, kPenSolid, 1}));
  }
  EXPECT_EQ(Objects()[1].Pen.Colour, 0xFFFFFFFFu);
}

TEST_F(TDrawFixture, EmptyListsAndBadModesReportAndDrawNothing) {
  TEngineProgram p("; nothing but a comment\n");
  Draw(p.Handle, 1);  // no milling path
  Draw(p.Handle, 2);
  Draw(0, 0);  // no instance
  EXPECT_EQ(View.Objects.Count(), 0u);
  EXPECT_EQ(Info, std::vector<std::string>(3, "Empty list, no data to process"));
}

// Whether a pixel within one of (x, y) has the colour.
bool ColourNear(const QImage& image, int32_t x, int32_t y, QRgb colour) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (image.valid(x + dx, y + dy) && image.pixel(x + dx, y + dy) == colour) return true;
  return false;
}

TEST_F(TDrawFixture, ArcsRunClockwiseOrCounterClockwiseFromTheStart) {
  struct {
    const char* Program;
    bool Upper, Lower;
  } cases[] = {
      {"G02 X20 Y0 I10 J0\n", true, false},
      {"G03 X20 Y0 I10 J0\n", false, true},
      {"G02 X0 Y0 I10 J0\n", false, false},  // end on the start pixel: not drawn at all
  };
  for (const auto& c : cases) {
    TEngineProgram p(c.Program);
    View.ClearObjects();
    Draw(p.Handle, 0);
    View.PaintView();
    const QImage& image = View.BackBuffer();
    const int32_t cx = View.RealToPixelX(10);
    EXPECT_EQ(ColourNear(image, cx, View.RealToPixelY(10), kYellow), c.Upper) << c.Program;
    EXPECT_EQ(ColourNear(image, cx, View.RealToPixelY(-10), kYellow), c.Lower) << c.Program;
    // Both ends of the half circles lie on the X axis.
    EXPECT_EQ(ColourNear(image, View.RealToPixelX(10 - 7.071), View.RealToPixelY(7.071), kYellow), c.Upper);
  }
}

}  // namespace
