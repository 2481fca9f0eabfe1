// Stroked font files (CHR): checking a file's content and reading the strokes and
// widths of its characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Status codes of the font unit.
enum TFontStatus : int32_t {
  kFontOk = 0,
  kFontInvalid = 4,      // bad file, or a file to register cannot be opened
  kFontNoMemory = 5,     // also set while a font is being loaded
  kFontBadNumber = 9,    // font number outside 1..20
  kFontNotLoaded = 11,   // text drawn without a loaded font
  kFontUnreadable = 19,  // font file cannot be opened or read
};

// The message of a status code, "" for codes without one.
const char* FontStatusMessage(int32_t code);

// Files are addressed with 16-bit positions; everything read from a font lies below
// kFontReadLimit.
constexpr size_t kMaxFontFileSize = 65535;
constexpr size_t kFontReadLimit = 65000;

enum TStrokeOp : uint8_t { kStrokeEnd = 0, kStrokeNop = 1, kStrokeMove = 2, kStrokeDraw = 3 };

struct TStrokeCommand {
  TStrokeOp Op = kStrokeEnd;
  int32_t X = 0;  // font units, relative to the character's origin on the baseline, y up
  int32_t Y = 0;
};

// Opcode from the high bits, coordinates as 7-bit two's-complement numbers.
constexpr TStrokeCommand DecodeStroke(uint8_t b1, uint8_t b2) {
  const auto seven = [](uint8_t b) { return static_cast<int32_t>(b & 0x7F) - ((b & 0x40) ? 128 : 0); };
  return TStrokeCommand{static_cast<TStrokeOp>(((b1 >> 7) << 1) | (b2 >> 7)), seven(b1), seven(b2)};
}

// A font file in memory, checked so that every table entry and stroke list lies inside it.
struct TLoadedFont {
  uint16_t H = 0;          // stroke header position
  uint8_t N = 0;           // number of characters (low byte of the file's count)
  uint8_t F = 0;           // first character code
  uint16_t D = 0;          // stroke data position relative to H
  uint8_t CapHeight = 0;   // kept from the header, not used
  int8_t Descender = 0;    // kept from the header, not used
  size_t OffsetTable = 0;  // H + 16
  size_t WidthTable = 0;   // H + 16 + 2N
  bool Resident = false;
  // Highest and lowest y of the move and draw commands of "T", the size reference.
  int32_t ReferenceTop = 0;
  int32_t ReferenceBottom = 0;
  std::vector<uint8_t> Data;

  size_t DataSize() const { return Data.size(); }
  bool HasChar(int c) const { return c >= F && c < F + N; }
  // Position of the first stroke command of c (HasChar(c) required).
  size_t StrokeStart(int c) const;
  // Advance width byte of c; 0 for a character outside the font.
  uint8_t Width(int c) const;
  // The stroke commands of c up to (not including) its end command; none outside the font.
  std::vector<TStrokeCommand> Strokes(int c) const;
  // Calls fn(command) for each stroke command of c before its end command.
  template <class Fn>
  void ForEachStroke(int c, Fn&& fn) const {
    if (!HasChar(c)) return;
    const size_t limit = Limit();
    for (size_t p = StrokeStart(c); p + 2 <= limit; p += 2) {
      const TStrokeCommand cmd = DecodeStroke(Data[p], Data[p + 1]);
      if (cmd.Op == kStrokeEnd) return;
      fn(cmd);
    }
  }
  size_t Limit() const { return Data.size() < kFontReadLimit ? Data.size() : kFontReadLimit; }
};

// Checks `data` as a CHR file and moves it into `font`. Returns kFontOk, or kFontInvalid
// for a file that breaks the format: no 0x1A in the first 128 bytes, header position plus
// data size not the file size, 65,536 bytes or more, tables or stroke lists outside the
// file, or a "T" without height above the baseline (the font's size reference).
int32_t ReadChrFont(std::vector<uint8_t> data, TLoadedFont& font);
