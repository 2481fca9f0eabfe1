// The CHR loader and engraving with what it accepts: the first byte gives the text length,
// then the text, then the font file.
#include <cstdint>
#include <string>
#include <vector>

#include "engraving/chr_font.h"
#include "engraving/font_slots.h"
#include "engraving/vector_font.h"
#include "fuzz/fuzz_input.h"

namespace {
constexpr size_t kMaxText = 32;
constexpr uint64_t kFuzzElementLimit = 100'000;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TMemoryFile file;
  TFuzzBytes in(data, size);
  const size_t length = in.Byte() % (kMaxText + 1);
  std::string text;
  for (size_t i = 0; i < length; ++i) text += static_cast<char>(in.Byte());
  const uint8_t options = in.Byte();
  const std::string font = in.Rest();

  TLoadedFont checked;
  const int32_t status = ReadChrFont(std::vector<uint8_t>(font.begin(), font.end()), checked);
  if (status != kFontOk) return 0;
  // Every character's strokes end inside the file, as the check promised.
  for (int c = 0; c < 256; ++c) checked.ForEachStroke(c, [](const TStrokeCommand&) {});

  // The same bytes through the font engine, as a program's G67 and G66 would use them.
  ResetFontSlots();
  ClearFontCache();
  FontSlot(4).FileName = file.Hold(font.data(), font.size());
  TMessageList messages;
  TVectorFont engine;
  engine.Init("", messages);
  if (!engine.CurrentFont()) __builtin_trap();  // the file the check accepted must load
  engine.SetJustification(options & 3, (options >> 2) & 3);
  engine.SetFont(4, (options >> 4) & 1, 1.0 + (options >> 5));
  TElementBudget budget{kFuzzElementLimit, 0};
  TElementList list;
  list.Budget = &budget;
  try {
    engine.EngraveText(1, TPoint{}, list, 0.5 + (options & 7), -1.0, 2.0, text);
  } catch (const TElementBudgetSpent&) {
  }
  return 0;
}
