#include "app/viewer_start.h"

void SetStartWindow(TViewWindow& view) {
  view.XMax = view.XMin + kStartViewWidth;
  view.YMax = view.Width > 0
                  ? NearestInt(static_cast<double>(kStartViewWidth) * view.Height / view.Width + view.YMin)
                  : view.YMin;
}

std::string FontFolder(const std::string& executableFolder) { return executableFolder + "Fonts/"; }

std::string SettingsProblem(const std::string& path, const std::string& error) {
  if (error.empty()) return {};
  const std::string why = error.find(path) == std::string::npos ? path + ": " + error : error;
  return "Settings file not read (" + why + "); the default settings are used";
}
