// Writes CHR font files for the tests, well-formed or broken on purpose.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

struct TTestStroke {
  int Op = 2;  // 1 no operation, 2 move, 3 draw
  int X = 0;
  int Y = 0;
};

struct TTestGlyph {
  int Width = 0;
  std::vector<TTestStroke> Strokes;
};

inline TTestStroke Move(int x, int y) { return {2, x, y}; }
inline TTestStroke Draw(int x, int y) { return {3, x, y}; }

struct TChrWriter {
  std::string Description = "Velquor test font";
  size_t HeaderPos = 0;              // 0: 16 bytes after the 0x1A
  int First = 32;                    // first character code
  int Last = 90;                     // last character code
  std::map<int, TTestGlyph> Glyphs;  // characters not listed: width 0, no strokes
  std::optional<int> CountField;     // count written to the header (default: Last - First + 1)

  std::vector<uint8_t> Build() const;
  // Positions inside the last Build(), for damaging a file on purpose.
  size_t OffsetTablePos() const { return HeaderStart() + 16; }
  size_t HeaderStart() const;
};

// A font with "T" 20 units high (width 10) and a few characters of known shape:
//   'I'  width 5:  move (2,0), draw (2,20)
//   '-'  width 7:  move (0,10), draw (6,10)
//   'L'  width 9:  move (0,20), draw (0,0), draw (8,0)
//   ' '  width 6:  no strokes
TChrWriter StandardTestFont();

// Two bytes of one stroke command.
std::vector<uint8_t> EncodeStroke(const TTestStroke& s);

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// The temporary folder as a font folder: ends with "/".
inline std::string FontFolder(const TTempFolder& folder) { return folder.Path() + "/"; }
