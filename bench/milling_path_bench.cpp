// Cutter radius compensation over a long program: rounded rectangles, clockwise and
// counter-clockwise, linked by straight moves, all under G41.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <random>

#include "geometry/milling_path.h"

namespace {

struct TProgramBuilder {
  TElementList Raw;
  TPoint At;
  int32_t Line = 0;
  size_t Moves = 0;

  void Line01(double x, double y) {
    At = TPoint{x, y, -1.0};
    Raw.push_back(MakeElement(++Line, "Line G01", "G01", At));
    ++Moves;
  }
  void Arc(bool cw, double x, double y, double i, double j) {
    At = TPoint{x, y, -1.0};
    Raw.push_back(MakeElement(++Line, cw ? "Kreisint G02" : "Kreisint G03", cw ? "G02" : "G03", At, TPoint{i, j, 0.0}));
    ++Moves;
  }
  // Entered and left at the middle of the bottom edge.
  void RoundedRectangle(double x0, double y0, double w, double h, double rc, bool ccw) {
    const double x1 = x0 + w, y1 = y0 + h, xm = x0 + w / 2;
    Line01(xm, y0);
    if (ccw) {
      Line01(x1 - rc, y0), Arc(false, x1, y0 + rc, 0, rc);
      Line01(x1, y1 - rc), Arc(false, x1 - rc, y1, -rc, 0);
      Line01(x0 + rc, y1), Arc(false, x0, y1 - rc, 0, -rc);
      Line01(x0, y0 + rc), Arc(false, x0 + rc, y0, rc, 0);
    } else {
      Line01(x0 + rc, y0), Arc(true, x0, y0 + rc, 0, rc);
      Line01(x0, y1 - rc), Arc(true, x0 + rc, y1, rc, 0);
      Line01(x1 - rc, y1), Arc(true, x1, y1 - rc, 0, -rc);
      Line01(x1, y0 + rc), Arc(true, x1 - rc, y0, -rc, 0);
    }
    Line01(xm, y0);
  }
};

TElementList CompensatedProgram(size_t moves) {
  TProgramBuilder b;
  b.Raw.reserve(moves + 16);
  b.Raw.push_back(MakeValueElement(++b.Line, "Set tool Tx", "T", 1));
  b.Raw.push_back(MakeElement(++b.Line, "Fräserradiuskorrektur G41 ein", "G41"));
  std::mt19937 rng(1);
  std::uniform_int_distribution<int> pos(20, 250), size(14, 60), corner(2, 6);
  while (b.Moves < moves) {
    const double w = size(rng), h = size(rng);
    b.RoundedRectangle(pos(rng) + 0.125, pos(rng) + 0.5, w, h, corner(rng) + 0.25, rng() % 2 == 0);
  }
  b.Raw.push_back(MakeElement(++b.Line, "Fräserradiuskorrektur aus", "G40"));
  return b.Raw;
}

void BM_ComputeMillingPath(benchmark::State& state) {
  const TElementList raw = CompensatedProgram(static_cast<size_t>(state.range(0)));
  std::array<double, 256> radii{};
  radii[1] = 1.0;
  TElementList path;
  TMessageList messages;
  for (auto _ : state) {
    path.clear();
    messages.clear();
    const int32_t result = ComputeMillingPath(raw, path, radii, TPoint{}, messages);
    if (result != 0 || !messages.empty()) state.SkipWithError("the compensation stopped or warned");
    benchmark::DoNotOptimize(path.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
  state.counters["path_elements"] = static_cast<double>(path.size());
}
BENCHMARK(BM_ComputeMillingPath)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// Long stretches that leave the point where it is: z moves between every XY move and full
// circles back to their start. The look-ahead must pass each stretch once.
void BM_LookAheadOverStretches(benchmark::State& state) {
  TElementList raw;
  raw.push_back(MakeValueElement(1, "Set tool Tx", "T", 1));
  raw.push_back(MakeElement(2, "Line G01", "G01", TPoint{10, 0, 0}));
  for (int64_t i = 0; i < state.range(0); ++i) {
    raw.push_back(MakeElement(3, "Kreisint G02", "G02", TPoint{10, 0, 0}, TPoint{5, 0, 0}));
    raw.push_back(MakeElement(4, "Line G01", "G01", TPoint{10, 0, -static_cast<double>(i % 7)}));
    raw.push_back(MakeElement(5, "Spindl on", "M03"));
  }
  raw.push_back(MakeElement(6, "Line G01", "G01", TPoint{20, 0, 0}));
  std::array<double, 256> radii{};
  TElementList path;
  TMessageList messages;
  for (auto _ : state) {
    path.clear();
    benchmark::DoNotOptimize(ComputeMillingPath(raw, path, radii, TPoint{}, messages));
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(raw.size()));
}
BENCHMARK(BM_LookAheadOverStretches)->Arg(100'000)->Arg(400'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
