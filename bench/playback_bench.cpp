// Playback on a real workload: the display list of a program (contour and cutting path,
// tool radii 1 mm for tools 1 to 8) played back along the path at the start window.
// Times stepping from the start to the end in 1,000 positions (each one the objects it
// adds, painted on the kept picture), one slider jump to the middle from the start and
// from the end (a backward jump repaints the prefix), and reading the track once.
// VELQUOR_BENCH_PROGRAM=FILE measures a given program (the reference workload); without it
// a generated program of a million lines is used.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/playback.h"
#include "bench/reference_workload.h"
#include "display/draw_elements.h"
#include "display/sim_view.h"
#include "engine/cnc_api.h"

namespace {

constexpr size_t kPositions = 1000;

// A run drawn as the main window draws it with both lists shown: the path plays back.
struct TPlayedRun {
  TSimView View;
  int32_t Handle = 0;
  TPlayedList Played;
  TPlaybackTrack Track;
  TToolTable Tools = ReferenceToolTable();

  TPlayedRun() {
    View.Resize(kViewWidth, kViewHeight);
    View.SetGridSize(10);
    SetReferenceStartWindow(View);
    const std::string file = ReferenceProgramFile();
    if (CncOpen(file.c_str(), &Handle) <= 0) return;
    SetReferenceToolRadii(Handle);
    const TCncPoint start{0, 0, 0};
    CncRun(Handle, &start);
    int32_t currentTool = 0;
    const TDrawRun run{&Tools, &currentTool, false, {}};
    TPlayedDrawing played;
    DrawProgram(View, Handle, {true, true}, run, &played);
    Played = {played.Mode, played.StartTool, start, View.W0Pos, played.ObjectsBefore, std::move(played.ObjectEnds)};
    Track = PlaybackTrackOfRun(Handle, Played, TFeedUnit::Millimetre);
  }
  ~TPlayedRun() { CncClose(Handle); }

  void ShowPosition(size_t k) {
    View.SetObjectLimit(Track.ObjectLimit(k));
    benchmark::DoNotOptimize(Track.ToolAt(k, Tools));
    View.PaintView();
  }
};

TPlayedRun& SharedRun() {
  static auto run = std::make_unique<TPlayedRun>();
  return *run;
}

void Report(benchmark::State& state, const TPlayedRun& r) {
  state.counters["elements"] = static_cast<double>(r.Track.Count());
  state.counters["objects"] = static_cast<double>(r.View.Objects.Count());
}

// From the start to the end in 1,000 positions; one iteration is the whole walk.
void BM_StepThroughInThousandPositions(benchmark::State& state) {
  TPlayedRun& r = SharedRun();
  const size_t n = r.Track.Count();
  for (auto _ : state) {
    state.PauseTiming();
    r.ShowPosition(0);
    state.ResumeTiming();
    for (size_t i = 1; i <= kPositions; ++i) r.ShowPosition(n * i / kPositions);
    benchmark::DoNotOptimize(r.View.BackBuffer().constBits());
  }
  Report(state, r);
}
BENCHMARK(BM_StepThroughInThousandPositions)->Unit(benchmark::kMillisecond)->Iterations(3);

// One slider jump to the middle, from the start (objects added) or from the end (the
// prefix repainted).
template <bool FromTheEnd>
void BM_JumpToTheMiddle(benchmark::State& state) {
  TPlayedRun& r = SharedRun();
  const size_t n = r.Track.Count();
  for (auto _ : state) {
    state.PauseTiming();
    r.ShowPosition(FromTheEnd ? n : 0);
    state.ResumeTiming();
    r.ShowPosition(n / 2);
    benchmark::DoNotOptimize(r.View.BackBuffer().constBits());
  }
  Report(state, r);
}
BENCHMARK_TEMPLATE(BM_JumpToTheMiddle, false)
    ->Name("BM_JumpToTheMiddleFromTheStart")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_TEMPLATE(BM_JumpToTheMiddle, true)
    ->Name("BM_JumpToTheMiddleFromTheEnd")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// Reading the track when the bar opens: every element of the path and its time.
void BM_ReadTrack(benchmark::State& state) {
  TPlayedRun& r = SharedRun();
  for (auto _ : state) benchmark::DoNotOptimize(PlaybackTrackOfRun(r.Handle, r.Played, TFeedUnit::Millimetre).Count());
  Report(state, r);
}
BENCHMARK(BM_ReadTrack)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
