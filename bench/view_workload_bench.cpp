// The view on a real workload: the display list built from a program through the engine
// and DrawElements (contour and cutting path, tool radii 1 mm), then PaintView at the start
// window, zoomed to 1 % of the area, after a pan and without a window change, and the whole
// processing of a file from open to the first picture.
// VELQUOR_BENCH_PROGRAM=FILE measures a given program (the reference workload); without it
// a generated program of a million lines is used.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/reference_workload.h"
#include "display/draw_elements.h"

namespace {

void SetStartWindow(TSimView& v) {
  SetReferenceStartWindow(v);
  v.Invalidate();
}

// A tenth of the width and height about the middle of the program: 1 % of the area.
void SetZoomedWindow(TSimView& v) {
  SetStartWindow(v);
  v.ScaleAbout({150, 100}, 0.1);
  v.Invalidate();
}

// What ProcessFile does: open, run, draw contour and cutting path, first paint.
void ProcessFile(TSimView& view, const std::string& file) {
  view.ClearObjects();
  int32_t handle = 0;
  if (CncOpen(file.c_str(), &handle) > 0) {
    SetReferenceToolRadii(handle);
    const TCncPoint start{0, 0, 0};
    CncRun(handle, &start);
    static const TToolTable tools = ReferenceToolTable();
    int32_t currentTool = 0;
    const TDrawRun run{&tools, &currentTool, false, {}};
    DrawProgram(view, handle, {true, true}, run);
  }
  CncClose(handle);
  view.PaintView();
}

std::unique_ptr<TSimView> NewView() {
  auto view = std::make_unique<TSimView>();
  view->Resize(kViewWidth, kViewHeight);
  view->SetGridSize(10);
  SetStartWindow(*view);
  return view;
}

TSimView& SharedView() {
  static std::unique_ptr<TSimView> view = [] {
    auto v = NewView();
    ProcessFile(*v, ReferenceProgramFile());
    return v;
  }();
  return *view;
}

// The shared view in its start window.
TSimView& StartView() {
  TSimView& v = SharedView();
  SetStartWindow(v);
  return v;
}

// One paint whose picture the compiler may not drop.
void Paint(TSimView& v) {
  v.PaintView();
  benchmark::DoNotOptimize(v.BackBuffer().constBits());
}

void Report(benchmark::State& state, const TSimView& v) {
  state.counters["objects"] = static_cast<double>(v.Objects.Count());
  state.counters["drawn"] = static_cast<double>(v.LastDrawnCount());
  state.counters["bytes/object"] = static_cast<double>(v.Objects.BytesUsed()) / static_cast<double>(v.Objects.Count());
}

// The first paint after a change of the window (pixel coordinates recomputed): the window
// moves by a pixel back and forth, so that no picture of an earlier paint can serve.
template <void (*SetWindow)(TSimView&)>
void BM_PaintAfterWindowChange(benchmark::State& state) {
  TSimView& v = SharedView();
  SetWindow(v);
  const TRealXY anchor = v.PixelToReal(kViewWidth / 2, kViewHeight / 2);
  int step = 0;
  for (auto _ : state) {
    v.PanAnchorTo(anchor, kViewWidth / 2 + (++step % 2), kViewHeight / 2);
    v.Invalidate();
    Paint(v);
  }
  Report(state, v);
}
BENCHMARK_TEMPLATE(BM_PaintAfterWindowChange, SetStartWindow)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_PaintAfterWindowChange, SetZoomedWindow)->Unit(benchmark::kMillisecond);

// Panning the zoomed-out view by a fifth of its width, back and forth.
void BM_PaintAfterPan(benchmark::State& state) {
  TSimView& v = StartView();
  const TRealXY anchor = v.PixelToReal(kViewWidth / 2, kViewHeight / 2);
  int step = 0;
  for (auto _ : state) {
    v.PanAnchorTo(anchor, kViewWidth / 2 + (++step % 2 ? kViewWidth / 5 : 0), kViewHeight / 2);
    v.Invalidate();
    Paint(v);
  }
  Report(state, v);
}
BENCHMARK(BM_PaintAfterPan)->Unit(benchmark::kMillisecond);

// A repaint without a window change draws straight from the stored pixel coordinates.
void BM_Repaint(benchmark::State& state) {
  TSimView& v = StartView();
  v.PaintView();
  for (auto _ : state) Paint(v);
  Report(state, v);
}
BENCHMARK(BM_Repaint)->Unit(benchmark::kMillisecond);

// The pixel coordinates alone, without painting.
void BM_RecalcOnly(benchmark::State& state) {
  TSimView& v = StartView();
  for (auto _ : state) v.Objects.Recalc(v);
  Report(state, v);
}
BENCHMARK(BM_RecalcOnly)->Unit(benchmark::kMillisecond);

void BM_ProcessFile(benchmark::State& state) {
  const std::string file = ReferenceProgramFile();
  auto view = NewView();
  for (auto _ : state) {
    ProcessFile(*view, file);
    benchmark::DoNotOptimize(view->BackBuffer().constBits());
  }
  Report(state, *view);
}
BENCHMARK(BM_ProcessFile)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
