// Start-up values of the viewer that need no window.
#pragma once

#include <string>

#include "display/view_window.h"

// The viewer starts showing this many millimetres of X from the view's left edge.
inline constexpr int kStartViewWidth = 600;
// The grid scroll bar counts in steps of this many millimetres.
inline constexpr int kGridStepMm = 5;

// XMin and YMin stay; the window becomes kStartViewWidth wide with the view's aspect.
void SetStartWindow(TViewWindow& view);

// "Fonts/" below the executable's folder (which ends with a separator), or the installed
// fonts in "../share/velquor/Fonts/" from there when that folder is missing.
std::string FontFolder(const std::string& executableFolder);

// The main window's title: "demo.cnc — Velquor" for a program's file name, "Velquor" for none.
std::string MainWindowTitle(const std::string& programName);

// The pane line at start that names the settings file in use.
std::string SettingsFileLine(const std::string& path);

// What the settings file reading leaves for the information pane: empty when it went well.
std::string SettingsProblem(const std::string& path, const std::string& error);
// The same after writing the settings file failed.
std::string SettingsNotWritten(const std::string& path, const std::string& error);
