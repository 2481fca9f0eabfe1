#include "cli/options.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/convert.h"
#include "base/records.h"
#include "windows/machine_view_controls.h"

namespace {

constexpr double kMaxRadiusMm = 1e6;
constexpr int kMaxPixels = 16384;
constexpr int kMaxGridMm = 1000000;

// `count` numbers separated by `separator`; none when the text is not exactly that.
std::optional<std::vector<double>> NumberList(const std::string& s, char separator, size_t count) {
  std::vector<double> out;
  size_t pos = 0;
  for (size_t i = 0; i < count; ++i) {
    const size_t next = i + 1 < count ? s.find(separator, pos) : s.size();
    if (next == std::string::npos) return std::nullopt;
    const auto v = ParseFloat(std::string_view(s).substr(pos, next - pos));
    if (!v) return std::nullopt;
    out.push_back(*v);
    pos = next + 1;
  }
  return out;
}

std::vector<double> Numbers(const std::string& option, const std::string& text, char separator, size_t count,
                            const char* form) {
  auto v = NumberList(text, separator, count);
  if (!v) throw TOptionError{option + " wants " + form + ", not " + text};
  return *v;
}

int WholeNumber(const std::string& option, const std::string& text, int lo, int hi) {
  const auto v = ParseInt(text);
  if (!v || *v < lo || *v > hi)
    throw TOptionError{option + " wants a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                       ", not " + text};
  return static_cast<int>(*v);
}

TPixelSize PixelSize(const std::string& option, const std::string& text) {
  const auto v = Numbers(option, text, 'x', 2, "WxH");
  const auto whole = [](double d) { return d >= 1 && d <= kMaxPixels && d == std::floor(d); };
  if (!whole(v[0]) || !whole(v[1])) throw TOptionError{option + " wants whole pixels from 1 to 16384"};
  return {static_cast<int>(v[0]), static_cast<int>(v[1])};
}

TRealXY PlanePoint(const std::string& option, const std::string& text) {
  const auto v = Numbers(option, text, ',', 2, "X,Y");
  return {v[0], v[1]};
}

using TReader = void (*)(TCommandOptions&, const std::string& option, const std::string& value);

struct TOptionRow {
  TOption Id;
  const char* Name;
  bool TakesValue;
  TReader Read;
};

// Every option with how its value is read.
constexpr TOptionRow kOptionRows[] = {
    {TOption::Output, "-o", true, [](TCommandOptions& o, const std::string&, const std::string& v) { o.Output = v; }},
    {TOption::Size, "--size", true,
     [](TCommandOptions& o, const std::string& a, const std::string& v) { o.Size = PixelSize(a, v); }},
    {TOption::FontPath, "--font-path", true,
     [](TCommandOptions& o, const std::string&, const std::string& v) { o.Run.FontPath = v; }},
    {TOption::Settings, "--settings", true,
     [](TCommandOptions& o, const std::string&, const std::string& v) { o.Run.SettingsFile = v; }},
    {TOption::Radius, "--radius", true,
     [](TCommandOptions& o, const std::string&, const std::string& v) {
       const auto radius = ParseToolRadius(v);
       if (!radius)
         throw TOptionError{"--radius wants N=MM with N in 0.." + std::to_string(kToolCount - 1) +
                            " and MM from 0 to 1000000, not " + v};
       o.Run.Radii.push_back(*radius);
     }},
    {TOption::Start, "--start", true,
     [](TCommandOptions& o, const std::string& a, const std::string& v) {
       const auto p = Numbers(a, v, ',', 3, "X,Y,Z");
       o.Run.Start = TCncPoint{p[0], p[1], p[2]};
     }},
    {TOption::MaxElements, "--max-elements", true,
     [](TCommandOptions& o, const std::string&, const std::string& v) {
       const auto n = ParseInt(v);
       if (!n || *n < 1) throw TOptionError{"--max-elements wants a whole number of at least 1, not " + v};
       o.Run.MaxElements = *n;
     }},
    {TOption::Raw, "--raw", false,
     [](TCommandOptions& o, const std::string&, const std::string&) { o.Run.Raw = true; }},
    {TOption::Quiet, "--quiet", false,
     [](TCommandOptions& o, const std::string&, const std::string&) { o.Run.Quiet = true; }},
    {TOption::NoContour, "--no-contour", false,
     [](TCommandOptions& o, const std::string&, const std::string&) { o.NoContour = true; }},
    {TOption::Path, "--path", false, [](TCommandOptions& o, const std::string&, const std::string&) { o.Path = true; }},
    {TOption::NoPath, "--no-path", false,
     [](TCommandOptions& o, const std::string&, const std::string&) { o.NoPath = true; }},
    {TOption::Edges, "--edges", false,
     [](TCommandOptions& o, const std::string&, const std::string&) { o.Edges = true; }},
    {TOption::W0, "--w0", true,
     [](TCommandOptions& o, const std::string& a, const std::string& v) { o.W0 = PlanePoint(a, v); }},
    {TOption::Spindle, "--spindle", true,
     [](TCommandOptions& o, const std::string& a, const std::string& v) { o.Spindle = PlanePoint(a, v); }},
    {TOption::Window, "--window", true,
     [](TCommandOptions& o, const std::string& a, const std::string& v) {
       const auto w = Numbers(a, v, ',', 3, "XMIN,XMAX,YMIN");
       if (!(w[1] > w[0])) throw TOptionError{"--window wants XMAX above XMIN"};
       o.Window = TWindowEdges{w[0], w[1], w[2]};
     }},
    {TOption::Grid, "--grid", true,
     [](TCommandOptions& o, const std::string&, const std::string& v) {
       const auto mm = ParseInt(v);
       if (!mm || *mm < 1 || *mm > kMaxGridMm) throw TOptionError{"--grid wants whole millimetres from 1, not " + v};
       o.Grid = static_cast<int>(*mm);
     }},
    {TOption::Zoom, "--zoom", true,
     [](TCommandOptions& o, const std::string& a, const std::string& v) {
       o.Zoom = WholeNumber(a, v, kZoomMin, kZoomMax);
     }},
    {TOption::HScroll, "--hscroll", true,
     [](TCommandOptions& o, const std::string& a, const std::string& v) {
       o.HScroll = WholeNumber(a, v, kScrollMin, kScrollMax);
     }},
    {TOption::VScroll, "--vscroll", true,
     [](TCommandOptions& o, const std::string& a, const std::string& v) {
       o.VScroll = WholeNumber(a, v, kScrollMin, kScrollMax);
     }},
    {TOption::Json, "--json", false, [](TCommandOptions& o, const std::string&, const std::string&) { o.Json = true; }},
    {TOption::Cell, "--cell", true,
     [](TCommandOptions& o, const std::string& a, const std::string& v) {
       const double mm = Numbers(a, v, ',', 1, "MM")[0];
       if (!(mm > 0)) throw TOptionError{a + " wants a size above 0 mm, not " + v};
       o.Cell = mm;
     }},
    {TOption::Stock, "--stock", true,
     [](TCommandOptions& o, const std::string& a, const std::string& v) {
       const auto n = Numbers(a, v, ',', 6, "X0,Y0,X1,Y1,TOP,THICKNESS");
       const TStockBox box{n[0], n[1], n[2], n[3], n[4], n[5]};
       if (const std::string problem = StockBoxProblem(box); !problem.empty()) throw TOptionError{a + ": " + problem};
       o.Stock = box;
     }},
    {TOption::Tool, "--tool", true,
     [](TCommandOptions& o, const std::string& a, const std::string& v) {
       const size_t eq = v.find('=');
       const auto tool = ParseInt(std::string_view(v).substr(0, eq == std::string::npos ? 0 : eq));
       const auto shape = eq == std::string::npos ? std::nullopt : ParseCutterShape(std::string_view(v).substr(eq + 1));
       if (!tool || *tool < 0 || *tool >= kToolCount || !shape)
         throw TOptionError{a + " wants N=flat, N=ball or N=vANGLE with N in 0.." + std::to_string(kToolCount - 1) +
                            " and an angle between 0 and 180 degrees, not " + v};
       o.ToolShapes.emplace_back(static_cast<int>(*tool), *shape);
     }},
    {TOption::View, "--view", true,
     [](TCommandOptions& o, const std::string& a, const std::string& v) {
       const auto n = Numbers(a, v, ',', 2, "AZ,EL");
       if (!(n[1] >= kLowestElevation && n[1] <= kHighestElevation))
         throw TOptionError{a + " wants an elevation from 5 to 90 degrees, not " + v};
       o.View = std::pair<double, double>{n[0], n[1]};
     }},
};

// The row of `name` if the command takes it.
const TOptionRow* FindOption(const TCommandSyntax& syntax, const std::string& name) {
  for (const TOptionRow& row : kOptionRows)
    if (name == row.Name) return std::ranges::find(syntax.Options, row.Id) != syntax.Options.end() ? &row : nullptr;
  return nullptr;
}

}  // namespace

std::optional<std::pair<int, double>> ParseToolRadius(const std::string& text) {
  const size_t eq = text.find('=');
  if (eq == std::string::npos) return std::nullopt;
  const auto tool = ParseInt(std::string_view(text).substr(0, eq));
  const auto mm = ParseFloat(std::string_view(text).substr(eq + 1));
  if (!tool || *tool < 0 || *tool >= kToolCount || !mm || *mm < 0 || *mm > kMaxRadiusMm) return std::nullopt;
  return std::pair<int, double>{static_cast<int>(*tool), *mm};
}

TCommandOptions ParseCommandOptions(const TCommandSyntax& syntax, int argc, char** argv) {
  TCommandOptions o;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    if (a.size() > 1 && a[0] == '-') {
      const TOptionRow* row = FindOption(syntax, a);
      if (!row) throw TOptionError{"unknown option " + a};
      if (row->TakesValue && i + 1 >= argc) throw TOptionError{a + " needs a value"};
      row->Read(o, a, row->TakesValue ? argv[++i] : "");
    } else {
      o.Programs.push_back(a);
    }
  }
  if (o.Programs.empty()) throw TOptionError{"no program given"};
  if (!syntax.SeveralPrograms && o.Programs.size() > 1)
    throw TOptionError{std::string(syntax.Name) + " takes one program"};
  if (syntax.NeedsOutput && o.Output.empty()) throw TOptionError{"no output file given (-o OUT.png)"};
  return o;
}

std::optional<TCommandOptions> ReadCommandOptions(const TCommandSyntax& syntax, int argc, char** argv,
                                                  const char* usage) {
  try {
    return ParseCommandOptions(syntax, argc, argv);
  } catch (const TOptionError& e) {
    std::fprintf(stderr, "velquor-cnc: %s\nusage:\n%s", e.Text.c_str(), usage);
    return std::nullopt;
  }
}

int CommandFailure(const std::string& text) {
  std::fprintf(stderr, "velquor-cnc: %s\n", text.c_str());
  return 1;
}

TPictureJob PictureJobOf(const TCommandOptions& c, int width, int height) {
  TPictureJob job{c.Programs.at(0), c.Output, width, height};
  if (c.Size) {
    job.Width = c.Size->Width;
    job.Height = c.Size->Height;
  }
  return job;
}
