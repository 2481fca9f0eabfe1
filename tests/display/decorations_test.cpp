#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <set>

#include "display/sim_view.h"
#include "display/view_decorations.h"

namespace {

TViewWindow StartWindow(int32_t width = 994, int32_t height = 628) {
  TViewWindow w;
  w.Width = width;
  w.Height = height;
  w.SetRect({-40, 560, -40, std::nearbyint(600.0 * height / width - 40)});
  w.UpdateScale();
  return w;
}

// The grid as the plain double loop over every column and row would set it.
std::set<std::pair<int32_t, int32_t>> GridByLoop(const TViewWindow& w, int32_t g) {
  std::set<std::pair<int32_t, int32_t>> points;
  const int64_t nx = std::llround(std::nearbyint((w.XMax - w.XMin) / g)) + 1;
  const int64_t ny = std::llround(std::nearbyint((w.YMax - w.YMin) / g)) + 1;
  double x = std::nearbyint(w.XMin / g) * g;
  for (int64_t i = 0; i < nx; ++i, x += g) {
    const int32_t px = w.RealToPixelX(x);
    double y = std::nearbyint(w.YMin / g) * g;
    for (int64_t j = 0; j < ny; ++j, y += g) {
      const int32_t py = w.RealToPixelY(y);
      if (px >= 0 && px < w.Width && py >= 0 && py < w.Height) points.insert({px, py});
    }
  }
  return points;
}

std::set<std::pair<int32_t, int32_t>> GridPoints(const TViewWindow& w, int32_t g) {
  const TGridPixels grid = GridPixels(w, g);
  std::set<std::pair<int32_t, int32_t>> points;
  for (int32_t x : grid.Columns)
    for (int32_t y : grid.Rows) points.insert({x, y});
  return points;
}

TEST(Grid, TenMillimetresInSixHundredGiveSixtyOneColumns) {
  const TViewWindow w = StartWindow();
  const TGridPixels g = GridPixels(w, 10);
  EXPECT_EQ(g.ColumnCount, 61);
  EXPECT_EQ(g.Columns.front(), 0);             // X = -40 on the left edge
  EXPECT_EQ(g.Columns.size(), 60u);            // X = 560 falls on pixel 994, outside
  EXPECT_EQ(g.Columns[4], w.RealToPixelX(0));  // on whole multiples of the grid
}

TEST(Grid, CulledGridEqualsTheFullLoop) {
  struct {
    TWindowRect Window;
    int32_t Grid;
  } cases[] = {
      {{-40, 560, -40, 339}, 10},      {{-40, 560, -40, 339}, 100}, {{-75.3, 12.2, 3.7, 58.9}, 5},
      {{1000, 1600, -900, -500}, 20},  {{-600, 600, -400, 400}, 2},  // denser than a pixel
      {{0.001, 0.002, 0.0, 0.001}, 5},
  };
  for (const auto& c : cases) {
    TViewWindow w = StartWindow(300, 200);
    w.SetRect(c.Window);
    w.UpdateScale();
    EXPECT_EQ(GridPoints(w, c.Grid), GridByLoop(w, c.Grid)) << c.Window.XMin << " " << c.Grid;
  }
}

TEST(Grid, HugeWindowsStayBounded) {
  TViewWindow w = StartWindow(300, 200);
  w.SetRect({-1e250, 1e250, -1e250, 1e250});
  w.UpdateScale();
  const TGridPixels g = GridPixels(w, 1);
  EXPECT_LE(g.Columns.size(), 300u);
  EXPECT_LE(g.Rows.size(), 200u);
  EXPECT_TRUE(GridPixels(w, 0).Columns.empty());  // a grid of 0 mm draws nothing
}

TEST(Axes, FirstLabelIsTruncatedTowardZero) {
  const TViewWindow w = StartWindow();
  const std::vector<TAxisTick> x = XAxisTicks(w);
  ASSERT_EQ(x.size(), 13u);  // 0 .. 600
  EXPECT_EQ(x.front().Value, 0);
  EXPECT_EQ(x.back().Value, 600);
  EXPECT_EQ(x.front().Pixel, w.RealToPixelX(0));

  TViewWindow left = w;
  left.XMin = -75;
  left.XMax = 525;
  EXPECT_EQ(XAxisTicks(left).front().Value, -50);

  const std::vector<TAxisTick> y = YAxisTicks(w);
  EXPECT_EQ(y.front().Value, 0);
  EXPECT_EQ(y.front().Pixel, w.RealToPixelY(0));
  EXPECT_EQ(y[1].Value, 50);
}

TEST(Axes, TicksOfAHugeWindowAreBounded) {
  TViewWindow w = StartWindow();
  w.SetRect({-1e200, 1e200, -1e200, 1e200});
  w.UpdateScale();
  EXPECT_LE(XAxisTicks(w).size(), 2000u);
  EXPECT_LE(YAxisTicks(w).size(), 2000u);
}

TEST(Labels, RightAlignedInThreeCharacters) {
  struct {
    double Value;
    const char* Text;
  } cases[] = {{0, "  0"}, {50, " 50"}, {-50, "-50"}, {100, "100"}, {-0.0, "  0"}, {12345, "12345"}};
  for (const auto& c : cases) EXPECT_EQ(NumberLabel(c.Value), c.Text);
  EXPECT_EQ(GridText(10), "Grid:  10 mm");
}

QImage Painted(TSimView& v) {
  v.Invalidate();
  v.PaintView();
  return v.BackBuffer().copy();
}

// A view of 400 x 300 pixels over `rect`.
void Frame(TSimView& v, const TWindowRect& rect) {
  v.Resize(400, 300);
  v.SetRect(rect);
  v.UpdateScale();
}

TEST(Markers, SecondDrawRemovesEachMarker) {
  TSimView v;
  Frame(v, {-40, 360, -40, 260});
  const QImage base = Painted(v);
  using TPaint = void (*)(QPainter&, TPixelXY);
  for (TPaint paint : {TPaint(PaintSpindleMarker), TPaint(PaintW0Marker), TPaint(PaintT0Marker)}) {
    QImage image = base.copy();
    {
      QPainter p(&image);
      paint(p, {123, 77});
    }
    EXPECT_NE(image, base);
    {
      QPainter p(&image);
      paint(p, {123, 77});
    }
    EXPECT_EQ(image, base);
  }
}

TEST(Markers, MovingW0OrTheSpindleRedrawsOnlyTheMarker) {
  TSimView v;
  Frame(v, {-40, 360, -40, 260});
  v.SetGridSize(10);
  Painted(v);
  v.SetW0X(100);
  v.SetW0Y(50);
  v.SetSpindlePos(-20, 120);
  const QImage moved = v.BackBuffer().copy();
  EXPECT_EQ(moved, Painted(v));  // as a full repaint with the new positions
  // W0 marker colour at its new place, the old place is back to the axes' crossing.
  const TPixelXY w0{v.RealToPixelX(100), v.RealToPixelY(50)};
  EXPECT_EQ(moved.pixel(w0.X + 9, w0.Y), qRgb(255, 0, 255));
}

TEST(Markers, ColoursAndShapes) {
  TSimView v;
  Frame(v, {-200, 200, -150, 150});
  v.SetSpindlePos(-100, 0);
  v.SetW0X(100);
  const QImage image = Painted(v);
  const TPixelXY s{v.RealToPixelX(-100), v.RealToPixelY(0)};
  EXPECT_EQ(image.pixel(s.X, s.Y - 5) & 0xFFFFFF, 0x00FF00u);      // lime bar, XOR on black
  EXPECT_EQ(image.pixel(s.X - 5, s.Y + 1) & 0xFFFFFF, 0x00FF00u);  // 3 pixels wide
  const TPixelXY w{v.RealToPixelX(100), v.RealToPixelY(0)};
  EXPECT_EQ(image.pixel(w.X, w.Y - 9) & 0xFFFFFF, 0xFF00FFu);
  EXPECT_EQ(image.pixel(w.X, w.Y - 12) & 0xFFFFFF, 0u);  // the cross reaches 10 pixels
  // T0 at the origin: the yellow pie fills the quarter below right, XOR with the pen's green.
  const TPixelXY t{v.RealToPixelX(0), v.RealToPixelY(0)};
  EXPECT_EQ(image.pixel(t.X + 2, t.Y + 2) & 0xFFFFFF, 0xFFFF00u);
  EXPECT_EQ(image.pixel(t.X - 2, t.Y - 2) & 0xFFFFFF, 0xFFFF00u);
  EXPECT_EQ(image.pixel(t.X + 2, t.Y - 2) & 0xFFFFFF, 0u);
}

TEST(Paint, BackgroundAxesAndGridColours) {
  TSimView v;
  Frame(v, {-40, 360, -40, 260});
  v.SetGridSize(20);
  v.SetSpindlePos(300, 200);
  v.SetW0X(300);
  v.SetW0Y(200);
  const QImage image = Painted(v);
  EXPECT_EQ(image.pixel(v.RealToPixelX(100), v.RealToPixelY(100)), qRgb(255, 255, 0));  // grid point
  EXPECT_EQ(image.pixel(v.RealToPixelX(110), v.RealToPixelY(100)), qRgb(0, 0, 0));
  // The dash-dot Y axis: white pixels along x = 0, with gaps.
  int white = 0;
  for (int y = 0; y < 300; ++y) white += image.pixel(v.RealToPixelX(0), y) == qRgb(255, 255, 255);
  EXPECT_GT(white, 100);
  EXPECT_LT(white, 290);
}

}  // namespace
