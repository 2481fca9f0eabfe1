// Helpers for engine tests: messages of an instance.
#pragma once

#include <string>

#include "engine/instance.h"

inline int CountMessages(const TCncInstance& inst, const std::string& text) {
  int n = 0;
  for (const auto& m : inst.Messages) n += m == text;
  return n;
}
