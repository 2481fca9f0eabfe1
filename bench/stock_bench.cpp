// The simulated stock: the reference workload (VELQUOR_BENCH_PROGRAM=FILE, radii 1 mm for
// tools 1 to 8) at its default cell, on every core and on one, also as the viewer runs it
// from the file beside the run `check` makes; and the demo program.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/reference_workload.h"
#include "display/stock_relief.h"
#include "display/view_window.h"
#include "stock/engine_moves.h"
#include "stock/relief_3d.h"
#include "stock/stock_simulation.h"

namespace {

struct TStockWorkload {
  std::vector<TStockMove> Moves;
  TCutterTable Cutters{};
  TStockBox Box;
  TGridPlan Plan;
};

// `file` run with the radii of `tools`, at the default stock and cell.
TStockWorkload LoadWorkload(const std::string& file, const TToolTable& tools) {
  TStockWorkload w;
  int32_t handle = 0;
  CncOpen(file.c_str(), &handle);
  const TToolRadii radii = EngineToolRadii(tools);
  for (int t = 0; t < kToolCount; ++t) CncSetToolRadius(handle, static_cast<uint8_t>(t), radii[t]);
  const TCncPoint start{0, 0, 0};
  CncRun(handle, &start);
  w.Moves = ReadStockMoves(handle, start);
  CncClose(handle);
  w.Cutters = MakeCutterTable({}, RadiiInMillimetres(radii));
  w.Box = DefaultStockBox(w.Moves, w.Cutters);
  w.Plan = PlanGrid(w.Box);
  return w;
}

void Simulate(benchmark::State& state, const TStockWorkload& w, int threads) {
  for (auto _ : state) {
    const TStockResult r = SimulateStock(w.Moves, w.Box, w.Plan, w.Cutters, {nullptr, nullptr, nullptr, threads});
    benchmark::DoNotOptimize(r.Map.Z.data());
  }
  state.counters["cells"] = double(w.Plan.Cells());
  state.counters["cell_mm"] = w.Plan.Cell;
  state.counters["moves"] = double(w.Moves.size());
}

const TStockWorkload& ReferenceWorkload() {
  static const TStockWorkload w = LoadWorkload(ReferenceProgramFile(), ReferenceToolTable());
  return w;
}

// The demo with the viewer's default tool table (tools 1 to 6 of 10 mm radius).
const TStockWorkload& DemoWorkload() {
  static const TStockWorkload w = LoadWorkload(VELQUOR_SOURCE_DIR "/examples/demo.cnc", EngineDefaultTools());
  return w;
}

void BM_StockReference(benchmark::State& state) {
  Simulate(state, ReferenceWorkload(), static_cast<int>(state.range(0)));
}

// What the viewer does for the reference program with Result on, against what `check` does:
// the program opened and run, then (with `simulate`) its moves read, the default stock and
// cell planned and the simulation run on every core.
void RunReference(benchmark::State& state, bool simulate) {
  const std::string file = ReferenceProgramFile();
  const TToolRadii radii = EngineToolRadii(ReferenceToolTable());
  for (auto _ : state) {
    int32_t handle = 0;
    CncOpen(file.c_str(), &handle);
    for (int t = 0; t < kToolCount; ++t) CncSetToolRadius(handle, static_cast<uint8_t>(t), radii[t]);
    const TCncPoint start{0, 0, 0};
    CncRun(handle, &start);
    if (simulate) {
      const std::vector<TStockMove> moves = ReadStockMoves(handle, start);
      const TCutterTable cutters = MakeCutterTable({}, RadiiInMillimetres(radii));
      const TStockBox box = DefaultStockBox(moves, cutters);
      const TStockResult r = SimulateStock(moves, box, PlanGrid(box), cutters);
      benchmark::DoNotOptimize(r.Map.Z.data());
    }
    CncClose(handle);
  }
}
void BM_CheckReference(benchmark::State& state) { RunReference(state, false); }
void BM_RunAndSimulateReference(benchmark::State& state) { RunReference(state, true); }

void BM_StockDemo(benchmark::State& state) { Simulate(state, DemoWorkload(), static_cast<int>(state.range(0))); }

// Frames of the 3D window (1000 x 700) while orbiting: the camera turns 3 degrees a frame at
// the start view's zoom, so the merged cells are made once, before the first timed frame.
void Orbit3d(benchmark::State& state, const TStockWorkload& w) {
  const TStockResult r = SimulateStock(w.Moves, w.Box, w.Plan, w.Cutters);
  TReliefRenderer renderer(r.Map, r.Box.Bottom(), r.Map.MinZ());
  TOrbitView view = StartView(r.Map, r.Box.Bottom(), 1000, 700);
  std::vector<uint32_t> pixels(size_t(view.Width) * size_t(view.Height));
  renderer.Render(view, pixels.data());
  for (auto _ : state) {
    Orbit(view, 3, 0);
    renderer.Render(view, pixels.data());
    benchmark::DoNotOptimize(pixels.data());
  }
  state.counters["cells"] = double(w.Plan.Cells());
}

void BM_Relief3dReference(benchmark::State& state) { Orbit3d(state, ReferenceWorkload()); }

// The relief under the lists of the view (994 x 628) zoomed to 1 % of the start window's
// area about the middle of the reference program, as view_workload_bench paints the lists.
void BM_ReliefPaintZoomed(benchmark::State& state) {
  const TStockWorkload& w = ReferenceWorkload();
  const TStockResult r = SimulateStock(w.Moves, w.Box, w.Plan, w.Cutters);
  TViewWindow view;
  view.Width = kViewWidth;
  view.Height = kViewHeight;
  view.SetRect({-40, 560, -40, std::nearbyint(600.0 * kViewHeight / kViewWidth - 40)});
  view.UpdateScale();
  view.ScaleAbout({150, 100}, 0.1);
  const TPlaneWindow window{view.XMin, view.XMin + view.Width / view.Scale, view.YMin,
                            view.YMin + view.Height / view.Scale};
  QImage picture(kViewWidth, kViewHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    PaintRelief(picture, r, window);
    benchmark::DoNotOptimize(picture.constBits());
  }
}
void BM_Relief3dDemo(benchmark::State& state) { Orbit3d(state, DemoWorkload()); }

}  // namespace

BENCHMARK(BM_StockReference)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_CheckReference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_RunAndSimulateReference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_StockDemo)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Relief3dReference)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReliefPaintZoomed)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Relief3dDemo)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
