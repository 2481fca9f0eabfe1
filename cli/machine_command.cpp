#include "cli/machine_command.h"

#include <QImage>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "base/convert.h"
#include "cli/options.h"
#include "cli/program_run.h"
#include "windows/image_sink.h"
#include "windows/machine_view_run.h"

const char* const kMachineUsage =
    "       velquor-cnc machine PROGRAM -o OUT.png [--zoom N] [--hscroll N] [--vscroll N] [--no-contour]\n"
    "                  [--no-path] [--size WxH] [--settings FILE.INI] [--radius N=MM]... [--start X,Y,Z]\n"
    "                  [--font-path DIR]\n";

namespace {

constexpr TOption kMachineOptions[] = {TOption::Output,    TOption::Zoom,   TOption::HScroll, TOption::VScroll,
                                       TOption::NoContour, TOption::NoPath, TOption::Size,    TOption::Settings,
                                       TOption::Radius,    TOption::Start,  TOption::FontPath};
constexpr TCommandSyntax kMachineSyntax{"machine", kMachineOptions, false, true};

struct TMachineOptions : TPictureJob {
  TMachineViewControls Controls;
  TRunOptions Run;
};

TMachineOptions MachineOptionsOf(const TCommandOptions& c) {
  TMachineOptions o;
  static_cast<TPictureJob&>(o) = PictureJobOf(c, kSurfaceWidth, kSurfaceHeight);
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

int Machine(const TMachineOptions& o) {
  if (!Readable(o.Program)) return CommandFailure("cannot read " + o.Program);
  const TRunTools tools = RunToolTable(o.Run);
  if (!tools.Error.empty()) return CommandFailure("cannot read settings file " + o.Run.SettingsFile);
  const TProgramRun r = RunProgram(o.Program, o.Run, tools.Tools);
  // Only the handle tells a failed open: a program may have 816 or 817 lines.
  if (r.Handle == 0)
    return CommandFailure("the engine could not open " + o.Program + " (" + std::to_string(r.Open) + ")");
  QImage picture(o.Width, o.Height, QImage::Format_RGB32);
  picture.fill(Qt::black);
  TRasterSink surface = RasterOf(picture);
  int32_t currentTool = 0;
  TMachineDrawRun run;
  run.Tools = &tools.Tools;
  run.CurrentTool = &currentTool;
  run.Info = [](const std::string& s) { std::printf("%s\n", s.c_str()); };
  const TStepPosition counters =
      DrawMachineView(r.Handle, CNC_MODE_PATH, o.Controls, surface, run).value_or(TStepPosition{});
  CncClose(r.Handle);
  const int64_t values[3] = {counters.X, counters.Y, counters.Z};
  for (int axis = 0; axis < 3; ++axis)
    std::printf("%s %lld\n", kCurrentCaptions[axis], static_cast<long long>(values[axis]));
  if (!picture.save(QString::fromStdString(o.Output), "PNG")) return CommandFailure("cannot write " + o.Output);
  return 0;
}

}  // namespace

// --help is answered before the command runs (AnswerHelpOptions).
int MachineCommand(int argc, char** argv) {
  const std::optional<TCommandOptions> c = ReadCommandOptions(kMachineSyntax, argc, argv, kMachineUsage);
  return c ? Machine(MachineOptionsOf(*c)) : kUsageErrorExit;
}
