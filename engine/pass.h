// The two passes over every program line.
#pragma once

#include <cstdint>

// Pass Contour writes what was programmed (a cycle's outline) into the contour; pass
// RawPath writes the tool's moves into the raw path, from which the milling path is made.
enum class TPass : uint8_t { Contour = 0, RawPath = 1 };
