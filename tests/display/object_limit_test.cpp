// A view that paints only a prefix of its objects shows exactly what a view holding only
// those objects shows, however the limit got there: step by step, backwards or by jumps.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>
#include <vector>

#include "display/sim_view.h"

namespace {

TPoint At(double x, double y) { return {x, y, 0}; }

// Objects of every shape, pen and drawing method, overlapping so that the order shows;
// the huge circle is drawn as a sampled polyline.
const std::vector<std::function<void(TSimView&)>>& Objects() {
  static const std::vector<std::function<void(TSimView&)>> all = {
      [](TSimView& v) { v.AddLine(At(0, 0), At(50, 40), 0, 0, QColor(255, 255, 0)); },
      [](TSimView& v) { v.AddCircle(At(20, 20), 0, 8, 0, QColor(0, 128, 0)); },
      [](TSimView& v) { v.AddLine(At(0, 40), At(60, 0), 3, 0, QColor(0, 0, 255)); },
      [](TSimView& v) { v.AddArcCCW(At(60, 10), At(40, 10), 0, 1, QColor(0, 255, 0), At(50, 10)); },
      [](TSimView& v) { v.AddCircle(At(40, -39960), 0, 40000, 0, QColor(255, 0, 255)); },  // top at Y 40
      [](TSimView& v) { v.AddLine(At(10, 10), At(70, 50), 0, 3, QColor(255, 0, 0)); },
      [](TSimView& v) { v.AddArcCW(At(30, 30), At(50, 30), 0, 0, QColor(0, 255, 255), At(40, 30)); },
      [](TSimView& v) { v.AddCross(At(40, 20), 0, 1, QColor(255, 255, 255)); },
      [](TSimView& v) { v.AddCircle(At(45, 25), 0, 12, 2, QColor(255, 128, 0)); },
      [](TSimView& v) { v.AddLine(At(-5, 25), At(75, 25), 0, 1, QColor(128, 128, 255)); },
  };
  return all;
}

void Prepare(TSimView& v, size_t objects) {
  v.Resize(200, 150);
  v.SetRect({-10, 90, -10, 65});
  v.UpdateScale();
  v.SetGridSize(10);
  for (size_t i = 0; i < objects; ++i) Objects()[i](v);
}

size_t ObjectCount() {
  TSimView v;
  Prepare(v, Objects().size());
  return v.Objects.Count();
}

// The picture of a view that holds the first `count` objects (crosses are two objects, so
// the prefix is counted in objects of the list, not in calls).
QImage FreshPicture(size_t count) {
  TSimView all;
  Prepare(all, Objects().size());
  TSimView v;
  Prepare(v, 0);
  const std::vector<TGraphObject> objects = all.Objects.All();
  for (size_t i = 0; i < count; ++i) v.Objects.Add(objects[i], v);
  v.Invalidate();
  v.PaintView();
  return v.BackBuffer();
}

}  // namespace

TEST(ObjectLimit, EveryPathToALimitShowsTheSamePicture) {
  const size_t n = ObjectCount();
  std::vector<QImage> fresh;
  for (size_t k = 0; k <= n; ++k) fresh.push_back(FreshPicture(k));
  for (size_t k = 0; k < n; ++k) EXPECT_FALSE(fresh[k] == fresh[k + 1]) << "object " << k << " leaves marks of its own";

  std::vector<size_t> forward, backward, jumps = {n, 2, 7, 0, n - 1, 5, 5, 9, 1};
  for (size_t k = 0; k <= n; ++k) forward.push_back(k), backward.push_back(n - k);
  for (const auto& [name, path] : {std::pair{"forward", forward}, {"backward", backward}, {"jumps", jumps}}) {
    TSimView v;
    Prepare(v, Objects().size());
    v.PaintView();
    for (size_t k : path) {
      v.SetObjectLimit(k);
      v.PaintView();
      EXPECT_TRUE(v.BackBuffer() == fresh[k]) << name << " at " << k;
    }
  }
}

TEST(ObjectLimit, StepForwardThenBackGivesTheSamePicture) {
  TSimView v;
  Prepare(v, Objects().size());
  v.SetObjectLimit(5);
  v.PaintView();
  const QImage before = v.BackBuffer();
  const size_t drawn = v.LastDrawnCount();
  v.SetObjectLimit(6);
  v.PaintView();
  EXPECT_FALSE(v.BackBuffer() == before);
  v.SetObjectLimit(5);
  v.PaintView();
  EXPECT_TRUE(v.BackBuffer() == before);
  EXPECT_EQ(v.LastDrawnCount(), drawn);
}

TEST(ObjectLimit, AllObjectsByDefaultAndBeyondTheList) {
  TSimView v;
  Prepare(v, Objects().size());
  EXPECT_EQ(v.ObjectLimit(), TSimView::kAllObjects);
  v.PaintView();
  EXPECT_EQ(v.Objects[4].Form, TPixelForm::Polyline) << "a prefix may start past sampled curves";
  const QImage all = v.BackBuffer();
  v.SetObjectLimit(v.Objects.Count() + 5);
  v.PaintView();
  EXPECT_TRUE(v.BackBuffer() == all);
  EXPECT_TRUE(all == FreshPicture(v.Objects.Count()));
}

TEST(ObjectLimit, AWindowChangeRepaintsThePrefixOnly) {
  TSimView v, fresh;
  Prepare(v, Objects().size());
  Prepare(fresh, 0);
  const std::vector<TGraphObject> objects = v.Objects.All();
  for (size_t i = 0; i < 6; ++i) fresh.Objects.Add(objects[i], fresh);
  v.SetObjectLimit(6);
  v.PaintView();
  for (TSimView* view : {&v, &fresh}) {
    view->ZoomPoint({100, 75}, 0.5);
    view->PaintView();
  }
  EXPECT_TRUE(v.BackBuffer() == fresh.BackBuffer());
}

// Thousands of objects: prefixes at whole multiples of the picture step are kept on the way,
// and backward jumps paint on from them.
TEST(ObjectLimit, JumpsAroundKeptPrefixPicturesShowTheFreshPicture) {
  constexpr size_t kLines = 40000;
  const auto fill = [](TSimView& v, size_t count) {
    Prepare(v, 0);
    for (size_t i = 0; i < count; ++i) {
      const double t = static_cast<double>(i);
      // Lines wander over the view in colours that change, so that each prefix differs.
      v.Objects.Add(TGraphLine({std::fmod(t * 0.37, 80), std::fmod(t * 0.23, 55)},
                               {std::fmod(t * 0.61, 80), std::fmod(t * 0.41, 55)},
                               qRgb(static_cast<int>(i % 251), static_cast<int>(i / 251 % 256), 255)),
                    v);
    }
    v.Invalidate();
  };
  TSimView v;
  fill(v, kLines);
  // The step between kept pictures: a ninth of the list.
  const size_t step = kLines / 9 + 1;
  const std::vector<size_t> limits = {kLines - 1, step - 1, step,         step + 1, 3 * step + 7, 2 * step, 0,
                                      8 * step,   kLines,   8 * step - 1, 5,        7 * step + 1, 4 * step};
  v.SetObjectLimit(0);
  v.PaintView();
  for (size_t limit : limits) {
    v.SetObjectLimit(limit);
    v.PaintView();
    TSimView fresh;
    fill(fresh, limit);
    fresh.PaintView();
    EXPECT_TRUE(v.BackBuffer() == fresh.BackBuffer()) << limit;
    EXPECT_EQ(v.LastDrawnCount(), fresh.LastDrawnCount()) << limit;
  }
}
