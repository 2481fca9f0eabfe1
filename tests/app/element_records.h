// Element records of the call interface, built by hand for the viewer's tests.
#pragma once

#include <cstdint>

#include "engine/cnc_api.h"

constexpr int32_t kG00 = 'G' * 256, kG01 = kG00 + 1, kG02 = kG00 + 2, kG03 = kG00 + 3, kF = 'F' * 256, kT = 'T' * 256;

// An element to `end`; an arc's centre lies `centreOffset` from its start.
inline TCncElementData Element(int32_t code, TCncPoint end = {0, 0, 0}, TCncPoint centreOffset = {0, 0, 0},
                               int32_t line = 0) {
  TCncElementData e{};
  e.Code = code;
  e.P1 = end;
  e.P2 = centreOffset;
  e.Line = line;
  return e;
}

inline TCncElementData Feed(int32_t f) {
  TCncElementData e = Element(kF);
  e.FeedValue = f;
  return e;
}

inline TCncElementData Tool(int32_t t, int32_t line = 0) {
  TCncElementData e = Element(kT, {0, 0, 0}, {0, 0, 0}, line);
  e.ToolNo = t;
  return e;
}
