// The milling path: the raw tool path with cutter radius compensation applied.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include "geometry/compensation_side.h"

#include "base/records.h"

// What the milling path computation returns (its numbers cross the C interface): done,
// nothing to compensate, or the error that stopped it where the offsets of two moves have
// no joint point, named after the two moves.
enum class TPathStatus : int32_t {
  Done = 0,
  NoProgramCode = -5,
  LineLine = 10,  // G01 into G01
  LineCcw = 12,   // G01 or G00 into G03
  CcwLine = 14,   // G03 into G01 or G00
  CwCw = 15,
  CwCcw = 16,
  CcwCcw = 17,
  CcwCw = 18,
};

// Fills `path` from `raw`; returns a TPathStatus number.
// Messages are appended to `messages`. On a stopping error `path` keeps what was
// appended before the failing element.
int32_t ComputeMillingPath(const TElementList& raw, TElementList& path, const std::array<double, 256>& toolRadius,
                           const TPoint& start, TMessageList& messages);

// True when a and b differ in x or in y (exact comparison).
inline bool DiffersXY(const TPoint& a, const TPoint& b) { return a.X != b.X || a.Y != b.Y; }

struct TNextMove {
  int64_t Position = -1;  // the next move that leaves `end` in XY, or -1 when none follows
  TCompensationSide ModeAhead = TCompensationSide::Off;  // the compensation in force at that move
  int64_t ModeSetAt = -1;                                // the last G40/G41/G42 passed on the way, or -1
};

// Scans raw from `from` for the next G00..G03 whose end differs from `end` in XY;
// G40/G41/G42 on the way change the mode ahead, which starts as `mode`.
TNextMove FindNextMove(const TElementList& raw, size_t from, const TPoint& end, TCompensationSide mode);
