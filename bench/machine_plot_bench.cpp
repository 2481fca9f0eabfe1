// The step plotter over a generated program of 100 m of tool travel (10,000,000 steps of
// 0.01 mm): feed lines in every direction, some with Z, and quarter and half arcs of
// radii 5 to 50 mm, stepped into an 880 x 638 pixel buffer as the machine view draws them.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "windows/cnc_graphics.h"

namespace {

constexpr int64_t kTotalSteps = 10'000'000;
constexpr int kWidth = 880;
constexpr int kHeight = 638;

struct TMove {
  bool Arc = false;
  int64_t Dx = 0, Dy = 0, Dz = 0;
  int32_t Kind = 0;
  int64_t Cx = 0, Cy = 0;
};

struct TProgram {
  std::vector<TMove> Moves;
  int64_t Steps = 0;
};

// Stays inside 300 x 200 mm; arcs start on a quadrant point of their circle so they end exactly.
TProgram GenerateMoves() {
  std::mt19937_64 rng(1);
  const auto uniform = [&](int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(rng); };
  TProgram p;
  int64_t x = 15'000, y = 10'000;
  TRasterSink nowhere(nullptr, 0, 0, 0);
  TCNCgraphics measure(nowhere);
  while (p.Steps < kTotalSteps) {
    TMove m;
    if (uniform(0, 2) == 0) {
      const int64_t r = uniform(500, 5000);
      m.Arc = true;
      m.Kind = uniform(0, 1) ? 2 : 3;
      const bool half = uniform(0, 1);
      // Start at the circle's +X point; the centre lies to the left.
      m.Cx = -r;
      m.Cy = 0;
      if (half) {
        m.Dx = -2 * r;
      } else {
        m.Dx = -r;
        m.Dy = m.Kind == 3 ? r : -r;
      }
      if (x + m.Dx < 0) m = TMove{false, r, 0, 0};
    } else {
      const int64_t tx = uniform(0, 30'000), ty = uniform(0, 20'000);
      m.Dx = tx - x;
      m.Dy = ty - y;
      m.Dz = uniform(0, 3) == 0 ? uniform(-500, 500) : 0;
    }
    if (m.Arc) measure.ArcMove(m.Dx, m.Dy, m.Kind, m.Cy, m.Cx);
    else measure.StraightMove(m.Dx, m.Dy, true, m.Dz);
    p.Steps += measure.MotionSteps();
    x += m.Dx;
    y += m.Dy;
    p.Moves.push_back(m);
  }
  return p;
}

const TProgram& Program() {
  static const TProgram p = GenerateMoves();
  return p;
}

void BM_StepProgram(benchmark::State& state) {
  const TProgram& program = Program();
  std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
  TRasterSink sink(pixels.data(), kWidth, kHeight, kWidth);
  for (auto _ : state) {
    TCNCgraphics plotter(sink);
    plotter.Zoom(static_cast<double>(state.range(0)) / 1000.0);
    sink.Fill(0);
    plotter.Origin(200, 500);
    plotter.Colours(Rgb(0, 0, 255), Rgb(0, 255, 0));
    for (const TMove& m : program.Moves) {
      if (m.Arc) plotter.ArcMove(m.Dx, m.Dy, m.Kind, m.Cy, m.Cx);
      else plotter.StraightMove(m.Dx, m.Dy, true, m.Dz);
      if (plotter.Run() != kRunFinished) state.SkipWithError("a move did not finish");
    }
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * program.Steps);
  state.counters["moves"] = static_cast<double>(program.Moves.size());
}
// Zoom 50 is the window's start; zoom 1000 plots one pixel per step, mostly off the surface.
BENCHMARK(BM_StepProgram)->Arg(50)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
