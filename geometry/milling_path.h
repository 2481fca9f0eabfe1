// The milling path: the raw tool path with cutter radius compensation applied.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/records.h"

// Fills `path` from `raw`; returns 0, -5 or the number of the error that stopped it.
// Messages are appended to `messages`. On a stopping error `path` keeps what was
// appended before the failing element.
int32_t ComputeMillingPath(const TElementList& raw, TElementList& path,
                           const std::array<double, 256>& toolRadius, const TPoint& start,
                           TMessageList& messages);

// True when a and b differ in x or in y (exact comparison).
inline bool DiffersXY(const TPoint& a, const TPoint& b) { return a.X != b.X || a.Y != b.Y; }

struct TNextMove {
  int64_t Position = -1;     // the next move that leaves `end` in XY, or -1 when none follows
  uint8_t ModeAhead = 40;    // the compensation mode in force at that move
  int64_t ModeSetAt = -1;    // the last G40/G41/G42 passed on the way, or -1
};

// Scans raw from `from` for the next G00..G03 whose end differs from `end` in XY;
// G40/G41/G42 on the way change the mode ahead, which starts as `mode`.
TNextMove FindNextMove(const TElementList& raw, size_t from, const TPoint& end, uint8_t mode);
