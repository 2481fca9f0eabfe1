// Helpers for engine tests: run a program text through an instance.
#pragma once

#include <memory>
#include <string>

#include "engine/instance.h"

inline std::unique_ptr<TCncFileReader> RunText(const std::string& text, TPoint start = {}) {
  auto inst = std::make_unique<TCncFileReader>(1, "", VELQUOR_FONT_DIR);
  inst->Lines.Assign(text);
  inst->Run(start);
  return inst;
}

inline int CountMessages(const TCncFileReader& inst, const std::string& text) {
  int n = 0;
  for (const auto& m : inst.Messages) n += m == text;
  return n;
}
