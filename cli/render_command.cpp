#include "cli/render_command.h"

#include <QGuiApplication>
#include <QImage>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "cli/options.h"
#include "cli/program_run.h"
#include "display/draw_elements.h"
#include "display/picture_export.h"
#include "display/sim_view.h"
#include "engine/cnc_api.h"
#include "base/convert.h"

const char* const kRenderUsage =
    "       velquor-cnc render PROGRAM -o OUT.png|OUT.svg [--size WxH] [--no-contour] [--path] [--edges]\n"
    "                  [--settings FILE.INI] [--w0 X,Y] [--spindle X,Y] [--window XMIN,XMAX,YMIN]\n"
    "                  [--grid MM] [--radius N=MM]... [--font-path DIR]\n";

namespace {

constexpr TOption kRenderOptions[] = {TOption::Output, TOption::Size,    TOption::NoContour, TOption::Path,
                                      TOption::Edges,  TOption::Settings, TOption::W0,        TOption::Spindle,
                                      TOption::Window, TOption::Grid,     TOption::Radius,    TOption::FontPath};
constexpr TCommandSyntax kRenderSyntax{"render", kRenderOptions, false, true};

struct TRenderOptions {
  std::string Program;
  std::string Output;
  int Width = 994;
  int Height = 628;
  bool Contour = true;
  bool Path = false;
  bool Edges = false;
  TRealXY W0;
  TRealXY Spindle;
  std::optional<TWindowRect> Window;  // YMax follows from the picture's aspect
  int Grid = 10;
  TRunOptions Run;
};

TRenderOptions ParseRenderArgs(int argc, char** argv) {
  const TCommandOptions c = ParseCommandOptions(kRenderSyntax, argc, argv);
  TRenderOptions o;
  o.Program = c.Programs[0];
  o.Output = c.Output;
  if (c.Size) {
    o.Width = c.Size->Width;
    o.Height = c.Size->Height;
  }
  o.Contour = !c.NoContour;
  o.Path = c.Path;
  o.Edges = c.Edges;
  o.W0 = c.W0;
  o.Spindle = c.Spindle;
  if (c.Window) o.Window = TWindowRect{c.Window->XMin, c.Window->XMax, c.Window->YMin, c.Window->YMin};
  o.Grid = c.Grid.value_or(o.Grid);
  o.Run = c.Run;
  return o;
}

// The tool table of the settings file, or without one the radii the engine runs with:
// its defaults (10 mm for tools 1 to 6). --radius options come last, as for the engine.
bool ToolTable(const TRenderOptions& o, std::array<ToolParam, 255>& tools, std::string& error) {
  tools = {};
  if (o.Run.SettingsFile.empty()) {
    for (int t = CNC_DEFAULT_RADIUS_FIRST_TOOL; t <= CNC_DEFAULT_RADIUS_LAST_TOOL; ++t)
      tools[t].Diameter = 2.0 * static_cast<int32_t>(CNC_DEFAULT_TOOL_RADIUS) / 1000.0;
  } else {
    std::error_code ec;
    if (!std::filesystem::exists(o.Run.SettingsFile, ec)) {
      error = "cannot read settings file " + o.Run.SettingsFile + ": no such file";
      return false;
    }
    TCncType settings;
    const TSettingsResult r = ReadSettings(o.Run.SettingsFile, settings);
    if (!r.Ok) {
      error = "cannot read settings file: " + r.Error;
      return false;
    }
    tools = settings.Tools;
  }
  for (const auto& [tool, mm] : o.Run.Radii) tools[tool].Diameter = RoundNearest(mm * 1000.0) / 500.0;
  return true;
}

void SetStartWindow(TSimView& view, const TRenderOptions& o) {
  if (o.Window) {
    view.XMin = o.Window->XMin;
    view.XMax = o.Window->XMax;
    view.YMin = o.Window->YMin;
    view.YMax = o.Window->YMin + (o.Window->XMax - o.Window->XMin) * o.Height / o.Width;
  } else {
    view.XMin = -40;
    view.YMin = -40;
    view.XMax = view.XMin + 600;
    view.YMax = NearestInt(600.0 * o.Height / o.Width + view.YMin);
  }
  view.SetGridSize(o.Grid);
  view.UpdateScale();
  view.Invalidate();
}

int Render(TRenderOptions& o) {
  // Refused before the program runs: the picture could not be written anyway.
  if (!PictureFormatFor(o.Output)) {
    std::fprintf(stderr, "velquor-cnc: %s\n", UnknownPictureFormatMessage(o.Output).c_str());
    return 2;
  }
  const auto info = [](const std::string& s) { std::printf("%s\n", s.c_str()); };
  TSimView view;
  view.Resize(o.Width, o.Height);
  SetStartWindow(view, o);
  view.SetW0X(o.W0.X);
  view.SetW0Y(o.W0.Y);
  view.SetSpindlePos(o.Spindle.X, o.Spindle.Y);

  std::array<ToolParam, 255> tools;
  std::string toolError;
  if (!ToolTable(o, tools, toolError)) {
    std::fprintf(stderr, "velquor-cnc: %s\n", toolError.c_str());
    return 1;
  }
  int32_t currentTool = 0;
  o.Run.Start = TCncPoint{o.Spindle.X - o.W0.X, o.Spindle.Y - o.W0.Y, -tools[currentTool].Height};
  info("Try to open CNC-file : " + o.Program);
  std::string settingsError;
  const TProgramRun r = RunProgram(o.Program, o.Run, settingsError);
  if (!settingsError.empty()) std::fprintf(stderr, "velquor-cnc: %s\n", settingsError.c_str());
  if (const TCncMessageList* messages = CncGetMessages(r.Handle)) {
    for (int32_t i = 0; i < CncMessageCount(messages); ++i)
      info(std::string("Message from CAM processor: ") + CncMessageText(messages, i));
  }
  view.ClearObjects();
  const TDrawRun run{&tools, &currentTool, o.Edges, info};
  if (o.Contour) DrawElements(view, r.Handle, CNC_MODE_CONTOUR, 1, QColor(255, 255, 0), run);
  if (o.Path) DrawElements(view, r.Handle, CNC_MODE_PATH, 0, QColor(0, 255, 0), run);
  view.Invalidate();
  view.PaintView();
  CncClose(r.Handle);
  const TExportResult saved = ExportPicture(view, o.Output);
  if (!saved.Ok) {
    std::fprintf(stderr, "velquor-cnc: %s\n", saved.Error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int RenderCommand(int argc, char** argv) {
  for (int i = 2; i < argc; ++i) {
    if (std::string(argv[i]) == "--help") {
      std::printf("usage:\n%s", kRenderUsage);
      return 0;
    }
  }
  TRenderOptions o;
  try {
    o = ParseRenderArgs(argc, argv);
  } catch (const TOptionError& e) {
    std::fprintf(stderr, "velquor-cnc: %s\nusage:\n%s", e.Text.c_str(), kRenderUsage);
    return 2;
  }
  // The picture needs fonts but no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  return Render(o);
}
