// The vector font of an engine instance: selects and loads fonts from the slot table and
// engraves texts as G00/G01 strokes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/records.h"
#include "engraving/chr_font.h"

// Parsed fonts are kept by file identity (path, size, modification time), so that selecting
// an unchanged font again does not read and check it again.
constexpr size_t kFontCacheSize = 32;
// Empties the cache (tests; a file replaced within one timestamp tick).
void ClearFontCache();

// Every vector font that holds a slot's font loaded drops it.
void ReleaseAllFonts();
// Back to the slot table at start: releases every font, restores slots 1 to 10, empties 11 to 20.
void ResetFontSlots();

// Engraving units are 0.02 mm.
constexpr double kUnitsPerMm = 50.0;
// Largest character height set by SetSize, in units (20 m): keeps every pen position
// far inside 32 bits.
constexpr int64_t kMaxFontHeightUnits = 1000000;
// Largest pen position, in units.
constexpr double kMaxPenUnits = 2147483647.0;

enum class TSizeResult { Set, NoFont, ZeroHeight, OutOfRange };

class TVectorFont {
 public:
  TVectorFont() = default;
  ~TVectorFont();
  TVectorFont(const TVectorFont&) = delete;
  TVectorFont& operator=(const TVectorFont&) = delete;

  // Starts the font engine on a font folder (ending with a separator; empty means
  // "Vectorfonts/" in the working folder): font 4, horizontal, 10 mm high, left and
  // vertically centred, width factor 1. Loading errors go to `messages`; the status
  // is 0 afterwards whatever loading reported.
  void Init(const std::string& fontPath, TMessageList& messages);

  // Selects font n (1..20) with a direction and a height; reads its file again even when
  // n is already selected. Returns the status.
  int32_t SetFont(int32_t n, int32_t direction, double height);
  // Registers a font file for a later SetFont; the slot number, or -1 (status 4) when the
  // file cannot be opened.
  int32_t RegisterFontFile(const std::string& name);
  TSizeResult SetSize(double height);
  void SetJustification(int32_t horizontal, int32_t vertical);

  // Engraves `text` from `start` into `list` (elements "G00"/"G01", text "Font", line
  // `line`) and returns the end point. Without a loaded font: status 11, "falscher Font",
  // no elements, the start point comes back.
  TPoint EngraveText(int32_t line, const TPoint& start, TElementList& list, double widthFactor, double depth,
                     double safetyHeight, std::string_view text);

  // Drops the loaded font, if any, and frees its slot's reference to it.
  void ReleaseFont();

  // Height of "T" at the current scale, in units; 0 without a font.
  int32_t FontHeight() const;
  // Advance of one character, in units, before the width factor.
  int64_t CharWidth(int c) const;
  // rounded(sum of the advances × width factor).
  int64_t TextWidth(std::string_view text, double widthFactor) const;

  int32_t Status() const { return StatusCode; }
  int32_t FontNumber() const { return Number; }
  const TLoadedFont* CurrentFont() const { return Current.get(); }
  const std::string& FontPath() const { return Folder; }
  double ScaleX() const { return ScaleXValue; }
  double ScaleY() const { return ScaleYValue; }
  int32_t Direction() const { return Dir; }
  int32_t HorizontalJustification() const { return HJust; }
  int32_t VerticalJustification() const { return VJust; }

 private:
  int32_t LoadFont(int n);
  int32_t FailLoading(int n, int32_t code);
  void AddMessage(std::string text);

  int32_t StatusCode = 0;
  std::string Folder;
  TMessageList* Messages = nullptr;
  int32_t Number = 4;
  std::shared_ptr<const TLoadedFont> Current;  // shared with the font cache
  int Slot = 0;                                // slot the current font was loaded from

  int32_t HJust = 0;
  int32_t VJust = 1;
  int32_t Dir = 0;
  double ScaleXValue = 1.0;
  double ScaleYValue = 1.0;
};
