// The command interpreter: one program line into elements, in four scans over its words.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/instance.h"
#include "base/program_reader.h"

// A word with its number forms converted once, as both passes of a line read them.
// Filled word by word; the unused slots are never read, so they are left unset.
struct TLineWord {
  TWord Word;
  double Number;      // float value of the digits, 0 when not a number
  int64_t Integer;    // integer value of the digits, 0 when not an integer
  bool IsInteger;     // the digits are an integer (for the strict reading)
};

struct TLineWords : TSplitFlags {
  TLineWord Words[kMaxWords];
  size_t Count = 0;
};

void PrepareLine(std::string_view line, TLineWords& words);

// Interprets one prepared line into `target` (pass 0: contour, pass 1: raw path);
// returns the line's N number.
int32_t InterpretLine(TCncFileReader& inst, const TLineWords& words, TElementList& target, int pass);

// Interprets every line of the instance twice, both passes from the same state.
void InterpretProgram(TCncFileReader& inst);
