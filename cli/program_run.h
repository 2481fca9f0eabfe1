// Runs a program through the engine's C entry points as the viewer's processing does.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/records.h"
#include "engine/cnc_api.h"

struct TRunOptions {
  std::string FontPath;                       // empty: the Fonts folder beside the executable or the installed one
  std::vector<std::pair<int, double>> Radii;  // --radius N=MM
  std::string SettingsFile;                   // --settings FILE.INI
  TCncPoint Start{0.0, 0.0, 0.0};
  bool Raw = false;
  bool Quiet = false;
  int64_t MaxElements = CNC_DEFAULT_ELEMENT_LIMIT;  // --max-elements N
};

struct TProgramRun {
  int32_t Open = 0;                           // line count, or the failure status when Handle is 0
  int32_t Handle = 0;                         // 0: the open failed and no instance exists
  std::optional<int32_t> Run;                 // none when nothing was read and the run was skipped
  std::vector<std::string> SettingsWarnings;  // settings values replaced by their defaults
};

// The tool table of a run: the settings file's (--settings), or without one the table of
// the radii a new engine instance has; the --radius options last.
struct TRunTools {
  TToolTable Tools;
  std::string Error;                  // why the settings file could not be read; the table then has no settings
  std::vector<std::string> Warnings;  // settings values replaced by their defaults
};
TRunTools RunToolTable(const TRunOptions& options);

// Opens and runs `program` with the radii of RunToolTable, leaving the instance open for
// queries; close it with CncClose. `error` gets a settings file problem (the run goes on
// without those radii). The settings file is read only when there is a program to run.
TProgramRun RunProgram(const std::string& program, const TRunOptions& options, std::string& error);
// The same with the radii of a tool table read before.
TProgramRun RunProgram(const std::string& program, const TRunOptions& options, const TToolTable& tools);
