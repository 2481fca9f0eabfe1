// Text engraving throughput: font selection (reading and checking a CHR file) and the
// strokes of a text line.
#include <benchmark/benchmark.h>

#include <string>

#include "engraving/font_slots.h"
#include "engraving/vector_font.h"

namespace {

void BM_SelectFont(benchmark::State& state) {
  TMessageList messages;
  TVectorFont font;
  font.Init(VELQUOR_FONT_DIR, messages);
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(font.SetFont(n, 0, 5.0));
  state.SetLabel(FontSlot(n).InternalName);
}
BENCHMARK(BM_SelectFont)->Arg(1)->Arg(4)->Arg(9);

void BM_EngraveLine(benchmark::State& state) {
  TMessageList messages;
  TVectorFont font;
  font.Init(VELQUOR_FONT_DIR, messages);
  font.SetFont(static_cast<int>(state.range(0)), 0, 5.0);
  const std::string text = "Velquor 2026 - The quick brown fox jumps over the lazy dog";
  TElementList list;
  size_t elements = 0;
  for (auto _ : state) {
    list.clear();
    font.EngraveText(1, TPoint{10, 20, 0}, list, 1.0, 0.3, 2.0, text);
    elements += list.size();
    benchmark::DoNotOptimize(list.data());
  }
  state.SetItemsProcessed(static_cast<int64_t>(elements));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  state.SetLabel(FontSlot(static_cast<int>(state.range(0))).InternalName);
}
BENCHMARK(BM_EngraveLine)->Arg(1)->Arg(4)->Arg(9);

}  // namespace

BENCHMARK_MAIN();
