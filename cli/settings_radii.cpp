#include <algorithm>
#include <filesystem>
#include <limits>

#include "app/settings.h"
#include "cli/program_run.h"
#include "base/convert.h"

bool ReadSettingsRadii(const std::string& file, std::array<int32_t, 255>& radii, std::string& error,
                       std::vector<std::string>& warnings) {
  // The viewer takes a missing file for all defaults; a file named here must be there.
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    error = "cannot read settings file " + file + ": no such file";
    return false;
  }
  TCncType settings;
  const TSettingsResult r = ReadSettings(file, settings);
  if (!r.Ok) {
    error = "cannot read settings file: " + r.Error;
    return false;
  }
  warnings = r.Warnings;
  // Radius in thousandths of a millimetre: diameter * 1000 / 2, held to what the engine takes.
  constexpr int64_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
  for (int t = 0; t < kToolCount; ++t)
    radii[t] = static_cast<int32_t>(std::clamp(RoundNearest(settings.Tools[t].Diameter * 500.0), lo, hi));
  return true;
}
