// The command interpreter: one program line into elements, in four scans over its words.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/program_reader.h"
#include "engine/instance.h"
#include "engine/pass.h"

// A word with its number forms converted once, as both passes of a line read them.
// Filled word by word; the unused slots are never read, so they are left unset.
struct TLineWord {
  TWord Word;
  char Letter;      // Word.Letter(), read by every scan of the line
  double Number;    // float value of the digits, 0 when not a number
  int64_t Integer;  // integer value of the digits, 0 when not an integer
  bool IsInteger;   // the digits are an integer (for the strict reading)
};

struct TLineWords : TSplitFlags {
  TLineWord Words[kMaxWords];
  size_t Count = 0;
  // The line's command words as rows of the interpreter's command table, in the order of the
  // words: the command scans visit these instead of looking every word up again.
  uint8_t Commands[kMaxWords];
  size_t CommandCount = 0;
  bool PassDependent = false;  // a command whose two passes may differ
  uint32_t Letters = 0;        // LetterBit of every word's letter
};

// A word letter's bit in TLineWords::Letters; letters outside "@" to "Z" share bit 31.
constexpr uint32_t LetterBit(char letter) {
  return letter >= '@' && letter <= 'Z' ? uint32_t{1} << (letter - '@') : uint32_t{1} << 31;
}

void PrepareLine(std::string_view line, TLineWords& words);

// Interprets one prepared line into `target` (the contour or the raw path, as `pass` says);
// returns the line's N number.
int32_t InterpretLine(TCncInstance& inst, const TLineWords& words, TElementList& target, TPass pass);

// Interprets one prepared line into the contour and then into the raw path, both passes from
// the same point and units; returns the line's N number.
int32_t InterpretBothPasses(TCncInstance& inst, const TLineWords& words);

// The command words of the dialect ("M03", "G01", ...), in the order a word is compared with
// them.
std::vector<TCode> DialectCommands();

// Interprets every line of the instance twice, both passes from the same state.
void InterpretProgram(TCncInstance& inst);
