// The command interpreter: one program line into elements, in four scans over its words.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/instance.h"
#include "engine/program_reader.h"

// A word with its number forms converted once, as both passes of a line read them.
struct TLineWord {
  TWord Word;
  double Number = 0.0;      // float value of the digits, 0 when not a number
  int64_t Integer = 0;      // integer value of the digits, 0 when not an integer
  bool IsInteger = false;   // the digits are an integer (for the strict reading)
};

struct TLineWords {
  TLineWord Words[kMaxWords];
  size_t Count = 0;
  bool UnbalancedQuote = false;
  bool TooLong = false;
  bool TooManyWords = false;
};

TLineWords PrepareLine(std::string_view line);

// Interprets one prepared line into `target` (pass 0: contour, pass 1: raw path).
void InterpretLine(TCncFileReader& inst, const TLineWords& words, TElementList& target, int pass);

// Interprets every line of the instance twice, both passes from the same state.
void InterpretProgram(TCncFileReader& inst);
