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

#include "base/convert.h"
#include "cli/options.h"
#include "cli/program_run.h"
#include "display/draw_elements.h"
#include "display/picture_export.h"
#include "display/sim_view.h"
#include "engine/cnc_api.h"

const char* const kRenderUsage =
    "       velquor-cnc render PROGRAM -o OUT.png|OUT.svg [--size WxH] [--no-contour] [--path] [--edges]\n"
    "                  [--settings FILE.INI] [--w0 X,Y] [--spindle X,Y] [--window XMIN,XMAX,YMIN]\n"
    "                  [--grid MM] [--radius N=MM]... [--font-path DIR]\n";

namespace {

// The picture's size without --size: the viewer's view.
constexpr int kViewWidth = 994;
constexpr int kViewHeight = 628;

constexpr TOption kRenderOptions[] = {TOption::Output, TOption::Size,     TOption::NoContour, TOption::Path,
                                      TOption::Edges,  TOption::Settings, TOption::W0,        TOption::Spindle,
                                      TOption::Window, TOption::Grid,     TOption::Radius,    TOption::FontPath};
constexpr TCommandSyntax kRenderSyntax{"render", kRenderOptions, false, true};

struct TRenderOptions : TPictureJob {
  bool Contour = true;
  bool Path = false;
  bool Edges = false;
  TRealXY W0;
  TRealXY Spindle;
  std::optional<TWindowRect> Window;  // YMax follows from the picture's aspect
  int Grid = 10;
  TRunOptions Run;
};

TRenderOptions RenderOptionsOf(const TCommandOptions& c) {
  TRenderOptions o;
  static_cast<TPictureJob&>(o) = PictureJobOf(c, kViewWidth, kViewHeight);
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

  // The tool circles and the start height come from the table the engine's radii come from.
  const TRunTools table = RunToolTable(o.Run);
  if (!table.Error.empty()) return CommandFailure(table.Error);
  const TToolTable& tools = table.Tools;
  int32_t currentTool = 0;
  o.Run.Start = TCncPoint{o.Spindle.X - o.W0.X, o.Spindle.Y - o.W0.Y, -tools[currentTool].Height};
  info("Try to open CNC-file : " + o.Program);
  const TProgramRun r = RunProgram(o.Program, o.Run, tools);
  if (const TCncMessageList* messages = CncGetMessages(r.Handle)) {
    for (int32_t i = 0; i < CncMessageCount(messages); ++i)
      info(std::string("Message from CAM processor: ") + CncMessageText(messages, i));
  }
  view.ClearObjects();
  const TDrawRun run{&tools, &currentTool, o.Edges, info};
  DrawProgram(view, r.Handle, {o.Contour, o.Path}, run);
  view.Invalidate();
  view.PaintView();
  CncClose(r.Handle);
  const TExportResult saved = ExportPicture(view, o.Output);
  return saved.Ok ? 0 : CommandFailure(saved.Error);
}

}  // namespace

// --help is answered before the command runs (AnswerHelpOptions).
int RenderCommand(int argc, char** argv) {
  const std::optional<TCommandOptions> c = ReadCommandOptions(kRenderSyntax, argc, argv, kRenderUsage);
  if (!c) return kUsageErrorExit;
  TRenderOptions o = RenderOptionsOf(*c);
  // The picture needs fonts but no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  return Render(o);
}
