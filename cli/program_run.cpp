#include "cli/program_run.h"

#include <filesystem>

#include "platform/executable_path.h"
#include "platform/install_paths.h"
#include "platform/viewer_settings.h"

namespace {

// Opens `program` with the options' font folder and element limit; the run is left to the caller.
TProgramRun OpenProgram(const std::string& program, const TRunOptions& options) {
  std::string fontPath = options.FontPath.empty() ? FontFolderInUse(ExecutableFolder()) : options.FontPath;
  if (!fontPath.empty() && fontPath.back() != '/') fontPath += '/';
  CncSetFontPath(fontPath.c_str());

  TProgramRun r;
  r.Open = CncOpen(program.c_str(), &r.Handle);
  if (r.Handle != 0 && r.Open != 0) CncSetLimit(r.Handle, options.MaxElements);
  return r;
}

// A failed open leaves no instance; a count of 816 or 817 with a handle is a line count.
bool Runnable(const TProgramRun& r) { return r.Handle != 0 && r.Open != 0; }

void Run(TProgramRun& r, const TRunOptions& options, const TToolTable& tools) {
  const TToolRadii radii = EngineToolRadii(tools);
  for (int t = 0; t < kToolCount; ++t) CncSetToolRadius(r.Handle, static_cast<uint8_t>(t), radii[t]);
  r.Run = CncRun(r.Handle, &options.Start);
}

}  // namespace

TRunTools RunToolTable(const TRunOptions& options) {
  TRunTools r;
  r.Tools = EngineDefaultTools();
  if (!options.SettingsFile.empty()) {
    // The viewer takes a missing file for all defaults; a file named here must be there.
    std::error_code ec;
    TViewerSettings settings;
    if (!std::filesystem::exists(options.SettingsFile, ec)) {
      r.Error = "cannot read settings file " + options.SettingsFile + ": no such file";
    } else if (const TSettingsResult read = ReadSettings(options.SettingsFile, settings); !read.Ok) {
      r.Error = "cannot read settings file: " + read.Error;
    } else {
      r.Tools = settings.Tools;
      r.Warnings = read.Warnings;
    }
  }
  for (const auto& [tool, mm] : options.Radii) r.Tools[tool].Diameter = DiameterOfRadius(mm);
  return r;
}

TProgramRun RunProgram(const std::string& program, const TRunOptions& options, std::string& error) {
  TProgramRun r = OpenProgram(program, options);
  if (!Runnable(r)) return r;
  TRunTools tools = RunToolTable(options);
  error = tools.Error;
  r.SettingsWarnings = std::move(tools.Warnings);
  Run(r, options, tools.Tools);
  return r;
}

TProgramRun RunProgram(const std::string& program, const TRunOptions& options, const TToolTable& tools) {
  TProgramRun r = OpenProgram(program, options);
  if (Runnable(r)) Run(r, options, tools);
  return r;
}
