#include "app/viewer_start.h"

#include "platform/install_paths.h"

void SetStartWindow(TViewWindow& view) {
  view.XMax = view.XMin + kStartViewWidth;
  view.YMax = view.Width > 0 ? NearestInt(static_cast<double>(kStartViewWidth) * view.Height / view.Width + view.YMin)
                             : view.YMin;
}

std::string FontFolder(const std::string& executableFolder) { return FontFolderInUse(executableFolder); }

std::string MainWindowTitle(const std::string& programName) {
  constexpr const char* kProduct = "Velquor";
  return programName.empty() ? kProduct : programName + " \u2014 " + kProduct;
}

std::string SettingsFileLine(const std::string& path) { return "Settings file: " + path; }

namespace {
// The error names the file once.
std::string WithPath(const std::string& path, const std::string& error) {
  return error.find(path) == std::string::npos ? path + ": " + error : error;
}
}  // namespace

std::string SettingsProblem(const std::string& path, const std::string& error) {
  if (error.empty()) return {};
  return "Settings file not read (" + WithPath(path, error) + "); the default settings are used";
}

std::string SettingsNotWritten(const std::string& path, const std::string& error) {
  return "Settings file not written (" + WithPath(path, error) + "); the tool table holds until the program ends";
}
