#include "engraving/font_slots.h"

#include <algorithm>
#include <array>

#include "base/convert.h"

namespace {

constexpr std::array<const char*, 10> kBuiltInNames = {"TRIP", "LITT", "SANS", "GOTH", "EURO",
                                                       "BOLD", "LCOM", "SCRI", "SIMP", "TSCR"};

std::array<TFontSlot, kFontSlotCount> InitialSlots() {
  std::array<TFontSlot, kFontSlotCount> slots;
  for (size_t i = 0; i < kBuiltInNames.size(); ++i) {
    slots[i].InternalName = kBuiltInNames[i];
    slots[i].FileName = std::string("\\") + kBuiltInNames[i] + ".CHR";
  }
  return slots;
}

// Never destroyed: engine instances that outlive static destruction still release their
// fonts into it.
std::array<TFontSlot, kFontSlotCount>& Slots() {
  static auto* slots = new std::array<TFontSlot, kFontSlotCount>(InitialSlots());
  return *slots;
}

}  // namespace

TFontSlot& FontSlot(int n) { return Slots().at(static_cast<size_t>(n - 1)); }

int RegisterFontSlot(std::string_view name) {
  int n = kFontSlotCount;
  for (int i = kFirstRegisteredSlot; i <= kFontSlotCount; ++i) {
    if (FontSlot(i).FileName.empty()) {
      n = i;
      break;
    }
  }
  TFontSlot& slot = FontSlot(n);
  slot.FileName = std::string(CutUtf8(name, kMaxFontFileName));
  slot.InternalName.clear();
  // A vector font that still holds the replaced file keeps its copy; the slot forgets it.
  slot.Loaded = nullptr;
  slot.Owner = nullptr;
  return n;
}

void RestoreFontSlots() { Slots() = InitialSlots(); }

std::string NativeFontName(std::string_view name) {
  std::string s(name);
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}
