#include "platform/viewer_settings.h"

#include <algorithm>
#include <filesystem>
#include <limits>

#include "base/convert.h"
#include "engine/cnc_api.h"
#include "platform/ini_profile.h"

namespace {

constexpr const char* kToolChangeSection = "Werkzeugwechselposition";
constexpr const char* kToolsSection = "Tools";

// A tool's diameter; a stored value that is negative or no finite number would hand the
// engine a negative or meaningless radius, so it keeps `fallback` and is reported.
double ReadDiameter(const TIniFile& ini, int tool, double fallback, std::vector<std::string>& warnings) {
  const std::string key = ToolKey(tool, "Diameter");
  if (!ini.KeyExists(kToolsSection, key)) return fallback;
  const std::string text = ini.ReadString(kToolsSection, key, "");
  bool ok = false;
  const double d = IniTextToFloat(text, fallback, &ok);
  if (ok && d >= 0.0) return d;
  warnings.push_back("Warning: settings file: tool " + std::to_string(tool) + " has the diameter \"" +
                     text.substr(0, 40) + "\", which is not a diameter; the default " + IniFloatToText(fallback) +
                     " mm is used");
  return fallback;
}

}  // namespace

ToolParam DefaultTool() {
  ToolParam t;
  t.Diameter = 80.0;
  t.Height = 20.0;
  t.Name = "not specified";
  t.Speed = 10000;
  t.Feed = 2000;
  return t;
}

TToolTable TViewerSettings::DefaultTools() {
  TToolTable tools;
  tools.fill(DefaultTool());
  return tools;
}

std::string SettingsFilePath(const std::string& executablePath) {
  if (executablePath.empty()) return {};
  return std::filesystem::path(executablePath).replace_extension(".INI").string();
}

std::string ToolKey(int tool, const char* field) { return "T" + TwoDigits(tool) + " " + field; }

TSettingsResult ReadSettings(const std::string& path, TViewerSettings& settings) {
  TIniFile ini;
  const TIniResult loaded = ini.Load(path);
  const TViewerSettings d;
  settings.ToolChangeX = ini.ReadFloat(kToolChangeSection, "T0.x", d.ToolChangeX);
  settings.ToolChangeY = ini.ReadFloat(kToolChangeSection, "T0.y", d.ToolChangeY);
  settings.ToolChangeZ = ini.ReadFloat(kToolChangeSection, "T0.z", d.ToolChangeZ);
  settings.BoostFeed = ini.ReadInteger("Vorschub", "BoostFeed", d.BoostFeed);
  settings.MaxSpeed = ini.ReadInteger("SPEED", "MaxSpeed", d.MaxSpeed);
  settings.CursorTimeout = ini.ReadInteger("Timeout", "CursorTimeout", d.CursorTimeout);
  settings.ApplicationTimeout = ini.ReadInteger("Timeout", "ApplicationTimeout", d.ApplicationTimeout);
  const ToolParam dt = DefaultTool();
  std::vector<std::string> warnings;
  for (int n = 0; n < kToolCount; ++n) {
    ToolParam& t = settings.Tools[n];
    t.Name = ini.ReadString(kToolsSection, ToolKey(n, "Name"), dt.Name);
    t.Diameter = ReadDiameter(ini, n, dt.Diameter, warnings);
    t.Height = ini.ReadFloat(kToolsSection, ToolKey(n, "Height"), dt.Height);
    t.Speed = ini.ReadInteger(kToolsSection, ToolKey(n, "Speed"), dt.Speed);
    t.Feed = ini.ReadInteger(kToolsSection, ToolKey(n, "Feed"), dt.Feed);
  }
  return {loaded.Ok, loaded.Error, std::move(warnings)};
}

TSettingsResult WriteSettings(const std::string& path, const TViewerSettings& settings) {
  TIniFile ini;
  // A file that exists but cannot be read is not replaced: its other sections would be lost.
  if (const TIniResult loaded = ini.Load(path); !loaded.Ok) return {false, loaded.Error, {}};
  // The user's configuration folder may not exist before the first save; when it cannot be
  // made, the save below names the reason.
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  ini.WriteFloat(kToolChangeSection, "T0.x", settings.ToolChangeX);
  ini.WriteFloat(kToolChangeSection, "T0.y", settings.ToolChangeY);
  ini.WriteFloat(kToolChangeSection, "T0.z", settings.ToolChangeZ);
  for (int n = 0; n < kToolCount; ++n) {
    const ToolParam& t = settings.Tools[n];
    ini.WriteString(kToolsSection, ToolKey(n, "Name"), t.Name);
    ini.WriteFloat(kToolsSection, ToolKey(n, "Diameter"), t.Diameter);
    ini.WriteFloat(kToolsSection, ToolKey(n, "Height"), t.Height);
    ini.WriteInteger(kToolsSection, ToolKey(n, "Speed"), t.Speed);
    ini.WriteInteger(kToolsSection, ToolKey(n, "Feed"), t.Feed);
  }
  const TIniResult saved = ini.Save(path);
  return {saved.Ok, saved.Error, {}};
}

int32_t ToolRadiusThousandths(double diameter) {
  // Held to int32 before rounding, so that a diameter beyond any double's x 500 saturates too.
  constexpr double lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(RoundNearest(std::clamp(diameter * 500.0, lo, hi)));
}

TToolRadii EngineToolRadii(const TToolTable& tools) {
  TToolRadii radii;
  for (int t = 0; t < kToolCount; ++t) radii[t] = ToolRadiusThousandths(tools[t].Diameter);
  return radii;
}

TToolTable EngineDefaultTools() {
  TToolTable tools{};
  for (int t = CNC_DEFAULT_RADIUS_FIRST_TOOL; t <= CNC_DEFAULT_RADIUS_LAST_TOOL; ++t)
    tools[t].Diameter = 2.0 * static_cast<int32_t>(CNC_DEFAULT_TOOL_RADIUS) / 1000.0;
  return tools;
}

double DiameterOfRadius(double radiusMm) { return static_cast<double>(RoundNearest(radiusMm * 1000.0)) / 500.0; }
