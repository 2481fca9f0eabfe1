#include "cli/machine_command.h"

#include <QImage>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/machine_view_run.h"
#include "app/settings.h"
#include "cli/options.h"
#include "cli/program_run.h"
#include "base/convert.h"
#include "windows/image_sink.h"

const char* const kMachineUsage =
    "       velquor-cnc machine PROGRAM -o OUT.png [--zoom N] [--hscroll N] [--vscroll N] [--no-contour]\n"
    "                  [--no-path] [--size WxH] [--settings FILE.INI] [--radius N=MM]... [--start X,Y,Z]\n"
    "                  [--font-path DIR]\n";

namespace {

constexpr TOption kMachineOptions[] = {TOption::Output,   TOption::Zoom,   TOption::HScroll, TOption::VScroll,
                                       TOption::NoContour, TOption::NoPath, TOption::Size,    TOption::Settings,
                                       TOption::Radius,   TOption::Start,  TOption::FontPath};
constexpr TCommandSyntax kMachineSyntax{"machine", kMachineOptions, false, true};

struct TMachineOptions {
  std::string Program;
  std::string Output;
  int Width = kSurfaceWidth;
  int Height = kSurfaceHeight;
  TMachineViewControls Controls;
  TRunOptions Run;
};

TMachineOptions ParseMachineArgs(int argc, char** argv) {
  const TCommandOptions c = ParseCommandOptions(kMachineSyntax, argc, argv);
  TMachineOptions o;
  o.Program = c.Programs[0];
  o.Output = c.Output;
  if (c.Size) {
    o.Width = c.Size->Width;
    o.Height = c.Size->Height;
  }
  o.Controls.Zoom = c.Zoom.value_or(o.Controls.Zoom);
  o.Controls.HorzPos = c.HScroll.value_or(o.Controls.HorzPos);
  o.Controls.VertPos = c.VScroll.value_or(o.Controls.VertPos);
  o.Controls.ShowContour = !c.NoContour;
  o.Controls.ShowPath = !c.NoPath;
  o.Run = c.Run;
  return o;
}

bool Readable(const std::string& file) {
  std::error_code ec;
  return std::filesystem::is_regular_file(file, ec) && std::ifstream(file).good();
}

// The settings file's tool table (defaults without one), with --radius last.
std::optional<std::array<ToolParam, kToolCount>> ToolTable(const TMachineOptions& o) {
  TCncType settings;
  if (!o.Run.SettingsFile.empty()) {
    if (!Readable(o.Run.SettingsFile)) return std::nullopt;
    if (!ReadSettings(o.Run.SettingsFile, settings).Ok) return std::nullopt;
  }
  for (const auto& [tool, mm] : o.Run.Radii) settings.Tools[tool].Diameter = 2.0 * mm;
  return settings.Tools;
}

int Machine(const TMachineOptions& o) {
  if (!Readable(o.Program)) {
    std::fprintf(stderr, "velquor-cnc: cannot read %s\n", o.Program.c_str());
    return 1;
  }
  const auto tools = ToolTable(o);
  if (!tools) {
    std::fprintf(stderr, "velquor-cnc: cannot read settings file %s\n", o.Run.SettingsFile.c_str());
    return 1;
  }
  std::string settingsError;
  const TProgramRun r = RunProgram(o.Program, o.Run, settingsError);
  // Only the handle tells a failed open: a program may have 816 or 817 lines.
  if (r.Handle == 0) {
    std::fprintf(stderr, "velquor-cnc: the engine could not open %s (%d)\n", o.Program.c_str(), r.Open);
    return 1;
  }
  QImage picture(o.Width, o.Height, QImage::Format_RGB32);
  picture.fill(Qt::black);
  TRasterSink surface = RasterOf(picture);
  int32_t currentTool = 0;
  TMachineDrawRun run;
  run.Tools = &*tools;
  run.CurrentTool = &currentTool;
  run.Info = [](const std::string& s) { std::printf("%s\n", s.c_str()); };
  const TStepPosition counters = DrawMachineView(r.Handle, CNC_MODE_PATH, o.Controls, surface, run).value_or(TStepPosition{});
  CncClose(r.Handle);
  const int64_t values[3] = {counters.X, counters.Y, counters.Z};
  for (int axis = 0; axis < 3; ++axis) std::printf("%s %lld\n", kCurrentCaptions[axis], static_cast<long long>(values[axis]));
  if (!picture.save(QString::fromStdString(o.Output), "PNG")) {
    std::fprintf(stderr, "velquor-cnc: cannot write %s\n", o.Output.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int MachineCommand(int argc, char** argv) {
  for (int i = 2; i < argc; ++i) {
    if (std::string(argv[i]) == "--help") {
      std::printf("usage:\n%s", kMachineUsage);
      return 0;
    }
  }
  try {
    return Machine(ParseMachineArgs(argc, argv));
  } catch (const TOptionError& e) {
    std::fprintf(stderr, "velquor-cnc: %s\nusage:\n%s", e.Text.c_str(), kMachineUsage);
    return 2;
  }
}
