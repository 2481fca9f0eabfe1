// The viewer's settings record and the settings file beside the executable, and the
// engine's tool radii of a tool table.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/records.h"

// A tool nobody has described yet.
ToolParam DefaultTool();

struct TViewerSettings {
  int32_t BoostFeed = 100;
  int32_t MaxSpeed = 10000;
  double ToolChangeX = 20.0;
  double ToolChangeY = 200.0;
  double ToolChangeZ = 55.0;
  int32_t CurrentTool = 0;  // set by the drawing run, never stored
  int32_t ApplicationTimeout = 10000;
  int32_t CursorTimeout = 400;
  TToolTable Tools = DefaultTools();

  static TToolTable DefaultTools();
};
// The settings record under the name it has always had.
using TCncType = TViewerSettings;

struct TSettingsResult {
  bool Ok = true;
  std::string Error;
  // One line per tool whose stored diameter was negative or not a finite number and was
  // replaced by the default, for the messages of the next run.
  std::vector<std::string> Warnings;
};

// "/opt/velquor/velquor" -> "/opt/velquor/velquor.INI"; "Velquor.exe" -> "Velquor.INI".
std::string SettingsFilePath(const std::string& executablePath);

// Key of one tool field: "T00 Name", "T07 Diameter", "T254 Feed".
std::string ToolKey(int tool, const char* field);

// Fills every stored field of `settings` from the file; what the file lacks or cannot be
// read as a number takes its default. A missing file gives all defaults and Ok; a file
// that exists but cannot be read (or is no regular file) gives all defaults and the reason.
// A diameter that is negative or no finite number keeps the default and is warned about.
TSettingsResult ReadSettings(const std::string& path, TViewerSettings& settings);

// Writes the tool-change position and the tool table into the file, keeping everything
// else it holds. The old file stays as it was when the write fails.
TSettingsResult WriteSettings(const std::string& path, const TViewerSettings& settings);

// Tool radii as the engine takes them (CncSetToolRadius): thousandths of a millimetre.
using TToolRadii = std::array<int32_t, kToolCount>;

// Radius in thousandths of a millimetre: Nearest(diameter x 500), ties to even, saturated
// to int32 (0 for a value that is not a number).
int32_t ToolRadiusThousandths(double diameter);
// The engine's radius of every tool of the table, as the viewer and the command line hand
// them over before a run.
TToolRadii EngineToolRadii(const TToolTable& tools);
// The table whose radii are the ones a new engine instance has: tools 1 to 6 10 mm across
// the radius, every other tool 0; no heights, names, speeds or feeds.
TToolTable EngineDefaultTools();
// The diameter whose engine radius is `radiusMm` rounded to thousandths of a millimetre.
double DiameterOfRadius(double radiusMm);
