// Picking on a real workload: the contour and cutting path of a program drawn through the
// engine and DrawElements with every move recorded for picking, then one build of the pick
// index and one pick (5 pixels at the start window) near a move in the middle of the program.
// VELQUOR_BENCH_PROGRAM=FILE measures a given program (the reference workload); without it
// a generated program of a million lines is used.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/reference_workload.h"
#include "display/draw_elements.h"
#include "display/pick_index.h"
#include "display/sim_view.h"
#include "engine/cnc_api.h"

namespace {

constexpr double kPickPixels = 5.0;

struct TPickWorkload {
  TSimView View;
  TPickIndex Index;
};

TPickWorkload& Shared() {
  static TPickWorkload* w = [] {
    auto* p = new TPickWorkload;
    p->View.Resize(kViewWidth, kViewHeight);
    SetReferenceStartWindow(p->View);
    int32_t handle = 0;
    if (CncOpen(ReferenceProgramFile().c_str(), &handle) > 0) {
      const TCncPoint start{0, 0, 0};
      CncRun(handle, &start);
      TDrawRun run;
      run.Pick = &p->Index;
      DrawProgram(p->View, handle, {true, true}, run);
    }
    CncClose(handle);
    p->Index.Build();
    return p;
  }();
  return *w;
}

void BM_PickIndexBuild(benchmark::State& state) {
  TPickWorkload& w = Shared();
  for (auto _ : state) {
    w.Index.Build();
    benchmark::ClobberMemory();
  }
  state.counters["elements"] = static_cast<double>(w.Index.Count());
  state.counters["large"] = static_cast<double>(w.Index.LargeCount());
  state.counters["cells"] = static_cast<double>(w.Index.CellCount());
  state.counters["items"] = static_cast<double>(w.Index.ItemCount());
}
BENCHMARK(BM_PickIndexBuild)->Unit(benchmark::kMillisecond);

void BM_Pick(benchmark::State& state) {
  TPickWorkload& w = Shared();
  if (w.Index.Count() == 0) {
    state.SkipWithError("nothing drawn");
    return;
  }
  const TPickElement& target = w.Index[w.Index.Count() / 2];
  const double within = kPickPixels / w.View.Scale;
  const double x = target.End.X + within / 2, y = target.End.Y;
  bool found = false;
  for (auto _ : state) {
    const auto hit = w.Index.Nearest(x, y, within);
    found = hit.has_value();
    benchmark::DoNotOptimize(hit);
  }
  if (!found) state.SkipWithError("the pick found nothing");
}
BENCHMARK(BM_Pick)->Unit(benchmark::kMicrosecond);

}  // namespace
