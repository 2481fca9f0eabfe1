// Expansion speed of the cycles: programs of many cycle lines interpreted in both passes.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/instance.h"
#include "engine/interpreter.h"

namespace {

std::string Program(const char* cycle, int lines) {
  std::string text = "T1\n";
  for (int i = 0; i < lines; ++i)
    text += "N" + std::to_string(i) + " G00 X" + std::to_string(i % 100) + " Y" + std::to_string(i / 100) + " Z0\n" +
            cycle + "\n";
  return text;
}

void RunCycles(benchmark::State& state, const char* cycle) {
  TCncInstance inst(1, "", "");
  inst.ToolRadius[1] = 1.5;
  inst.Lines.Assign(Program(cycle, static_cast<int>(state.range(0))));
  size_t elements = 0;
  for (auto _ : state) {
    inst.ContourList.clear();
    inst.RawPathList.clear();
    inst.Pos = TPoint{};
    InterpretProgram(inst);
    elements = inst.ContourList.size() + inst.RawPathList.size();
    benchmark::DoNotOptimize(elements);
  }
  state.counters["elements"] = static_cast<double>(elements);
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * elements));
}

void BM_RoundedPocketG86(benchmark::State& s) { RunCycles(s, "G86 L50 B20 R5 Q30 U4 V1.5 W0.5"); }
void BM_SlantedPocketG88(benchmark::State& s) { RunCycles(s, "G88 L50 B20 R5 Q30 U4 V1.5 W0.5"); }
void BM_ClearedPocketG87(benchmark::State& s) { RunCycles(s, "G87 L40 B30 R8 Q15 U5 V2 W1"); }
void BM_ScaleG89(benchmark::State& s) { RunCycles(s, "G89 C11 D5 Q180 W0 R30 L8 U0.8 B30 V4 E0.65"); }
void BM_DrillG79(benchmark::State& s) { RunCycles(s, "G81 Z6 H3 B8 F150\nG79"); }

BENCHMARK(BM_RoundedPocketG86)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SlantedPocketG88)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearedPocketG87)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScaleG89)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrillG79)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
