// Runs a program through the engine's C entry points as the viewer's processing does.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/cnc_api.h"

struct TRunOptions {
  std::string FontPath;              // empty: the Fonts folder beside the executable or the installed one
  std::vector<std::pair<int, double>> Radii;  // --radius N=MM
  std::string SettingsFile;          // --settings FILE.INI
  TCncPoint Start{0.0, 0.0, 0.0};
  bool Raw = false;
  bool Quiet = false;
  int64_t MaxElements = CNC_DEFAULT_ELEMENT_LIMIT;  // --max-elements N
};

struct TProgramRun {
  int32_t Open = 0;                  // line count, or the failure status when Handle is 0
  int32_t Handle = 0;                // 0: the open failed and no instance exists
  std::optional<int32_t> Run;        // none when nothing was read and the run was skipped
  std::vector<std::string> SettingsWarnings;  // settings values replaced by their defaults
};

// Opens and runs `program`, leaving the instance open for queries; close it with CncClose.
// `error` gets a settings file problem (the run goes on without those radii).
TProgramRun RunProgram(const std::string& program, const TRunOptions& options, std::string& error);

// Tool radii from a settings file's tool table, in thousandths of a millimetre; `warnings`
// gets the values that were replaced by defaults.
bool ReadSettingsRadii(const std::string& file, std::array<int32_t, 255>& radii, std::string& error,
                       std::vector<std::string>& warnings);
