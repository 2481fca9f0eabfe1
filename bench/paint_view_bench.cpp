// PaintView over a display list of a million lines: the whole list in the start window,
// and zoomed in so that about 1 % of it lies in the view.
#include <benchmark/benchmark.h>

#include <memory>

#include "display/sim_view.h"

namespace {

constexpr int kRows = 1000;
constexpr int kColumns = 1000;

// A raster path as a 3D finishing program makes it: rows of short zig-zag moves.
std::unique_ptr<TSimView> RasterView() {
  auto view = std::make_unique<TSimView>();
  view->Resize(994, 628);
  view->XMax = view->XMin + 600;
  view->YMax = NearestInt(600.0 * 628 / 994 + view->YMin);
  view->SetGridSize(10);
  view->UpdateScale();
  view->Objects.Reserve(size_t{kRows} * kColumns, 0, 0);
  const QColor lime(0, 255, 0);
  for (int r = 0; r < kRows; ++r) {
    const double y = r * 0.35;
    for (int c = 0; c < kColumns; ++c) {
      const TPoint a{c * 0.55, y + (c % 2) * 0.2, 0};
      const TPoint b{(c + 1) * 0.55, y + ((c + 1) % 2) * 0.2, 0};
      view->AddLine(a, b, 0, 0, lime);
    }
  }
  return view;
}

TSimView& SharedView() {
  static std::unique_ptr<TSimView> view = RasterView();
  return *view;
}

void SetStartWindow(TSimView& v) {
  v.SetRect({-40, 560, -40, std::nearbyint(600.0 * 628 / 994 - 40)});
  v.UpdateScale();
}

// A tenth of the width and height about the middle of the raster: 1 % of the area.
void SetZoomedWindow(TSimView& v) {
  SetStartWindow(v);
  v.ScaleAbout({275, 175}, 0.1);
}

template <void (*SetWindow)(TSimView&)>
void BM_PaintView(benchmark::State& state) {
  TSimView& v = SharedView();
  SetWindow(v);
  const bool recalc = state.range(0) != 0;
  v.Invalidate();
  v.PaintView();
  for (auto _ : state) {
    if (recalc) v.Invalidate();  // the first paint after a change of the window
    v.PaintView();
    benchmark::DoNotOptimize(v.BackBuffer().constBits());
  }
  state.counters["objects"] = static_cast<double>(v.Objects.Count());
  state.counters["drawn"] = static_cast<double>(v.LastDrawnCount());
}

BENCHMARK_TEMPLATE(BM_PaintView, SetStartWindow)->ArgName("recalc")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_PaintView, SetZoomedWindow)->ArgName("recalc")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
