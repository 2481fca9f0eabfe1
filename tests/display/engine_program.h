// A program file on disk, opened and run by a real engine instance for the drawing tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/cnc_api.h"
#include "tests/support/temp_folder.h"

class TEngineProgram {
 public:
  explicit TEngineProgram(const std::string& text, TCncPoint start = {0, 0, 0}) {
    Lines = CncOpen(Folder.Write("program.cnc", text).c_str(), &Handle);
    if (Lines > 0) Run = CncRun(Handle, &start);
  }
  ~TEngineProgram() { CncClose(Handle); }
  TEngineProgram(const TEngineProgram&) = delete;
  TEngineProgram& operator=(const TEngineProgram&) = delete;

  int32_t Handle = 0;
  int32_t Lines = 0;
  int32_t Run = -1;

 private:
  TTempFolder Folder;
};
