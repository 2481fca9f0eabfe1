// The display list as an SVG drawing: which objects, their paths in millimetres, the pens and
// the viewBox; and the file QSvgGenerator makes of it, read back.
#include "display/svg_export.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <random>

#include "tests/support/temp_folder.h"
#include "tests/svg_reading.h"

namespace {

// 100 x 50 mm at 2 pixels per millimetre.
TViewWindow SmallView() {
  TViewWindow w;
  w.SetRect({0, 100, 0, 50});
  w.Width = 200;
  w.Height = 100;
  w.UpdateScale();
  return w;
}

TGraphObject Styled(TGraphObject o, int style, int width) {
  o.SetStyle(style, width);
  return o;
}

TGraphObject ArcOver(double fromRad, double toRad, double r = 10) {
  const TRealXY c{50, 25};
  return TGraphArcCCW({c.X + r * std::cos(fromRad), c.Y + r * std::sin(fromRad)}, c,
                      {c.X + r * std::cos(toRad), c.Y + r * std::sin(toRad)}, qRgb(255, 255, 0));
}

TEST(SvgExport, ViewDrawsWhatThePaintDoesNotCull) {
  constexpr QRgb kYellow = 0xFFFFFF00;
  const struct {
    const char* Name;
    TGraphObject Object;
    bool Drawn;
  } cases[] = {
      {"line inside", TGraphLine({10, 10}, {20, 20}, kYellow), true},
      {"line left of the view", TGraphLine({-30, 10}, {-20, 10}, kYellow), false},
      {"line across the view", TGraphLine({-50, 25}, {150, 25}, kYellow), true},
      // The view keeps objects up to half the pen width plus 2 pixels outside.
      {"thin line 2 pixels left", TGraphLine({-1.0, 10}, {-1.0, 20}, kYellow), true},
      {"thin line 3 pixels left", TGraphLine({-1.5, 10}, {-1.5, 20}, kYellow), false},
      {"wide line 3 pixels left", Styled(TGraphLine({-1.5, 10}, {-1.5, 20}, kYellow), kPenSolid, 2), true},
      {"circle inside", TGraphCircle({50, 25}, 3, kYellow), true},
      {"circle outside", TGraphCircle({50, 90}, 3, kYellow), false},
      {"arc", ArcOver(0, 1), true},
      {"arc whose ends fall on one pixel", ArcOver(0, 0.01), false},
      {"arc written as a full circle", ArcOver(0, 0), false},
      {"huge circle through the view", TGraphCircle({50, 25 - 1e6}, 1e6, kYellow), true},
      {"huge circle beside the view", TGraphCircle({50, -10 - 1e6}, 1e6, kYellow), false},
  };
  const TPixelMapping m(SmallView());
  std::vector<QPoint> scratch;
  for (const auto& c : cases) EXPECT_EQ(ViewDraws(c.Object, m, scratch), c.Drawn) << c.Name;
  TViewWindow empty = SmallView();
  empty.Width = 0;
  EXPECT_FALSE(ViewDraws(cases[0].Object, TPixelMapping(empty), scratch));
}

// Random lines, circles and arcs in and around the view: the drawing holds exactly as many
// objects as the view's paint draws.
TEST(SvgExport, DrawingHoldsWhatThePaintDraws) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> x(-150, 250), y(-100, 150), radius(1, 80), angle(0, 6.28);
  std::uniform_int_distribution<int> shape(0, 3), width(0, 5);
  TDisplayList list;
  const TViewWindow w = SmallView();
  for (int i = 0; i < 2000; ++i) {
    const TRealXY a{x(random), y(random)};
    TGraphObject o;
    switch (shape(random)) {
      case 0: o = TGraphLine(a, {x(random), y(random)}, qRgb(255, 255, 0)); break;
      case 1: o = TGraphCircle(a, radius(random), qRgb(0, 128, 0)); break;
      default: {
        // Radius of 5 mm or more and at least half a radian: the ends never share a pixel.
        const double r = 5 + radius(random), from = angle(random), to = from + 0.5 + angle(random) * 0.8;
        o = TGraphArcCW({a.X + r * std::cos(to), a.Y + r * std::sin(to)}, a,
                        {a.X + r * std::cos(from), a.Y + r * std::sin(from)}, qRgb(0, 255, 0));
      }
    }
    o.SetStyle(i % 3 == 0 ? kPenDashDot : kPenSolid, width(random));
    list.Add(o, w);
  }
  list.Add(TGraphCircle({50, 25 - 1e6}, 1e6, qRgb(255, 0, 0)), w);
  QImage image(w.Width, w.Height, QImage::Format_RGB32);
  QPainter p(&image);
  const size_t painted = list.Paint(image, p);
  const TSvgDrawing d = SvgDrawing(list, w);
  EXPECT_GT(painted, 100u);
  EXPECT_LT(painted, list.Count());
  EXPECT_EQ(d.Objects.size(), painted);
}

double Distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

TEST(SvgExport, ArcsRunInTheirDirectionOnTheCircle) {
  // G02 from (0, 0) about (10, 0) to (20, 0) is the upper half, G03 the lower.
  const struct {
    TGraphObject Arc;
    QPointF Start, Middle, End;
  } cases[] = {
      {TGraphArcCW({0, 0}, {10, 0}, {20, 0}, 0), {20, 0}, {10, 10}, {0, 0}},
      {TGraphArcCCW({0, 0}, {10, 0}, {20, 0}, 0), {0, 0}, {10, -10}, {20, 0}},
  };
  for (const auto& c : cases) {
    const QPainterPath path = RealPath(c.Arc, SmallView());
    EXPECT_LT(Distance(path.pointAtPercent(0), c.Start), 1e-9);
    EXPECT_LT(Distance(path.pointAtPercent(0.5), c.Middle), 1e-3);
    EXPECT_LT(Distance(path.pointAtPercent(1), c.End), 1e-9);
    for (int i = 0; i <= 100; ++i) EXPECT_NEAR(Distance(path.pointAtPercent(i / 100.0), {10, 0}), 10.0, 1e-4) << i;
  }
}

TEST(SvgExport, CircleIsClosedAndBoundedByItsSquare) {
  const QPainterPath path = RealPath(TGraphCircle({3, -4}, 2.5, 0), SmallView());
  EXPECT_LT(Distance(path.pointAtPercent(0), path.pointAtPercent(1)), 1e-12);
  const QRectF box = path.boundingRect();
  EXPECT_NEAR(box.left(), 0.5, 1e-9);
  EXPECT_NEAR(box.right(), 5.5, 1e-9);
  EXPECT_NEAR(box.top(), -6.5, 1e-9);
  EXPECT_NEAR(box.bottom(), -1.5, 1e-9);
}

TEST(SvgExport, HugeCircleKeepsOnlyItsRunNearTheView) {
  const TRealXY c{50, 25 - 1e6};
  const QPainterPath path = RealPath(TGraphCircle(c, 1e6, 0), SmallView());
  ASSERT_FALSE(path.isEmpty());
  const QRectF box = path.boundingRect();
  EXPECT_GT(box.left(), -10);  // 4 pixels of margin are 2 mm
  EXPECT_LT(box.right(), 110);
  for (int i = 0; i <= 20; ++i) EXPECT_NEAR(Distance(path.pointAtPercent(i / 20.0), {c.X, c.Y}), 1e6, 1e-6);
}

TEST(SvgExport, ViewBoxIsWhatThePixelsCover) {
  TViewWindow w = SmallView();
  w.YMax = 60;  // the picture's top row follows from YMin and the height, not from YMax
  TDisplayList list;
  const QRgb colours[] = {qRgb(1, 0, 0), qRgb(2, 0, 0), qRgb(3, 0, 0)};
  for (int i = 0; i < 3; ++i) list.Add(TGraphLine({10.0 * i, 5}, {10.0 * i + 5, 5}, colours[i]), w);
  list.Add(TGraphLine({500, 5}, {600, 5}, 0), w);
  const TSvgDrawing d = SvgDrawing(list, w);
  EXPECT_EQ(d.ViewBox, (TWindowRect{0, 100, 0, 50}));
  EXPECT_EQ(d.Pixels, QSize(200, 100));
  EXPECT_DOUBLE_EQ(d.MmPerPixel, 0.5);
  ASSERT_EQ(d.Objects.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(d.Objects[i].Pen.Colour, colours[i]);
  w.Width = 0;
  EXPECT_TRUE(SvgDrawing(list, w).Objects.empty());
}

struct TSvgFileTest : TTempFolderTest {
  QString In(const char* name) const { return QString::fromStdString(Folder.File(name)); }
};

TEST_F(TSvgFileTest, WrittenFileHoldsOnePathPerObjectInMillimetres) {
  const TViewWindow w = SmallView();
  TDisplayList list;
  list.Add(TGraphLine({10, 10}, {20, 20}, qRgb(255, 255, 0)), w);
  list.Add(Styled(TGraphLine({30, 10}, {60, 10}, qRgb(0, 0, 255)), kPenDashDot, 0), w);
  list.Add(Styled(TGraphCircle({70, 30}, 5, qRgb(0, 128, 0)), kPenSolid, 3), w);
  list.Add(TGraphArcCW({80, 10}, {85, 10}, {90, 10}, qRgb(0, 255, 0)), w);
  QFile file(In("d.svg"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_TRUE(WriteSvg(SvgDrawing(list, w), file));
  file.close();

  const TSvgRead svg = ReadSvg(In("d.svg"));
  ASSERT_TRUE(svg.Ok);
  EXPECT_EQ(svg.ViewBox, QRectF(0, -50, 100, 50));  // Y mirrored: SVG's Y runs down
  EXPECT_EQ(svg.Width, "52.9167mm");                // 200 pixels at 96 per inch
  EXPECT_EQ(svg.Height, "26.4583mm");
  EXPECT_EQ(svg.Rects, 1);  // the black ground
  ASSERT_EQ(svg.Paths.size(), 4u);
  EXPECT_EQ(svg.Paths[0].Stroke, QColor(255, 255, 0));
  EXPECT_DOUBLE_EQ(svg.Paths[0].StrokeWidth, 0.5);
  EXPECT_EQ(svg.Paths[0].DashArray, "");
  EXPECT_EQ(svg.Paths[1].Stroke, QColor(0, 0, 255));
  EXPECT_EQ(svg.Paths[1].DashArray, "2,1,0.5,1");
  EXPECT_DOUBLE_EQ(svg.Paths[2].StrokeWidth, 1.5);  // 3 pixels
  // Mirrored back, the paths lie at their real coordinates.
  const QTransform mirror(1, 0, 0, -1, 0, 0);
  EXPECT_EQ(mirror.map(svg.Paths[0].Path).boundingRect(), QRectF(10, 10, 10, 10));
  EXPECT_NEAR(mirror.map(svg.Paths[2].Path).boundingRect().left(), 65, 1e-4);
  EXPECT_NEAR(mirror.map(svg.Paths[3].Path).boundingRect().top(), 10, 1e-4);
  EXPECT_NEAR(mirror.map(svg.Paths[3].Path).boundingRect().bottom(), 15, 1e-4);  // the upper half

  // Rendered at the view's size, the line lights the pixels the view draws it on.
  QSvgRenderer renderer(In("d.svg"));
  ASSERT_TRUE(renderer.isValid());
  QImage image(w.Width, w.Height, QImage::Format_RGB32);
  QPainter p(&image);
  renderer.render(&p);
  p.end();
  const QRgb midLine = image.pixel(w.RealToPixelX(45), w.RealToPixelY(10));
  EXPECT_GT(qBlue(midLine), 100);
  EXPECT_EQ(image.pixel(w.RealToPixelX(45), w.RealToPixelY(40)), qRgb(0, 0, 0));
}

}  // namespace
