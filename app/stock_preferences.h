// The simulated stock's preferences, kept in the viewer's own preferences file
// ($XDG_CONFIG_HOME/velquor/velquor-viewer.conf), not in the settings file beside the program.
#pragma once

#include <optional>

#include "stock/cutter.h"
#include "stock/height_map.h"

struct TStockPreferences {
  bool ResultOn = false;
  std::optional<TStockBox> Box;  // none: the default block of each program
  std::optional<double> Cell;    // none: the default cell
  TCutterShapes Shapes{};
};

TStockPreferences ReadStockPreferences();
void WriteStockPreferences(const TStockPreferences& preferences);
