// The milling path: the raw tool path with cutter radius compensation applied.
#pragma once

#include <array>
#include <cstdint>

#include "engine/records.h"

// Fills `path` from `raw`; returns 0, -5 or the number of the error that stopped it.
int32_t ComputeMillingPath(const TElementList& raw, TElementList& path,
                           const std::array<double, 256>& toolRadius, const TPoint& start,
                           TMessageList& messages);
