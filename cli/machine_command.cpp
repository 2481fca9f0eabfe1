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
#include "cli/program_run.h"
#include "base/convert.h"
#include "windows/image_sink.h"

const char* const kMachineUsage =
    "       velquor-cnc machine PROGRAM -o OUT.png [--zoom N] [--hscroll N] [--vscroll N] [--no-contour]\n"
    "                  [--no-path] [--size WxH] [--settings FILE.INI] [--radius N=MM]... [--start X,Y,Z]\n"
    "                  [--font-path DIR]\n";

namespace {

struct TMachineError {
  std::string Text;
};

struct TMachineOptions {
  std::string Program;
  std::string Output;
  int Width = kSurfaceWidth;
  int Height = kSurfaceHeight;
  TMachineViewControls Controls;
  TRunOptions Run;
};

// `count` numbers separated by `separator`; none when the text is not exactly that.
std::optional<std::vector<double>> NumberList(const std::string& s, char separator, size_t count) {
  std::vector<double> out;
  size_t pos = 0;
  for (size_t i = 0; i < count; ++i) {
    const size_t next = i + 1 < count ? s.find(separator, pos) : s.size();
    if (next == std::string::npos) return std::nullopt;
    const auto v = ParseFloat(std::string_view(s).substr(pos, next - pos));
    if (!v || !std::isfinite(*v)) return std::nullopt;
    out.push_back(*v);
    pos = next + 1;
  }
  return out;
}

int WholeNumber(const std::string& option, const std::string& text, int lo, int hi) {
  const auto v = ParseInt(text);
  if (!v || *v < lo || *v > hi)
    throw TMachineError{option + " wants a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                        ", not " + text};
  return static_cast<int>(*v);
}

TMachineOptions ParseMachineArgs(int argc, char** argv) {
  TMachineOptions o;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw TMachineError{a + " needs a value"};
      return argv[++i];
    };
    if (a == "-o") {
      o.Output = value();
    } else if (a == "--zoom") {
      o.Controls.Zoom = WholeNumber(a, value(), kZoomMin, kZoomMax);
    } else if (a == "--hscroll") {
      o.Controls.HorzPos = WholeNumber(a, value(), kScrollMin, kScrollMax);
    } else if (a == "--vscroll") {
      o.Controls.VertPos = WholeNumber(a, value(), kScrollMin, kScrollMax);
    } else if (a == "--no-contour") {
      o.Controls.ShowContour = false;
    } else if (a == "--no-path") {
      o.Controls.ShowPath = false;
    } else if (a == "--size") {
      const std::string v = value();
      const auto wh = NumberList(v, 'x', 2);
      if (!wh) throw TMachineError{"--size wants WxH, not " + v};
      const auto whole = [](double d) { return d >= 1 && d <= 16384 && d == std::floor(d); };
      if (!whole((*wh)[0]) || !whole((*wh)[1])) throw TMachineError{"--size wants whole pixels from 1 to 16384"};
      o.Width = static_cast<int>((*wh)[0]);
      o.Height = static_cast<int>((*wh)[1]);
    } else if (a == "--settings") {
      o.Run.SettingsFile = value();
    } else if (a == "--radius") {
      const std::string v = value();
      const auto nm = NumberList(v, '=', 2);
      if (!nm || (*nm)[0] != std::floor((*nm)[0]) || (*nm)[0] < 0 || (*nm)[0] >= kToolCount || (*nm)[1] < 0 ||
          (*nm)[1] > 1e6)
        throw TMachineError{"--radius wants N=MM with N in 0..254 and MM from 0 to 1000000, not " + v};
      o.Run.Radii.emplace_back(static_cast<int>((*nm)[0]), (*nm)[1]);
    } else if (a == "--start") {
      const std::string v = value();
      const auto p = NumberList(v, ',', 3);
      if (!p) throw TMachineError{"--start wants X,Y,Z, not " + v};
      o.Run.Start = TCncPoint{(*p)[0], (*p)[1], (*p)[2]};
    } else if (a == "--font-path") {
      o.Run.FontPath = value();
    } else if (a.size() > 1 && a[0] == '-') {
      throw TMachineError{"unknown option " + a};
    } else if (o.Program.empty()) {
      o.Program = a;
    } else {
      throw TMachineError{"machine takes one program"};
    }
  }
  if (o.Program.empty()) throw TMachineError{"no program given"};
  if (o.Output.empty()) throw TMachineError{"no output file given (-o OUT.png)"};
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
  const TStepPosition counters = DrawMachineView(r.Handle, 1, o.Controls, surface, run).value_or(TStepPosition{});
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
  } catch (const TMachineError& e) {
    std::fprintf(stderr, "velquor-cnc: %s\nusage:\n%s", e.Text.c_str(), kMachineUsage);
    return 2;
  }
}
