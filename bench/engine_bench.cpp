// CncOpen + CncRun over generated programs, reported as lines per second.
// VELQUOR_BENCH_PROGRAM=FILE measures a given program instead (e.g. the reference workload).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/program_generator.h"
#include "engine/cnc_api.h"
#include "engine/instance.h"
#include "engine/interpreter.h"

namespace {

std::string ProgramFile(size_t lines) {
  if (const char* given = std::getenv("VELQUOR_BENCH_PROGRAM")) return given;
  const auto path = std::filesystem::temp_directory_path() / ("velquor_bench_" + std::to_string(lines) + ".cnc");
  if (!std::filesystem::exists(path)) std::ofstream(path, std::ios::binary) << GenerateProgram(lines);
  return path.string();
}

void BM_OpenAndRun(benchmark::State& state) {
  const std::string file = ProgramFile(static_cast<size_t>(state.range(0)));
  int64_t lines = 0;
  for (auto _ : state) {
    int32_t h = 0;
    const int32_t count = CncOpen(file.c_str(), &h);
    for (int t = 1; t <= 8; ++t) CncSetToolRadius(h, static_cast<uint8_t>(t), 1000);
    const TCncPoint start{0, 0, 0};
    benchmark::DoNotOptimize(CncRun(h, &start));
    benchmark::DoNotOptimize(CncGetCount(h, CNC_MODE_CONTOUR));
    CncClose(h);
    lines += count;
  }
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}

// Loading and both passes of the interpreter alone, without the milling path.
void BM_LoadAndInterpret(benchmark::State& state) {
  const std::string file = ProgramFile(static_cast<size_t>(state.range(0)));
  int64_t lines = 0;
  for (auto _ : state) {
    TCncInstance inst(1, file, "");
    lines += inst.Load();
    InterpretProgram(inst);
    benchmark::DoNotOptimize(inst.RawPathList.data());
  }
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_LoadAndInterpret)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenAndRun)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
