#include "cli/program_run.h"

#include "base/convert.h"
#include "platform/executable_path.h"
#include "platform/install_paths.h"

TProgramRun RunProgram(const std::string& program, const TRunOptions& options, std::string& error) {
  std::string fontPath = options.FontPath.empty() ? FontFolderInUse(ExecutableFolder()) : options.FontPath;
  if (!fontPath.empty() && fontPath.back() != '/') fontPath += '/';
  CncSetFontPath(fontPath.c_str());

  TProgramRun r;
  r.Open = CncOpen(program.c_str(), &r.Handle);
  // A failed open leaves no instance; a count of 816 or 817 with a handle is a line count.
  if (r.Handle == 0 || r.Open == 0) return r;
  CncSetLimit(r.Handle, options.MaxElements);
  if (!options.SettingsFile.empty()) {
    std::array<int32_t, 255> radii{};
    if (ReadSettingsRadii(options.SettingsFile, radii, error, r.SettingsWarnings)) {
      for (int t = 0; t < 255; ++t) CncSetToolRadius(r.Handle, static_cast<uint8_t>(t), radii[t]);
    }
  }
  for (const auto& [tool, mm] : options.Radii)
    CncSetToolRadius(r.Handle, static_cast<uint8_t>(tool), static_cast<int32_t>(RoundNearest(mm * 1000.0)));
  r.Run = CncRun(r.Handle, &options.Start);
  return r;
}
