// The view's own drawing of thin pens against plain QPainter drawing of the same display
// list: the same colours, and nearly every lit pixel of each picture has a lit pixel of the
// same colour at most one pixel away in the other.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <numbers>
#include <set>
#include <string>

#include "display/draw_elements.h"
#include "display/sim_view.h"
#include "engine/cnc_api.h"

namespace {

namespace fs = std::filesystem;

constexpr double kMinMatched = 0.995;
constexpr QRgb kBlack = 0xFF000000;

struct TMatch {
  size_t Lit = 0;
  size_t Matched = 0;  // lit pixels with a pixel of the same colour within one pixel in the other
  std::set<QRgb> Colours;
  double Share() const { return Lit == 0 ? 1.0 : double(Matched) / double(Lit); }
};

TMatch MatchInto(const QImage& a, const QImage& b) {
  TMatch m;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb c = a.pixel(x, y);
      if (c == kBlack) continue;
      ++m.Lit;
      m.Colours.insert(c);
      bool found = false;
      for (int dy = -1; dy <= 1 && !found; ++dy)
        for (int dx = -1; dx <= 1 && !found; ++dx) found = b.valid(x + dx, y + dy) && b.pixel(x + dx, y + dy) == c;
      m.Matched += found;
    }
  }
  return m;
}

QImage PaintWith(const TDisplayList& list, const TViewWindow& w, TPaintMethod method) {
  QImage image(w.Width, w.Height, QImage::Format_RGB32);
  image.fill(kBlack);
  QPainter p(&image);
  list.Paint(image, p, method);
  return image;
}

// Both pictures of the view's objects compared both ways. Each colour is painted as a
// layer of its own: where shapes of different colours meet, which one shows on top depends
// on sub-pixel detail, not on the drawing.
void ExpectSamePicture(const TSimView& v, const std::string& what) {
  std::map<QRgb, TDisplayList> layers;
  for (const TGraphObject& o : v.Objects.All()) layers[o.Pen.Colour].Add(o, v);
  TMatch there, back;
  for (const auto& [colour, list] : layers) {
    const QImage fast = PaintWith(list, v, TPaintMethod::Fast);
    const QImage reference = PaintWith(list, v, TPaintMethod::Reference);
    const TMatch a = MatchInto(fast, reference), b = MatchInto(reference, fast);
    there.Lit += a.Lit;
    there.Matched += a.Matched;
    there.Colours.merge(TMatch(a).Colours);
    back.Lit += b.Lit;
    back.Matched += b.Matched;
    back.Colours.merge(TMatch(b).Colours);
  }
  EXPECT_EQ(there.Colours, back.Colours) << what;
  EXPECT_GE(there.Share(), kMinMatched) << what << ": " << there.Matched << " of " << there.Lit;
  EXPECT_GE(back.Share(), kMinMatched) << what << ": " << back.Matched << " of " << back.Lit;
}

void SetWindow(TSimView& v, int width, int height, double xMin, double yMin, double scale) {
  v.Resize(width, height);
  v.SetRect({xMin, xMin + width / scale, yMin, yMin + height / scale});
  v.UpdateScale();
}

TPoint At(double x, double y) { return {x, y, 0}; }

TEST(PaintCompare, MatchingAllowsOnePixelAndNoMore) {
  QImage a(20, 10, QImage::Format_RGB32), near(a.size(), a.format()), far(a.size(), a.format());
  for (QImage* i : {&a, &near, &far}) i->fill(kBlack);
  for (int x = 2; x < 18; ++x) {
    a.setPixel(x, 4, 0xFFFF0000);
    near.setPixel(x, 5, 0xFFFF0000);
    far.setPixel(x, 6, 0xFFFF0000);
  }
  EXPECT_EQ(MatchInto(a, near).Share(), 1.0);
  EXPECT_EQ(MatchInto(a, far).Share(), 0.0);
  for (int x : {9, 10, 11}) near.setPixel(x, 5, 0xFF00FF00);  // another colour does not count
  EXPECT_EQ(MatchInto(a, near).Matched, 15u);
}

// Arcs and circles of every size, both directions, starting in every quadrant. Small ones
// each in a cell of their own; large ones through the middle of the view.
TEST(PaintCompare, ArcsAndCirclesOfEverySize) {
  const QColor colours[] = {QColor(255, 255, 0), QColor(0, 255, 0), QColor(0, 128, 255)};
  for (double radius : {0.2, 0.5, 1.0, 1.5, 2.5, 4.0, 7.0, 12.0, 30.0, 90.0, 400.0, 2000.0, 20000.0}) {
    TSimView v;
    SetWindow(v, 320, 240, 0, 0, 1.0);
    const bool small = radius < 10;
    int cell = 0;
    for (double start : {0.3, 1.9, 3.5, 5.2}) {  // one start in each quadrant
      for (double sweep : {0.7, 2.0, 3.9, 6.1}) {
        for (int kind = 0; kind < 3; ++kind) {
          const double mid = start + sweep / 2;
          const double cx = small ? 14 + (cell % 12) * 26 : 160 - radius * std::cos(mid);
          const double cy = small ? 14 + (cell / 12) * 26 : 120 - radius * std::sin(mid);
          ++cell;
          const TPoint c = At(cx, cy);
          const TPoint a = At(cx + radius * std::cos(start), cy + radius * std::sin(start));
          const TPoint e = At(cx + radius * std::cos(start + sweep), cy + radius * std::sin(start + sweep));
          if (kind == 0) v.AddArcCCW(a, e, kPenSolid, 0, colours[kind], c);
          if (kind == 1) v.AddArcCW(a, e, kPenSolid, 1, colours[kind], c);
          if (kind == 2) v.AddArcCW(a, e, kPenSolid, 0, colours[kind], At(cx + radius / 3, cy + radius / 2));
        }
      }
    }
    v.AddArcCW(At(20 + radius, 220), At(20 + radius, 220), kPenSolid, 0, QColor(255, 0, 0), At(20, 220));
    v.AddCircle(At(300, 220 - radius), kPenSolid, radius, 0, QColor(0, 128, 0));
    ExpectSamePicture(v, "radius " + std::to_string(radius));
  }
}

// Dash-dot rapids, pens of width 0, 1 and 3, objects partly outside and far outside the view.
TEST(PaintCompare, PensStylesAndTheEdgesOfTheView) {
  TSimView v;
  SetWindow(v, 300, 200, -10, -10, 2.0);
  for (int i = 0; i < 24; ++i) {
    const double angle = i * std::numbers::pi / 12;
    const TPoint from = At(65 + 8 * std::cos(angle), 40 + 8 * std::sin(angle));
    const TPoint to = At(65 + 90 * std::cos(angle), 40 + 90 * std::sin(angle));
    v.AddLine(from, to, kPenDashDot, 0, QColor(0, 0, 255));
  }
  for (int width : {0, 1, 3}) {
    const double y = 10 + width * 12;
    const QColor colour = width == 3 ? QColor(255, 0, 255) : QColor(255, 255, 0);
    v.AddLine(At(-40, y), At(200, y + 15), kPenSolid, width, colour);
    v.AddCircle(At(130, y), kPenSolid, 6, width, colour);
    v.AddArcCCW(At(100 + 5, y), At(100, y + 5), kPenSolid, width, colour, At(100, y));
    v.AddCross(At(20 + width * 10, 75), kPenSolid, width, QColor(255, 0, 0));
  }
  v.AddArcCW(At(0, 0), At(0, 200), kPenDashDot, 1, QColor(0, 255, 255), At(0, 100));  // a dash-dot arc
  v.AddLine(At(-1e12, 3), At(1e12, 5), kPenSolid, 0, QColor(255, 255, 255));          // huge coordinates
  v.AddLine(At(-1e9, -1e9), At(1e9, 1e9), kPenSolid, 1, QColor(0, 255, 0));
  v.AddCircle(At(5e8, 5e8), kPenSolid, 1e6, 0, QColor(0, 255, 0));    // far outside
  v.AddCircle(At(60, -3000), kPenSolid, 3050, 0, QColor(0, 128, 0));  // mostly outside
  v.AddArcCCW(At(1e6, 0), At(-1e6, 0), kPenSolid, 0, QColor(0, 128, 0), At(0, -1e6 + 60));
  ExpectSamePicture(v, "pens and edges");
}

// Circles and arcs of hundreds to thousands of pixels whose centre lies outside the view,
// so that only a short piece of each crosses it.
TEST(PaintCompare, LargeCirclesMostlyOutsideTheView) {
  TSimView v;
  SetWindow(v, 320, 240, 0, 0, 1.0);
  int k = 0;
  for (double radius : {300.0, 900.0, 2500.0, 4000.0}) {
    for (const auto& [dx, dy] :
         {std::pair{-1.0, 0.3}, std::pair{1.0, -0.2}, std::pair{0.2, 1.0}, std::pair{-0.4, -1.0}}) {
      const double n = std::hypot(dx, dy), cx = 160 + dx / n * (radius + 60), cy = 120 + dy / n * (radius + 40);
      const QColor colour = ++k % 2 ? QColor(0, 128, 0) : QColor(255, 255, 0);
      v.AddCircle(At(cx, cy), kPenSolid, radius, 0, colour);
      v.AddCircle(At(cx, cy), kPenSolid, radius - 80, 1, colour);
      const double towards = std::atan2(120 - cy, 160 - cx);
      v.AddArcCCW(At(cx + radius * std::cos(towards - 0.5), cy + radius * std::sin(towards - 0.5)),
                  At(cx + radius * std::cos(towards + 0.01), cy + radius * std::sin(towards + 0.01)), kPenSolid, 0,
                  QColor(0, 255, 255), At(cx, cy));
    }
  }
  ExpectSamePicture(v, "large circles");
}

// Thin objects are painted from the last to the first, skipping those that later ones hide
// wholly, as long as every pen has a colour slot (255); with more pens they are painted in
// list order. Both give the same picture, pixel for pixel, whatever lies on top of what.
TEST(PaintCompare, PaintingBackwardsKeepsWhatLiesOnTop) {
  TViewWindow w;
  w.Width = 120;
  w.Height = 90;
  w.SetRect({0, 120, 0, 90});
  w.UpdateScale();
  TDisplayList scene;
  const QRgb colours[] = {qRgb(255, 255, 0), qRgb(0, 255, 0), qRgb(0, 128, 0), qRgb(0, 0, 255)};
  uint32_t seed = 7;
  const auto next = [&seed](double range) {
    seed = seed * 1664525u + 1013904223u;
    return range * (seed >> 8) / double(1u << 24);
  };
  for (int i = 0; i < 1500; ++i) {
    const TRealXY a{next(130) - 5, next(100) - 5}, b{a.X + next(40) - 20, a.Y + next(40) - 20};
    TGraphObject o = TGraphLine(a, b, colours[i % 4]);
    if (i % 3 == 1) o = TGraphCircle(a, next(i % 50 == 1 ? 60 : 6), colours[i % 4]);
    if (i % 6 == 2) o = TGraphArcCW(a, b, {a.X + 3, a.Y - 2}, colours[i % 4]);
    if (i % 6 == 5) o = TGraphArcCCW(a, b, {b.X, a.Y}, colours[i % 4]);
    o.SetStyle(i % 7 == 0 ? kPenDashDot : kPenSolid, i == 700 || i == 1100 ? 3 : i % 2);  // two wide pens
    scene.Add(o, w);
  }
  scene.Recalc(w);
  ASSERT_LT(scene.PenCount(), 255u);
  QImage pictures[2];
  for (const size_t pens : {size_t{255}, size_t{256}}) {
    TDisplayList list;
    for (const TGraphObject& o : scene.All()) list.Add(o, w);
    // Objects far outside the view bring the list up to `pens` pens.
    for (int extra = 0; list.PenCount() < pens; ++extra)
      list.Add(TGraphLine({-1e6, 0}, {-1e6 + 1, 0}, qRgb(1, extra / 200, extra % 200)), w);
    ASSERT_EQ(list.PenCount(), pens);
    pictures[pens - 255] = PaintWith(list, w, TPaintMethod::Fast);
  }
  EXPECT_TRUE(pictures[0] == pictures[1]);
}

// The contour and cutting path of a program drawn as the viewer does, in the start
// window and in a window fitted to the program.
void ExpectSameProgram(const fs::path& file) {
  int32_t handle = 0;
  const int32_t lines = CncOpen(file.c_str(), &handle);
  if (lines <= 0) {
    CncClose(handle);
    return;
  }
  TToolTable tools{};
  for (int t = 0; t < 255; ++t) {
    tools[t].Diameter = 1.0 + t % 7;
    CncSetToolRadius(handle, static_cast<uint8_t>(t), static_cast<int32_t>(tools[t].Diameter * 500));
  }
  const TCncPoint start{0, 0, 0};
  CncRun(handle, &start);
  double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
  for (int32_t i = 0; i < CncGetCount(handle, 0); ++i) {
    TCncElementData e{};
    if (CncGetElement(handle, i, 0, &e) != 0 || !std::isfinite(e.P1.X) || !std::isfinite(e.P1.Y)) continue;
    xMin = std::min(xMin, e.P1.X);
    xMax = std::max(xMax, e.P1.X);
    yMin = std::min(yMin, e.P1.Y);
    yMax = std::max(yMax, e.P1.Y);
  }
  const double fitted = std::min(360 / std::max(xMax - xMin, 1e-3), 240 / std::max(yMax - yMin, 1e-3));
  for (const auto& [x0, y0, scale] : {std::tuple{-40.0, -40.0, 400 / 600.0}, std::tuple{xMin, yMin, fitted}}) {
    TSimView v;
    SetWindow(v, 400, 260, x0 - 20 / scale, y0 - 10 / scale, scale);
    int32_t tool = 0;
    const TDrawRun run{&tools, &tool, true, {}};
    DrawProgram(v, handle, {true, true}, run);
    ExpectSamePicture(v, file.filename().string() + " at scale " + std::to_string(scale));
  }
  CncClose(handle);
}

TEST(PaintCompare, ExamplePrograms) {
  CncSetFontPath(VELQUOR_FONT_DIR);
  for (const auto& entry : fs::directory_iterator(fs::path(VELQUOR_SOURCE_DIR) / "examples"))
    if (entry.path().extension() == ".cnc") ExpectSameProgram(entry.path());
}

TEST(PaintCompare, CorpusPrograms) {
  const fs::path corpus = fs::path(VELQUOR_SHARED_DIR) / "corpus" / "gcode";
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus beside the repository";
  CncSetFontPath(VELQUOR_FONT_DIR);
  for (const auto& entry : fs::directory_iterator(corpus))
    if (entry.is_regular_file()) ExpectSameProgram(entry.path());
}

}  // namespace
