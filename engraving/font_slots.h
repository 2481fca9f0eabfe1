// The font slot table: twenty font files known to the whole program, the ten built-in
// fonts in slots 1 to 10 and files registered by programs in slots 12 to 20.
#pragma once

#include <string>
#include <string_view>

class TVectorFont;
struct TLoadedFont;

constexpr int kFontSlotCount = 20;
constexpr int kFirstRegisteredSlot = 12;
constexpr size_t kMaxFontFileName = 64;

struct TFontSlot {
  std::string InternalName;  // at most 4 characters; empty for registered fonts
  std::string FileName;      // joined to the font folder; empty for a free slot
  // The slot's font while a vector font holds it loaded, and that vector font.
  const TLoadedFont* Loaded = nullptr;
  TVectorFont* Owner = nullptr;
};

// Slot n, 1 <= n <= 20.
TFontSlot& FontSlot(int n);

// Enters `name` (cut to 64 bytes) into the first slot 12..20 with an empty file name, or
// into slot 20 when all are taken; the slot's loaded font and internal name are cleared.
// Returns the slot number. The file is not checked here.
int RegisterFontSlot(std::string_view name);

// Back to the table at start: slots 1 to 10 as built in, 11 to 20 empty. A vector font that
// holds a font keeps it; ResetFontSlots (engraving/vector_font.h) releases them first.
void RestoreFontSlots();

// A slot's file name as a native path: "\" becomes "/".
std::string NativeFontName(std::string_view name);
