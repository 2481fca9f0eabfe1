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

// "Fonts/" below the executable's folder (which ends with a separator).
std::string FontFolder(const std::string& executableFolder);

// What the settings file reading leaves for the information pane: empty when it went well.
std::string SettingsProblem(const std::string& path, const std::string& error);
