// The side of the programmed contour the tool runs on.
#pragma once

#include <cstdint>

// Carried as the number of the command that sets it (G40, G41, G42).
enum class TCompensationSide : uint8_t {
  Off = 40,    // the tool centre runs on the contour
  Left = 41,   // the tool runs left of the contour, seen along its direction
  Right = 42,  // the tool runs right of it
};

// Tool radius compensation is on.
constexpr bool CompensationOn(TCompensationSide side) { return side != TCompensationSide::Off; }
