// A run of an instance: every line interpreted into contour and raw path, then the milling
// path computed from the raw path.
#pragma once

#include <cstdint>

#include "base/records.h"
#include "engine/instance.h"

// Run status when the element budget is spent (CNC_ELEMENT_LIMIT of the C interface).
constexpr int32_t kElementLimitStatus = 819;

// Interprets every line twice and computes the milling path from `start`; 0, -5, a
// stopping error or kElementLimitStatus when the program makes more elements than the
// budget allows. A second run starts afresh.
int32_t RunInstance(TCncInstance& inst, const TPoint& start);
