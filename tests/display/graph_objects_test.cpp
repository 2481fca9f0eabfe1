#include "display/graph_objects.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "display/display_list.h"
#include "display/pixel_clip.h"
#include "display/sim_view.h"

namespace {

constexpr QRgb kRed = 0xFFFF0000;

TViewWindow Window(TWindowRect r, int32_t width = 400, int32_t height = 300) {
  TViewWindow w;
  w.Width = width;
  w.Height = height;
  w.SetRect(r);
  w.UpdateScale();
  return w;
}

QImage PaintObjects(const TDisplayList& list, const TViewWindow& w, size_t* drawn = nullptr) {
  QImage image(w.Width, w.Height, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter p(&image);
  const size_t n = list.Paint(image, p);
  if (drawn) *drawn = n;
  return image;
}

TEST(GraphObjects, KindsStoreTheirPoints) {
  const TGraphArcCW cw({0, 0}, {10, 0}, {20, 0}, kRed);
  EXPECT_EQ(cw.Kind, 2);
  EXPECT_EQ(cw.P1, (TRealXY{0, 10}));
  EXPECT_EQ(cw.P2, (TRealXY{20, -10}));
  EXPECT_EQ(cw.P3, (TRealXY{20, 0}));
  EXPECT_EQ(cw.P4, (TRealXY{0, 0}));
  const TGraphArcCCW ccw({0, 0}, {10, 0}, {20, 0}, kRed);
  EXPECT_EQ(ccw.P3, (TRealXY{0, 0}));
  EXPECT_EQ(ccw.P4, (TRealXY{20, 0}));
  const TGraphCircle circle({5, 5}, 2, kRed);
  EXPECT_EQ(circle.Kind, 0);
  EXPECT_EQ(circle.P1, (TRealXY{3, 7}));
  TGraphLine line({1, 2}, {3, 4}, kRed);
  line.SetStyle(3, 300);
  EXPECT_EQ(line.Pen, (TPenSpec{kRed, kPenDashDot, 255}));
  line.SetStyle(0, -4);
  EXPECT_EQ(line.Pen, (TPenSpec{kRed, kPenSolid, 0}));
}

TEST(GraphObjects, PixelsAreComputedOncePerWindow) {
  TSimView v;
  v.Resize(400, 300);
  v.SetRect({0, 400, 0, 300});
  v.UpdateScale();
  v.AddLine({10, 10, 0}, {20, 30, 0}, 0, 1, QColor(kRed));
  EXPECT_EQ(v.Objects[0].X2, 20);  // converted when added
  EXPECT_EQ(v.Objects[0].Y2, 270);
  v.ZoomPoint({200, 150}, 0.5);
  EXPECT_EQ(v.Objects[0].X2, 20);  // ... and again only at the next paint
  v.PaintView();
  EXPECT_EQ(v.Objects[0].X2, -160);
  EXPECT_FALSE(v.NeedsRecalc);
}

TEST(DisplayList, ObjectsOutsideTheViewAreSkipped) {
  const TViewWindow w = Window({0, 400, 0, 300});
  TDisplayList list;
  for (int i = 0; i < 100; ++i) list.Add(TGraphLine({i * 10.0, 5}, {i * 10.0, 50}, kRed), w);
  list.Add(TGraphCircle({1000, 1000}, 5, kRed), w);
  list.Add(TGraphLine({-100, 100}, {1000, 100}, kRed), w);  // crosses the view
  size_t drawn = 0;
  PaintObjects(list, w, &drawn);
  EXPECT_EQ(drawn, 41u + 1u);  // X 0 .. 400 and the crossing line
}

TEST(DisplayList, HugeCoordinatesAreClippedNotOverflowed) {
  // 1 pixel per micrometre, far from the points of the lines.
  const TViewWindow w = Window({-0.2, 0.2, -0.15, 0.15});
  TDisplayList list;
  list.Add(TGraphLine({-1e12, 0.1}, {1e12, 0.1}, kRed), w);     // horizontal through the view
  list.Add(TGraphLine({-1e12, -1e12}, {1e12, 1e12}, kRed), w);  // the diagonal
  list.Add(TGraphLine({5e9, 5e9}, {6e9, 6e9}, kRed), w);        // far outside
  list.Add(TGraphLine({0, 0}, {std::nan(""), 1}, kRed), w);
  list.Add(TGraphLine({0, 0}, {INFINITY, 1}, kRed), w);
  list.Add(TGraphLine({-1e300, -1e300}, {1e300, 1e300}, kRed), w);
  for (size_t i = 0; i < list.Count(); ++i) {
    if (list[i].Form == TPixelForm::Hidden) continue;
    for (int32_t v : {list[i].X1, list[i].Y1, list[i].X2, list[i].Y2}) EXPECT_LE(std::abs(v), 2'000'000);
  }
  for (size_t i : {2, 3, 4}) EXPECT_EQ(list[i].Form, TPixelForm::Hidden) << i;
  size_t drawn = 0;
  const QImage image = PaintObjects(list, w, &drawn);
  EXPECT_GE(drawn, 2u);
  EXPECT_EQ(image.pixel(100, w.RealToPixelY(0.1)), kRed);
  EXPECT_EQ(image.pixel(w.RealToPixelX(0.05), w.RealToPixelY(0.05)), kRed);
}

TEST(DisplayList, HugeCirclesBecomePolylinesNearTheView) {
  const TViewWindow w = Window({-0.2, 0.2, -0.15, 0.15});  // 1000 pixels per millimetre
  TDisplayList list;
  list.Add(TGraphCircle({0, -1000}, 1000, kRed), w);               // top touches the X axis
  list.Add(TGraphArcCCW({1000, 0}, {0, 0}, {-1000, 0}, kRed), w);  // upper half, radius 1000 mm
  list.Add(TGraphArcCW({1000, 0}, {0, 0}, {-1000, 0}, kRed), w);   // lower half
  list.Add(TGraphCircle({0, 0}, 1e9, kRed), w);                    // far beyond every edge
  EXPECT_EQ(list[0].Form, TPixelForm::Polyline);
  EXPECT_EQ(list[1].Form, TPixelForm::Hidden);  // passes 1000 mm above the view
  EXPECT_EQ(list[3].Form, TPixelForm::Hidden);
  const QImage image = PaintObjects(list, w);
  const int32_t y0 = w.RealToPixelY(0);
  for (int32_t x : {5, 200, 395}) EXPECT_EQ(image.pixel(x, y0), kRed) << x;  // flat at this zoom
  EXPECT_EQ(image.pixel(200, y0 - 3), 0xFF000000u);

  // An arc through the view: the part inside is drawn, the sampled points stay near the view.
  TDisplayList arc;
  arc.Add(TGraphArcCCW({0, 0}, {0, 100}, {100, 100}, kRed), w);  // radius 100 mm, from the origin
  ASSERT_EQ(arc[0].Form, TPixelForm::Polyline);
  EXPECT_EQ(PaintObjects(arc, w).pixel(300, y0), kRed);  // leaves to the right
  TDisplayList other;
  other.Add(TGraphArcCW({0, 0}, {0, 100}, {100, 100}, kRed), w);  // clockwise: leaves to the left
  EXPECT_NE(PaintObjects(other, w).pixel(300, y0), kRed);
  EXPECT_EQ(PaintObjects(other, w).pixel(100, y0), kRed);
}

TEST(PixelClip, SegmentsAreCutToTheBox) {
  const TWindowRect box{0, 10, 0, 10};
  struct {
    TRealXY A, B;
    bool Inside;
    TRealXY CutA, CutB;
  } cases[] = {
      {{2, 2}, {8, 8}, true, {2, 2}, {8, 8}},     {{-10, 5}, {20, 5}, true, {0, 5}, {10, 5}},
      {{5, 20}, {5, -20}, true, {5, 10}, {5, 0}}, {{-5, -5}, {-1, 20}, false, {}, {}},
      {{11, 0}, {20, 10}, false, {}, {}},         {{-10, 0}, {0, -10}, false, {}, {}},
  };
  for (const auto& c : cases) {
    TRealXY a = c.A, b = c.B;
    ASSERT_EQ(ClipSegment(a, b, box), c.Inside);
    if (!c.Inside) continue;
    EXPECT_EQ(a, c.CutA);
    EXPECT_EQ(b, c.CutB);
  }
}

TEST(PixelClip, ArcRunsCoverTheBoxSeenFromTheCentre) {
  constexpr double kPi = std::numbers::pi;
  const TWindowRect box{-1, 1, 99, 101};  // straight above the centre, on the circle of radius 100
  const TAngleRuns full = VisibleArcRuns({0, 0}, 100, 0, 2 * kPi, box);
  ASSERT_EQ(full.Count, 1);
  EXPECT_LT(full.Run[0].From, kPi / 2);
  EXPECT_GT(full.Run[0].To, kPi / 2);
  EXPECT_LT(full.Run[0].To - full.Run[0].From, 0.03);
  // An arc from 180 degrees round through 0 to 80 degrees never reaches the box.
  EXPECT_EQ(VisibleArcRuns({0, 0}, 100, kPi, 1.44 * kPi, box).Count, 0);
  // A run that wraps past the arc's start: two pieces.
  const TWindowRect across{99, 101, -1, 1};  // at angle 0
  EXPECT_EQ(VisibleArcRuns({0, 0}, 100, 0, 2 * kPi, across).Count, 2);
  EXPECT_EQ(VisibleArcRuns({0, 0}, 50, 0, 2 * kPi, box).Count, 0);  // too small to reach it
}

TGraphObject WithPen(TGraphObject o, int width) {
  o.SetStyle(0, width);
  return o;
}

// Runs of objects far from the view are skipped when pixels are recomputed; what the list
// shows and reports must be what converting every object gives.

// A path that wanders from place to place, as programs do: far more objects than one run
// holds, thick pens and arcs among them, a huge circle and objects that are not finite.
std::vector<TGraphObject> Wandering() {
  std::vector<TGraphObject> out;
  for (int i = 0; i < 3000; ++i) {
    const double x = (i / 100) * 40.0 + std::fmod(i * 0.37, 30.0), y = (i % 700) * 0.5;
    const QRgb colour = 0xFF000000u | static_cast<QRgb>(0x10203 * (i % 50 + 1));
    switch (i % 5) {
      case 0: out.push_back(WithPen(TGraphLine({x, y}, {x + 3, y + 1}, colour), 0)); break;
      case 1: out.push_back(WithPen(TGraphCircle({x, y}, 2, colour), i % 3 == 0 ? 9 : 0)); break;
      case 2: out.push_back(WithPen(TGraphArcCCW({x + 2, y}, {x, y}, {x - 2, y}, colour), 0)); break;
      case 3: out.push_back(WithPen(TGraphArcCW({x + 4, y}, {x, y}, {x, y + 4}, colour), 12)); break;
      default: out.push_back(WithPen(TGraphLine({x, y}, {x, y + 5}, colour), 20)); break;
    }
  }
  out.push_back(WithPen(TGraphCircle({500, 150}, 1e6, 0xFFFF0000), 0));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  out.push_back(WithPen(TGraphLine({nan, 0}, {10, 10}, 0xFF00FF00), 0));
  for (int i = 0; i < 300; ++i) out.push_back(WithPen(TGraphLine({0, i * 0.1}, {5, i * 0.1}, 0xFF0000FF), 0));
  return out;
}

void ExpectSameObjects(const TDisplayList& a, const TDisplayList& b, const std::string& what) {
  const std::vector<TGraphObject> x = a.All(), y = b.All();
  ASSERT_EQ(x.size(), y.size()) << what;
  for (size_t i = 0; i < x.size(); ++i) {
    EXPECT_EQ(x[i].Form, y[i].Form) << what << " object " << i;
    if (x[i].Form == TPixelForm::Hidden) continue;
    EXPECT_EQ(x[i].X1, y[i].X1) << what << " object " << i;
    EXPECT_EQ(x[i].Y1, y[i].Y1) << what << " object " << i;
    EXPECT_EQ(x[i].X2, y[i].X2) << what << " object " << i;
    EXPECT_EQ(x[i].Y2, y[i].Y2) << what << " object " << i;
  }
}

struct TCase {
  std::string What;
  TWindowRect Rect;
};

TEST(DisplayListCulling, RecalcShowsWhatConvertingEveryObjectShows) {
  const std::vector<TCase> cases = {
      {"everything", {-20, 1300, -20, 400}},
      {"zoomed into the middle", {600, 630, 150, 170}},
      {"zoomed onto the first run", {-2, 8, 0, 7}},
      {"edge of the huge circle", {1000490, 1000510, 140, 155}},
      {"far from everything", {-9000, -8000, -9000, -8500}},
      {"a thick pen's reach beyond the view", {45.5, 60, 380, 400}},
  };
  const std::vector<TGraphObject> objects = Wandering();
  const TViewWindow start = Window({-20, 1300, -20, 400});
  for (const TCase& c : cases) {
    const TViewWindow w = Window(c.Rect);
    TDisplayList recalculated, converted;
    for (const TGraphObject& o : objects) recalculated.Add(o, start), converted.Add(o, w);
    recalculated.Recalc(w);
    size_t drawnA = 0, drawnB = 0;
    const QImage a = PaintObjects(recalculated, w, &drawnA), b = PaintObjects(converted, w, &drawnB);
    EXPECT_TRUE(a == b) << c.What;
    EXPECT_EQ(drawnA, drawnB) << c.What;
    ExpectSameObjects(recalculated, converted, c.What);

    // Objects added after a recalculation join a run that was skipped.
    recalculated.Recalc(w);
    recalculated.Add(objects[5], w), converted.Add(objects[5], w);
    const QImage a2 = PaintObjects(recalculated, w, &drawnA), b2 = PaintObjects(converted, w, &drawnB);
    EXPECT_TRUE(a2 == b2) << c.What << " after an add";
    EXPECT_EQ(drawnA, drawnB) << c.What << " after an add";
  }
}

// Thousands of thin objects in six colours heaped over a small picture until every pixel is
// drawn many times over, partly beyond the view, and one wide circle among the first.
std::vector<TGraphObject> Heap() {
  std::vector<TGraphObject> out;
  for (int i = 0; i < 4000; ++i) {
    const double x = std::fmod(i * 7.31, 110.0) - 5, y = std::fmod(i * 3.77, 75.0) - 5;
    const QRgb colour = 0xFF000000u | static_cast<QRgb>(0x203040 * (i % 6 + 1));
    switch (i % 4) {
      case 0: out.push_back(TGraphLine({x, y}, {x + std::fmod(i * 1.3, 40.0) - 20, y + 9}, colour)); break;
      case 1: out.push_back(TGraphCircle({x, y}, 0.5 + (i % 9), colour)); break;
      case 2: out.push_back(TGraphArcCCW({x + 6, y}, {x, y}, {x - 3, y - 5.196}, colour)); break;
      default: out.push_back(TGraphArcCW({x, y + 30}, {x, y}, {x + 30, y}, colour)); break;
    }
    if (i % 12 == 0) out.back().SetStyle(kPenDashDot, 1);  // dash-dot lines
    if (i == 5) out.back().SetStyle(kPenSolid, 3);         // QPainter draws the wide circle
  }
  return out;
}

// Painting the whole list at once (backwards, pixels computed run by run, ending once the
// picture is full) shows exactly what painting the objects one after the other shows.
TEST(DisplayList, PaintingAtOnceShowsWhatPaintingOneByOneShows) {
  const std::vector<TGraphObject> objects = Heap();
  for (const TWindowRect& rect : {TWindowRect{0, 100, 0, 70}, TWindowRect{40, 60, 30, 44}}) {
    const TViewWindow w = Window(rect, 160, 112);
    TDisplayList list;
    for (const TGraphObject& o : objects) list.Add(o, Window({-500, 500, -500, 500}, 160, 112));
    list.Recalc(w);
    const QImage atOnce = PaintObjects(list, w);

    list.Recalc(w);
    QImage oneByOne(w.Width, w.Height, QImage::Format_RGB32);
    oneByOne.fill(Qt::black);
    QPainter painter(&oneByOne);
    for (size_t i = 0; i < list.Count(); ++i) list.Paint(oneByOne, painter, TPaintMethod::Fast, {i, i + 1});
    painter.end();
    int differing = 0;
    for (int y = 0; y < w.Height; ++y)
      for (int x = 0; x < w.Width; ++x) differing += atOnce.pixel(x, y) != oneByOne.pixel(x, y);
    EXPECT_EQ(differing, 0) << rect.XMin << ".." << rect.XMax;
    // The objects read back as they would have been converted one by one.
    TDisplayList converted;
    for (const TGraphObject& o : objects) converted.Add(o, w);
    ExpectSameObjects(list, converted, "after painting");
  }
}

// Once later objects have drawn every pixel, the earlier ones are not even looked at.
TEST(DisplayList, ObjectsUnderAWhollyDrawnPictureArePassedOver) {
  std::vector<TGraphObject> objects = Heap();
  const size_t heap = objects.size();
  for (double y = -1; y < 72; y += 0.25) objects.push_back(TGraphLine({-1, y}, {101, y}, kRed));  // every row
  const TViewWindow w = Window({0, 100, 0, 70}, 160, 112);
  TDisplayList list;
  for (const TGraphObject& o : objects) list.Add(o, w);
  list.Recalc(w);
  size_t drawn = 0;
  const QImage picture = PaintObjects(list, w, &drawn);
  EXPECT_LT(drawn, objects.size() - heap + 100);
  for (int y = 0; y < w.Height; ++y)
    for (int x = 0; x < w.Width; ++x) ASSERT_EQ(picture.pixel(x, y), kRed) << x << ", " << y;
}

}  // namespace
