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

struct TRenderError {
  std::string Text;
};

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

std::vector<double> Numbers(const std::string& s, char separator, size_t count, const std::string& what) {
  std::vector<double> out;
  size_t pos = 0;
  while (out.size() < count) {
    const size_t next = out.size() + 1 < count ? s.find(separator, pos) : s.size();
    const auto v = next == std::string::npos ? std::nullopt
                                             : ParseFloat(std::string_view(s).substr(pos, next - pos));
    if (!v || !std::isfinite(*v)) throw TRenderError{what + ", not " + s};
    out.push_back(*v);
    pos = next + 1;
  }
  return out;
}

TRenderOptions ParseRenderArgs(int argc, char** argv) {
  TRenderOptions o;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw TRenderError{a + " needs a value"};
      return argv[++i];
    };
    if (a == "-o") {
      o.Output = value();
    } else if (a == "--size") {
      const auto v = Numbers(value(), 'x', 2, "--size wants WxH");
      if (v[0] < 1 || v[0] > 16384 || v[1] < 1 || v[1] > 16384 || v[0] != std::floor(v[0]) || v[1] != std::floor(v[1]))
        throw TRenderError{"--size wants whole pixels from 1 to 16384"};
      o.Width = static_cast<int>(v[0]);
      o.Height = static_cast<int>(v[1]);
    } else if (a == "--no-contour") {
      o.Contour = false;
    } else if (a == "--path") {
      o.Path = true;
    } else if (a == "--edges") {
      o.Edges = true;
    } else if (a == "--settings") {
      o.Run.SettingsFile = value();
    } else if (a == "--w0") {
      const auto v = Numbers(value(), ',', 2, "--w0 wants X,Y");
      o.W0 = {v[0], v[1]};
    } else if (a == "--spindle") {
      const auto v = Numbers(value(), ',', 2, "--spindle wants X,Y");
      o.Spindle = {v[0], v[1]};
    } else if (a == "--window") {
      const auto v = Numbers(value(), ',', 3, "--window wants XMIN,XMAX,YMIN");
      if (!(v[1] > v[0])) throw TRenderError{"--window wants XMAX above XMIN"};
      o.Window = TWindowRect{v[0], v[1], v[2], v[2]};
    } else if (a == "--grid") {
      const std::string v = value();
      const auto mm = ParseInt(v);
      if (!mm || *mm < 1 || *mm > 1000000) throw TRenderError{"--grid wants whole millimetres from 1, not " + v};
      o.Grid = static_cast<int>(*mm);
    } else if (a == "--radius") {
      const std::string v = value();
      const size_t eq = v.find('=');
      const auto tool = eq == std::string::npos ? std::nullopt : ParseInt(std::string_view(v).substr(0, eq));
      const auto mm = eq == std::string::npos ? std::nullopt : ParseFloat(std::string_view(v).substr(eq + 1));
      if (!tool || *tool < 0 || *tool > 254 || !mm || *mm < 0 || *mm > 1e6)
        throw TRenderError{"--radius wants N=MM with N in 0..254 and MM from 0 to 1000000, not " + v};
      o.Run.Radii.emplace_back(static_cast<int>(*tool), *mm);
    } else if (a == "--font-path") {
      o.Run.FontPath = value();
    } else if (a.size() > 1 && a[0] == '-') {
      throw TRenderError{"unknown option " + a};
    } else if (o.Program.empty()) {
      o.Program = a;
    } else {
      throw TRenderError{"render takes one program"};
    }
  }
  if (o.Program.empty()) throw TRenderError{"no program given"};
  if (o.Output.empty()) throw TRenderError{"no output file given (-o OUT.png)"};
  return o;
}

// The tool table of the settings file, or without one the radii the engine runs with:
// its defaults (10 mm for tools 1 to 6). --radius options come last, as for the engine.
bool ToolTable(const TRenderOptions& o, std::array<ToolParam, 255>& tools, std::string& error) {
  tools = {};
  if (o.Run.SettingsFile.empty()) {
    for (int t = 1; t <= 6; ++t) tools[t].Diameter = 20.0;
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
  if (o.Contour) DrawElements(view, r.Handle, 0, 1, QColor(255, 255, 0), run);
  if (o.Path) DrawElements(view, r.Handle, 1, 0, QColor(0, 255, 0), run);
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
  } catch (const TRenderError& e) {
    std::fprintf(stderr, "velquor-cnc: %s\nusage:\n%s", e.Text.c_str(), kRenderUsage);
    return 2;
  }
  // The picture needs fonts but no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  return Render(o);
}
