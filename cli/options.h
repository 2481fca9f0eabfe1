// The options of velquor-cnc's program commands (dump, check, stats, render, machine), read
// by one parser: every option is read and checked the same way whichever command takes it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cli/program_run.h"
#include "display/view_window.h"
#include "stock/cutter.h"
#include "stock/height_map.h"
#include "stock/relief_3d.h"

// A usage error: the command line is wrong, nothing was run.
struct TOptionError {
  std::string Text;
};

// Every option some command takes.
enum class TOption {
  Output,       // -o OUT
  Size,         // --size WxH
  FontPath,     // --font-path DIR
  Settings,     // --settings FILE.INI
  Radius,       // --radius N=MM, repeatable
  Start,        // --start X,Y,Z
  MaxElements,  // --max-elements N
  Raw,          // --raw
  Quiet,        // --quiet
  NoContour,    // --no-contour
  Path,         // --path
  NoPath,       // --no-path
  Edges,        // --edges
  W0,           // --w0 X,Y
  Spindle,      // --spindle X,Y
  Window,       // --window XMIN,XMAX,YMIN
  Grid,         // --grid MM
  Zoom,         // --zoom N
  HScroll,      // --hscroll N
  VScroll,      // --vscroll N
  Json,         // --json
  Cell,         // --cell MM
  Stock,        // --stock X0,Y0,X1,Y1,TOP,THICKNESS
  Tool,         // --tool N=flat|ball|vANGLE, repeatable
  View,         // --view AZ,EL
};

// What a command takes besides its options.
struct TCommandSyntax {
  const char* Name;  // the command, as in "render takes one program"
  std::span<const TOption> Options;
  bool SeveralPrograms = false;  // check takes any number, the others one
  bool NeedsOutput = false;      // -o is required
};

struct TPixelSize {
  int Width = 0;
  int Height = 0;
};
// The visible window by its left, right and lower edge; the top follows from the picture.
struct TWindowEdges {
  double XMin = 0.0;
  double XMax = 0.0;
  double YMin = 0.0;
};

// What the command line says; an option that was not given keeps its default here and the
// command chooses its own.
struct TCommandOptions {
  std::vector<std::string> Programs;
  std::string Output;
  std::optional<TPixelSize> Size;
  TRunOptions Run;  // --font-path, --settings, --radius, --start, --max-elements, --raw, --quiet
  bool NoContour = false;
  bool Path = false;
  bool NoPath = false;
  bool Edges = false;
  TRealXY W0;
  TRealXY Spindle;
  std::optional<TWindowEdges> Window;
  std::optional<int> Grid;
  std::optional<int> Zoom;
  std::optional<int> HScroll;
  std::optional<int> VScroll;
  bool Json = false;
  std::optional<double> Cell;
  std::optional<TStockBox> Stock;
  std::vector<std::pair<int, TCutterShape>> ToolShapes;
  // Azimuth and elevation in degrees: the 3D picture instead of the top view.
  std::optional<std::pair<double, double>> View;
};

// Reads argv[2..] (argv[1] is the command) as `syntax` allows; throws TOptionError with the
// first problem met.
TCommandOptions ParseCommandOptions(const TCommandSyntax& syntax, int argc, char** argv);

// What a picture command (render, machine) is asked for: one program drawn into one file.
struct TPictureJob {
  std::string Program;
  std::string Output;
  int Width = 0;
  int Height = 0;
};
// The job the command line gives: its program and -o, the picture `width` x `height`
// unless --size says otherwise.
TPictureJob PictureJobOf(const TCommandOptions& c, int width, int height);

// Says "velquor-cnc: `text`" on standard error and gives the exit code of a failed command, 1.
int CommandFailure(const std::string& text);

// Exit code of a command whose command line is wrong.
constexpr int kUsageErrorExit = 2;
// ParseCommandOptions for a command with a usage of its own: the first problem is said on
// standard error followed by `usage`, and none comes back.
std::optional<TCommandOptions> ReadCommandOptions(const TCommandSyntax& syntax, int argc, char** argv,
                                                  const char* usage);

// "N=MM": a tool number of the tool table and a radius in millimetres.
std::optional<std::pair<int, double>> ParseToolRadius(const std::string& text);
