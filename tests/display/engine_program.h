// A program file on disk, opened and run by a real engine instance for the drawing tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "engine/cnc_api.h"

class TEngineProgram {
 public:
  explicit TEngineProgram(const std::string& text, TCncPoint start = {0, 0, 0}) {
    static int serial = 0;
    File = std::filesystem::temp_directory_path() /
           ("velquor_display_" + std::to_string(::getpid()) + "_" + std::to_string(++serial) + ".cnc");
    std::ofstream(File) << text;
    Lines = CncOpen(File.c_str(), &Handle);
    if (Lines > 0) Run = CncRun(Handle, &start);
  }
  ~TEngineProgram() {
    CncClose(Handle);
    std::filesystem::remove(File);
  }
  TEngineProgram(const TEngineProgram&) = delete;
  TEngineProgram& operator=(const TEngineProgram&) = delete;

  int32_t Handle = 0;
  int32_t Lines = 0;
  int32_t Run = -1;

 private:
  std::filesystem::path File;
};
