// The side of the programmed contour the tool runs on.
#pragma once

#include <cstdint>
#include <optional>

#include "base/records.h"

// Carried as the number of the command that sets it (G40, G41, G42).
enum class TCompensationSide : uint8_t {
  Off = 40,    // the tool centre runs on the contour
  Left = 41,   // the tool runs left of the contour, seen along its direction
  Right = 42,  // the tool runs right of it
};

// Tool radius compensation is on.
constexpr bool CompensationOn(TCompensationSide side) { return side != TCompensationSide::Off; }

// The side that the code G40, G41 or G42 sets; none for any other code.
constexpr std::optional<TCompensationSide> CompensationSideOf(const TCode& code) {
  if (code.Chars[0] != 'G' || code.Chars[1] != '4') return std::nullopt;
  switch (code.Chars[2]) {
    case '0': return TCompensationSide::Off;
    case '1': return TCompensationSide::Left;
    case '2': return TCompensationSide::Right;
    default: return std::nullopt;
  }
}
