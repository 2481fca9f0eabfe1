// A repaint that reuses the picture of the last paint shows exactly what a fresh view with
// the same window, grid, objects and markers paints.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "display/sim_view.h"

namespace {

TPoint At(double x, double y) { return {x, y, 0}; }

void Prepare(TSimView& v) {
  v.Resize(200, 150);
  v.SetRect({-10, 90, -10, 65});
  v.UpdateScale();
  v.SetGridSize(10);
  v.AddLine(At(0, 0), At(50, 40), 0, 0, QColor(255, 255, 0));
  v.AddArcCCW(At(60, 10), At(40, 10), 0, 0, QColor(0, 255, 0), At(50, 10));
  v.AddCircle(At(20, 30), 0, 8, 2, QColor(0, 0, 255));
}

struct TChange {
  std::string What;
  std::function<void(TSimView&)> Apply;
};

TEST(Repaint, ShowsWhatAFreshPaintShows) {
  const std::vector<TChange> changes = {
      {"nothing", [](TSimView&) {}},
      {"invalidated only", [](TSimView& v) { v.Invalidate(); }},
      {"object added", [](TSimView& v) { v.AddLine(At(0, 50), At(80, 50), 0, 0, QColor(255, 0, 0)); }},
      {"object added to the list alone",
       [](TSimView& v) {
         v.Objects.Add(TGraphLine({0, 55}, {80, 55}, qRgb(255, 0, 255)), v);
       }},
      {"list cleared", [](TSimView& v) { v.ClearObjects(); }},
      {"list cleared alone", [](TSimView& v) { v.Objects.Clear(); }},
      {"grid", [](TSimView& v) { v.SetGridSize(5); }},
      {"window moved without notice",
       [](TSimView& v) {
         v.SetRect({-20, 80, -10, 65});
         v.UpdateScale();
         v.NeedsRecalc = true;
       }},
      {"spindle moved", [](TSimView& v) { v.SetSpindlePos(30, 20); }},
      {"W0 moved", [](TSimView& v) { v.SetW0X(15); }},
      {"resized", [](TSimView& v) { v.Resize(180, 150); }},
  };
  for (const TChange& change : changes) {
    TSimView repainted;
    Prepare(repainted);
    repainted.PaintView();
    change.Apply(repainted);
    repainted.PaintView();
    repainted.PaintView();  // a second time from the kept picture

    TSimView fresh;
    Prepare(fresh);
    change.Apply(fresh);
    fresh.PaintView();
    EXPECT_TRUE(repainted.BackBuffer() == fresh.BackBuffer()) << change.What;
    EXPECT_EQ(repainted.LastDrawnCount(), fresh.LastDrawnCount()) << change.What;
  }
}

}  // namespace
