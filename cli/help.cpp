#include "cli/help.h"

#include <cstdio>
#include <utility>

#ifndef VELQUOR_VERSION
#define VELQUOR_VERSION "unknown"
#endif

namespace {

constexpr const char* kRunOptions =
    "  --font-path DIR     folder of the CHR fonts (default: Fonts beside velquor-cnc,\n"
    "                      else ../share/velquor/Fonts from there)\n"
    "  --settings FILE     tool radii from the tool table of this settings file\n"
    "  --radius N=MM       radius of tool N (0..254) in millimetres; repeatable, wins over --settings\n";
constexpr const char* kStartOption = "  --start X,Y,Z       start point of the run (default 0,0,0)\n";
constexpr const char* kLimitOption =
    "  --max-elements N    stop a run that makes more than N elements (default 25000000)\n";

// One entry per command; a new command adds its line here.
const TCommandHelp kCommands[] = {
    {"dump", "one JSON object with the messages, the contour and the milling path",
     "usage: velquor-cnc dump PROGRAM [options]\n"
     "Runs PROGRAM and writes {open, handle, run, messages, message_lines, contour, path} as\n"
     "JSON; message_lines and each element's file_line give the line of the file (from 1, 0\n"
     "for none).\n"
     "Options:\n"
     "%RUN%%START%%LIMIT%"
     "  --raw               add the uncompensated tool path as \"raw\"\n"},
    {"check", "messages and a summary per program; exit status 1 on any problem",
     "usage: velquor-cnc check PROGRAM... [options]\n"
     "Runs every PROGRAM and prints its messages and one summary line. A message about a\n"
     "line reads PROGRAM:LINE: TEXT, as editors read it to jump there. The exit status is 1\n"
     "when a program is missing or empty, a run stops, or a message other than the engine's\n"
     "greeting appears.\n"
     "Options:\n"
     "%RUN%%START%%LIMIT%"
     "  --quiet             summary lines only\n"},
    {"stats", "extents, feed and rapid lengths and cutting time as JSON",
     "usage: velquor-cnc stats PROGRAM [options]\n"
     "Runs PROGRAM and prints {extents, feed_length_mm, rapid_length_mm, cutting_time_s, list}\n"
     "from the cutting path (the contour when the path is empty).\n"
     "Options:\n"
     "%RUN%%START%%LIMIT%"},
#ifdef VELQUOR_RENDER
    {"render", "the simulation view as a PNG picture or an SVG drawing",
     "usage: velquor-cnc render PROGRAM -o OUT.png|OUT.svg [options]\n"
     "Draws the contour (and with --path the milling path) as the viewer's simulation view does.\n"
     "The extension of OUT (in any case) chooses: .png the picture as the view paints it, .svg\n"
     "the drawn lines, arcs and circles as vector paths in millimetres.\n"
     "Options:\n"
     "  -o OUT.png|OUT.svg  picture to write\n"
     "  --size WxH          picture size in pixels (default 994x628)\n"
     "  --no-contour        leave the programmed contour out\n"
     "  --path              draw the milling path\n"
     "  --edges             mark element ends\n"
     "  --w0 X,Y            work zero\n"
     "  --spindle X,Y       spindle position\n"
     "  --window XMIN,XMAX,YMIN  visible window in millimetres\n"
     "  --grid MM           grid spacing in whole millimetres (default 10)\n"
     "%RUN%"},
    {"machine", "the machine-coordinate view (0.01 mm steps) as a PNG picture",
     "usage: velquor-cnc machine PROGRAM -o OUT.png [options]\n"
     "Steps contour and cutting path as the ORVIK controller moves and draws every step.\n"
     "Prints the drawing run's messages and the \"Current X/Y/Z:\" step counters.\n"
     "Options:\n"
     "  -o OUT.png          picture to write\n"
     "  --size WxH          surface size in pixels (default 880x638)\n"
     "  --zoom N            1..1000, steps per pixel = 1000 / N (default 50)\n"
     "  --hscroll N         horizontal scroll position\n"
     "  --vscroll N         vertical scroll position\n"
     "  --no-contour        leave the programmed contour out\n"
     "  --no-path           leave the cutting path out\n"
     "%RUN%%START%"},
    {"stock", "the simulated stock as a shaded relief PNG, with its findings",
     "usage: velquor-cnc stock PROGRAM -o OUT.png [options]\n"
     "Sweeps the cutters along the milling path into a height map of the stock and writes its\n"
     "shaded relief framed to the stock. Findings: rapid_into_stock (a rapid removing 0.001 mm\n"
     "or more), below_stock_bottom, spindle_off (removing material before M03 or after M05).\n"
     "The exit status is 0 without findings, 1 with findings, 2 on a usage or input error.\n"
     "Options:\n"
     "  -o OUT.png          picture to write\n"
     "  --json              print {cell_mm, cells, stock, removed_volume_mm3, min_z, findings,\n"
     "                      findings_total} instead of text\n"
     "  --cell MM           cell size (default: 0.02 mm or coarser, at most 16 M cells)\n"
     "  --stock X0,Y0,X1,Y1,TOP,THICKNESS  the block (default: the feed moves' box grown by the\n"
     "                      largest radius plus 2 mm, top 0, the deepest cut plus 1 mm thick)\n"
     "  --tool N=flat|ball|vANGLE  the end of tool N (default flat); V-bits by included angle\n"
     "  --size WxH          picture size in pixels (default 994x628)\n"
     "  --view AZ,EL        the stock in 3D from azimuth AZ and elevation EL (5 to 90) degrees,\n"
     "                      framed whole, instead of the top view\n"
     "%RUN%%START%"},
#endif
    {"version", "the version record of an executable as JSON",
     "usage: velquor-cnc version FILE\n"
     "Prints the version record of FILE (an ELF section .vs_version_info, or the resources of a\n"
     "Windows file) as one JSON object; a file without one prints the empty record. The exit\n"
     "status is 1 when FILE cannot be read.\n"},
    {"number", "N block numbers in front of every line of a program file",
     "usage: velquor-cnc number FILE\n"
     "Puts N00000, N00010, ... in front of every line of FILE, in place, with CR LF line ends.\n"
     "The exit status is 1 when FILE cannot be read or written; it is then left as it was.\n"},
    {"unnumber", "N block numbers taken off the lines of a program file",
     "usage: velquor-cnc unnumber FILE\n"
     "Takes a leading N number (or ;N number) and the blank after it off every line of FILE, in\n"
     "place, keeping each line's line end. The exit status is 1 when FILE cannot be read or\n"
     "written; it is then left as it was.\n"},
    {"tools", "the tool block (M48 ... %) of a drill file as JSON",
     "usage: velquor-cnc tools DRILLFILE\n"
     "Reads the tool block as the tool window's import does and prints\n"
     "{\"result\": N, \"rows\": [[tool, name, diameter, height, speed, feed], ...], \"log\": \"...\"}.\n"
     "The exit status is 0 when the block was read, 1 otherwise.\n"},
};

// Fills in the option lines several commands share.
std::string Expand(const char* text) {
  std::string s = text;
  const std::pair<std::string_view, const char*> marks[] = {{"%RUN%", kRunOptions},
                                                            {"%START%", kStartOption},
                                                            {"%LIMIT%", kLimitOption}};
  for (const auto& [mark, lines] : marks)
    if (const size_t at = s.find(mark); at != std::string::npos) s.replace(at, mark.size(), lines);
  return s;
}

bool IsHelpFlag(std::string_view a) { return a == "--help" || a == "-h"; }

}  // namespace

const TCommandHelp* FindCommandHelp(std::string_view name) {
  for (const TCommandHelp& c : kCommands)
    if (name == c.Name) return &c;
  return nullptr;
}

std::string GeneralHelp() {
  std::string s =
      "usage: velquor-cnc COMMAND [ARGUMENTS]\n"
      "       velquor-cnc COMMAND --help | --help | --version\n"
      "Runs CNC milling programs through the Velquor engine.\n\nCommands:\n";
  for (const TCommandHelp& c : kCommands) {
    std::string name = c.Name;
    name.resize(10, ' ');
    s += "  " + name + c.Summary + "\n";
  }
  s += "\nSee velquor-cnc COMMAND --help and the manual page velquor-cnc(1).\n";
  return s;
}

std::string VersionText() { return std::string("velquor-cnc ") + VELQUOR_VERSION + "\n"; }

std::optional<int> AnswerHelpOptions(int argc, char** argv) {
  if (argc < 2) return std::nullopt;
  const std::string_view first = argv[1];
  std::string out;
  if (IsHelpFlag(first) || first == "help") {
    const TCommandHelp* c = argc > 2 ? FindCommandHelp(argv[2]) : nullptr;
    out = c ? Expand(c->Text) : GeneralHelp();
  } else if (first == "--version") {
    out = VersionText();
  } else if (const TCommandHelp* c = FindCommandHelp(first)) {
    for (int i = 2; i < argc && out.empty(); ++i)
      if (IsHelpFlag(argv[i])) out = Expand(c->Text);
  }
  if (out.empty()) return std::nullopt;
  std::fputs(out.c_str(), stdout);
  return 0;
}
