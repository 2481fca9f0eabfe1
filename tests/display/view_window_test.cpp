#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "display/sim_view.h"
#include "display/view_window.h"

namespace {

// An 800 x 600 view showing X 0..800 and Y 0..600: one pixel per millimetre.
TViewWindow UnitWindow() {
  TViewWindow w;
  w.Width = 800;
  w.Height = 600;
  w.SetRect({0, 800, 0, 600});
  w.UpdateScale();
  return w;
}

// The same as a view with its mouse logic.
struct TUnitView : TSimView {
  TUnitView() {
    Resize(800, 600);
    SetRect({0, 800, 0, 600});
    UpdateScale();
  }
  TPixelXY LastPointerMove{-100, -100};
  void MovePointerTo(TPixelXY p) override { LastPointerMove = p; }
};

TEST(ViewWindow, ConversionsRoundHalfToEven) {
  TViewWindow w = UnitWindow();
  struct {
    double Real;
    int32_t PixelX;
    int32_t PixelY;
  } cases[] = {{2.5, 2, 598}, {3.5, 4, 596}, {-0.5, 0, 600}, {0.4999, 0, 600}, {799.5, 800, -200}, {-1.5, -2, 602}};
  for (const auto& c : cases) {
    EXPECT_EQ(w.RealToPixelX(c.Real), c.PixelX) << c.Real;
  }
  EXPECT_EQ(w.RealToPixelY(2.5), 598);  // 600 - Nearest(2.5) = 600 - 2
  EXPECT_EQ(w.RealToPixelY(3.5), 596);
  EXPECT_EQ(w.RealToPixelY(-1.5), 602);
  w.Scale = 2.0;
  w.XMin = -10;
  EXPECT_DOUBLE_EQ(w.BildXToRealX(5), -7.5);
  EXPECT_DOUBLE_EQ(w.BildYToRealY(5), 597.5);  // from YMax
  EXPECT_EQ(w.RealToPixelX(-8.75), 2);         // 2.5 -> 2
}

TEST(ViewWindow, FarPointsSaturateInsteadOfOverflowing) {
  TViewWindow w = UnitWindow();
  w.Scale = 1e12;
  EXPECT_EQ(w.RealToPixelX(1e300), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(w.RealToPixelX(-1e300), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(w.RealToPixelY(-1e300), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(w.RealToPixelX(std::nan("")), 0);
}

TEST(ViewWindow, ViewWithoutSizeOrWidthDividesByNothing) {
  TViewWindow w;
  w.UpdateScale();  // Width 0
  EXPECT_EQ(w.Scale, 0.0);
  EXPECT_FALSE(w.CanConvert());
  EXPECT_EQ(w.BildXToRealX(100), w.XMin);
  EXPECT_EQ(w.BildYToRealY(100), w.YMax);
  w.Width = 100;
  w.Height = 100;
  w.XMax = w.XMin;
  w.UpdateScale();
  EXPECT_EQ(w.Scale, 0.0);

  TSimView v;  // zero size: PaintView paints nothing
  v.PaintView();
  EXPECT_TRUE(v.BackBuffer().isNull());
  v.MousePress(10, 10);
  v.MouseDoubleClick(1, 1);
  EXPECT_TRUE(std::isfinite(v.XMin));
}

TEST(ViewWindow, ResizeKeepsScaleAndTopLeftCorner) {
  TViewWindow w;
  w.Width = 600;
  w.Height = 400;
  w.XMin = 0;
  w.XMax = 600;
  w.YMin = 0;
  w.YMax = 400;
  w.UpdateScale();  // one pixel per millimetre
  w.ResizeKeepingScale(800, 300);
  EXPECT_EQ(w.Rect(), (TWindowRect{0, 800, 100, 400}));
  EXPECT_EQ(w.Scale, 1.0);
  EXPECT_EQ(std::make_pair(w.Width, w.Height), std::make_pair(800, 300));
  w.ResizeKeepingScale(800, 300);  // same size: not a pixel moves
  EXPECT_EQ(w.Rect(), (TWindowRect{0, 800, 100, 400}));

  TViewWindow unscaled;  // no scale yet: only the size changes
  unscaled.ResizeKeepingScale(-5, 300);
  EXPECT_EQ(unscaled.Rect(), TViewWindow().Rect());
  EXPECT_EQ(unscaled.Width, 0);
}

TEST(SimView, FreshViewShowsItsDefaultWindow) {
  TSimView v;
  EXPECT_EQ(v.Rect(), (TWindowRect{-40, 500, -40, 300}));
  EXPECT_EQ(v.HomeWindow, (TWindowRect{-40, 500, -40, 300}));
  EXPECT_EQ(v.GridSize, 20);
  EXPECT_EQ(v.MouseMode, TMouseMode::Idle);
  v.Resize(994, 628);
  EXPECT_DOUBLE_EQ(v.Scale, 994.0 / 540.0);
}

TEST(SimView, ZoomAboutAPointCentresIt) {
  TUnitView v;
  v.ZoomPoint({200, 150}, 0.5);
  EXPECT_EQ(v.Rect(), (TWindowRect{0, 400, 300, 600}));
  EXPECT_DOUBLE_EQ(v.Scale, 2.0);
  EXPECT_TRUE(v.NeedsRecalc);
}

TEST(SimView, ZoomWindowKeepsTheViewsAspect) {
  struct {
    TPixelXY Press, Move;
    TWindowRect Expected;
  } cases[] = {
      // 200 x 50: full width, height widened to 150 about its centre
      {{100, 100}, {300, 150}, {100, 300, 400, 550}},
      // corners given the other way round
      {{300, 150}, {100, 100}, {100, 300, 400, 550}},
      // taller than wide: full height, width widened about its centre
      {{100, 100}, {150, 300}, {125 - 400.0 / 3, 125 + 400.0 / 3, 300, 500}},
  };
  for (const auto& c : cases) {
    TUnitView v;
    v.SetMouseMode(TMouseMode::ZoomWindow);
    v.MousePress(c.Press.X, c.Press.Y);
    v.MouseMove(c.Move.X, c.Move.Y);
    v.MouseRelease(999, 999);  // the release position plays no part
    EXPECT_DOUBLE_EQ(v.XMin, c.Expected.XMin);
    EXPECT_DOUBLE_EQ(v.XMax, c.Expected.XMax);
    EXPECT_DOUBLE_EQ(v.YMin, c.Expected.YMin);
    EXPECT_DOUBLE_EQ(v.YMax, c.Expected.YMax);
    EXPECT_DOUBLE_EQ(v.Scale, 800 / (c.Expected.XMax - c.Expected.XMin));
    EXPECT_EQ(v.MouseMode, TMouseMode::ZoomWindow);  // the mode stays
    EXPECT_FALSE(v.Dragging);
    EXPECT_EQ(v.Corner1, (TPixelXY{-1, -1}));
  }
}

TEST(SimView, ZoomWindowWithoutMoveUsesTheUnsetCorner) {
  TUnitView v;
  v.SetMouseMode(TMouseMode::ZoomWindow);
  v.MousePress(100, 100);
  EXPECT_EQ(v.Corner2, (TPixelXY{-1, -1}));
  v.MouseRelease(100, 100);
  // Rectangle (-1, -1)-(100, 100): 101 x 101 pixels, taken as wide.
  EXPECT_DOUBLE_EQ(v.XMin, -1);
  EXPECT_DOUBLE_EQ(v.XMax, 100);
  EXPECT_DOUBLE_EQ(v.YMax, 550.5 + 101 * 600.0 / 800 / 2);
  EXPECT_DOUBLE_EQ(v.YMin, 550.5 - 101 * 600.0 / 800 / 2);
}

TEST(SimView, ZoomWindowWithoutWidthFallsBackToHome) {
  TUnitView v;
  v.SetMouseMode(TMouseMode::ZoomWindow);
  v.MousePress(100, 100);
  v.MouseMove(100, 100);
  v.MouseRelease(100, 100);
  EXPECT_EQ(v.Rect(), (TWindowRect{-40, 500, -40, 365}));  // 540 * 600 / 800 - 40 = 365
  EXPECT_TRUE(v.Dragging);                                 // corners and drag stay as they were
}

TEST(SimView, PanKeepsTheGrabbedPointUnderThePointer) {
  TUnitView v;
  v.SetMouseMode(TMouseMode::Pan);
  v.MousePress(100, 100);
  const TRealXY grabbed = v.Anchor;
  for (TPixelXY p : {TPixelXY{150, 120}, TPixelXY{20, 400}, TPixelXY{-30, -5}}) {
    v.MouseMove(p.X, p.Y);
    EXPECT_NEAR(v.BildXToRealX(p.X), grabbed.X, 1e-9);
    EXPECT_NEAR(v.BildYToRealY(p.Y), grabbed.Y, 1e-9);
    EXPECT_DOUBLE_EQ(v.XMax - v.XMin, 800);
  }
  v.MouseRelease(0, 0);
  EXPECT_EQ(v.MouseMode, TMouseMode::Idle);
  EXPECT_FALSE(v.Dragging);
  const TWindowRect after = v.Rect();
  v.MouseMove(300, 300);  // mode 0: nothing
  EXPECT_EQ(v.Rect(), after);
}

TEST(SimView, ZoomVariaRecentresAndZoomsWithSidewaysMoves) {
  TUnitView v;
  v.SetMouseMode(TMouseMode::ZoomVaria);
  v.LastDragX = 0;
  v.MousePress(200, 150);
  EXPECT_EQ(v.Rect(), (TWindowRect{-200, 600, 150, 750}));  // centred on (200, 450)
  EXPECT_EQ(v.LastPointerMove, (TPixelXY{400, 300}));
  v.MouseMove(410, 300);  // right: 3 % smaller
  EXPECT_DOUBLE_EQ(v.XMax - v.XMin, 800 * 0.97);
  v.MouseMove(410, 100);  // no horizontal change: smaller again
  EXPECT_DOUBLE_EQ(v.XMax - v.XMin, 800 * 0.97 * 0.97);
  v.MouseMove(300, 100);  // left: 3 % larger
  EXPECT_DOUBLE_EQ(v.XMax - v.XMin, 800 * 0.97 * 0.97 * 1.03);
  EXPECT_DOUBLE_EQ((v.XMin + v.XMax) / 2, 200);
  EXPECT_DOUBLE_EQ((v.YMin + v.YMax) / 2, 450);
  EXPECT_EQ(v.LastDragX, 300);
  v.MouseRelease(300, 100);
  EXPECT_EQ(v.MouseMode, TMouseMode::Idle);
  EXPECT_EQ(v.LastDragX, 300);  // kept for the next drag
}

TEST(SimView, ZoomHomeRestoresTheHomeWindowInWholeMillimetres) {
  TSimView v;
  v.Resize(994, 628);
  v.ZoomPoint({10, 10}, 0.3);
  v.ZoomHome();
  EXPECT_EQ(v.XMin, -40);
  EXPECT_EQ(v.XMax, 500);
  EXPECT_EQ(v.YMin, -40);
  EXPECT_EQ(v.YMax, std::nearbyint(540.0 * 628 / 994 - 40));
  EXPECT_DOUBLE_EQ(v.Scale, 994.0 / 540);
}

TEST(SimView, ScrollBarsMoveTheWindowKeepingItsSize) {
  TSimView v;
  v.Resize(994, 628);
  v.SetRect({-40, 560.4, -40, 339.3});
  v.UpdateScale();
  const double scale = v.Scale;
  v.ScrollToX(100);
  EXPECT_EQ(v.XMin, 100);
  EXPECT_EQ(v.XMax, 700);  // width rounded to whole millimetres
  v.ScrollToY(-2);
  EXPECT_EQ(v.YMin, 2);
  EXPECT_EQ(v.YMax, 381);
  v.ScrollToY(50);
  EXPECT_EQ(v.YMin, -50);
  EXPECT_EQ(v.Scale, scale);
  EXPECT_TRUE(v.NeedsRecalc);
}

TEST(SimView, SetViewWidthFollowsTheViewsAspect) {
  TSimView v;
  v.Resize(994, 628);
  v.SetViewWidth(600);
  EXPECT_EQ(v.XMax, 560);
  EXPECT_EQ(v.YMax, std::nearbyint(600.0 * 628 / 994 - 40));
  EXPECT_DOUBLE_EQ(v.Scale, 994.0 / 600);
}

}  // namespace

namespace {

// Extreme zoom in either direction, far from the origin or at it: painting ends, and
// every object keeps pixel coordinates the raster engine can take.
TEST(SimView, ExtremeZoomPaintsWithoutOverflowOrHang) {
  struct {
    TRealXY Centre;
    double Factor;
  } cases[] = {{{10, 10}, 1e-6}, {{0, 0}, 1e6}, {{1e20, -1e20}, 1e-3}, {{3, 4}, 1e-30}, {{0, 0}, 1e60}};
  for (const auto& c : cases) {
    TSimView v;
    v.Resize(300, 200);
    v.SetGridSize(10);
    v.AddLine({-5, 0, 0}, {5e9, 3, 0}, 0, 1, Qt::yellow);
    v.AddArcCW({0, 0, 0}, {20, 0, 0}, 0, 1, Qt::yellow, {10, 0, 0});
    v.AddCircle({10, 10, 0}, 0, 3, 0, Qt::green);
    v.AddCircle({0, 0, 0}, 0, 1e12, 0, Qt::green);
    for (int i = 0; i < 5; ++i) {
      v.CentreOn(c.Centre);
      v.ZoomPoint({150, 100}, c.Factor);
      v.PaintView();
      for (size_t k = 0; k < v.Objects.Count(); ++k) {
        const TGraphObject& o = v.Objects[k];
        if (o.Form != TPixelForm::Direct) continue;
        for (int32_t p : {o.X1, o.Y1, o.X2, o.Y2}) EXPECT_LE(std::abs(p), 3'000'000) << i;
      }
    }
  }
}

}  // namespace
