// velquor-cnc: the engine on the command line.
//   dump PROGRAM [options]      one JSON object with messages, contour and path
//   check PROGRAM... [options]  messages and a summary per program; exit 1 on any problem
//   stats PROGRAM [options]     extents, feed and rapid lengths and cutting time as JSON
//   render PROGRAM -o OUT        the simulation view as a PNG picture or SVG drawing (built with the GUI parts)
//   machine PROGRAM -o OUT.png   the machine-coordinate view as a picture (likewise)
//   tools DRILLFILE              the tool block of a drill file as JSON
//   version FILE                 the version record of an executable as JSON
//   number FILE / unnumber FILE  N block numbers added to or removed from a program file
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/help.h"
#include "cli/json_writer.h"
#include "cli/numbering_command.h"
#include "cli/program_run.h"
#include "cli/tools_command.h"
#include "cli/stats_command.h"
#include "cli/version_command.h"
#include "base/convert.h"
#include "engine/cnc_api.h"
#ifdef VELQUOR_RENDER
#include "cli/machine_command.h"
#include "cli/render_command.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: velquor-cnc dump PROGRAM [--font-path DIR] [--radius N=MM]... [--settings FILE.INI] "
    "[--start X,Y,Z] [--max-elements N] [--raw]\n"
    "       velquor-cnc check PROGRAM... [--quiet] [options of dump]\n"
    "       velquor-cnc stats PROGRAM [options of dump]\n";

struct TUsageError {
  std::string Text;
};

bool ParseTriple(const std::string& s, double out[3]) {
  size_t pos = 0;
  for (int i = 0; i < 3; ++i) {
    const size_t comma = i < 2 ? s.find(',', pos) : s.size();
    if (comma == std::string::npos) return false;
    auto v = ParseFloat(std::string_view(s).substr(pos, comma - pos));
    if (!v) return false;
    out[i] = *v;
    pos = comma + 1;
  }
  return true;
}

struct TCommandLine {
  std::string Command;
  std::vector<std::string> Programs;
  TRunOptions Options;
};

TCommandLine ParseCommandLine(int argc, char** argv) {
  if (argc < 2) throw TUsageError{"missing command"};
  TCommandLine c;
  c.Command = argv[1];
  if (c.Command != "dump" && c.Command != "check" && c.Command != "stats") throw TUsageError{"unknown command " + c.Command};
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw TUsageError{a + " needs a value"};
      return argv[++i];
    };
    if (a == "--font-path") {
      c.Options.FontPath = value();
    } else if (a == "--radius") {
      const std::string v = value();
      const size_t eq = v.find('=');
      auto tool = eq == std::string::npos ? std::nullopt : ParseInt(std::string_view(v).substr(0, eq));
      auto mm = eq == std::string::npos ? std::nullopt : ParseFloat(std::string_view(v).substr(eq + 1));
      if (!tool || *tool < 0 || *tool > 255 || !mm || *mm < 0 || *mm > 1e6)
        throw TUsageError{"--radius wants N=MM with N in 0..255 and MM from 0 to 1000000, not " + v};
      c.Options.Radii.emplace_back(static_cast<int>(*tool), *mm);
    } else if (a == "--settings") {
      c.Options.SettingsFile = value();
    } else if (a == "--start") {
      const std::string v = value();
      double p[3];
      if (!ParseTriple(v, p)) throw TUsageError{"--start wants X,Y,Z, not " + v};
      c.Options.Start = TCncPoint{p[0], p[1], p[2]};
    } else if (a == "--max-elements") {
      const std::string v = value();
      const auto n = ParseInt(v);
      if (!n || *n < 1) throw TUsageError{"--max-elements wants a whole number of at least 1, not " + v};
      c.Options.MaxElements = *n;
    } else if (a == "--raw" && c.Command == "dump") {
      c.Options.Raw = true;
    } else if (a == "--quiet" && c.Command == "check") {
      c.Options.Quiet = true;
    } else if (a.size() > 1 && a[0] == '-') {
      throw TUsageError{"unknown option " + a};
    } else {
      c.Programs.push_back(a);
    }
  }
  if (c.Programs.empty()) throw TUsageError{"no program given"};
  if (c.Command != "check" && c.Programs.size() > 1) throw TUsageError{c.Command + " takes one program"};
  return c;
}

void AppendElement(std::string& out, const TCncElementDetail& e) {
  const auto point = [&](const TCncPoint& p) {
    out += '[';
    AppendJsonNumber(out, p.X);
    out += ',';
    AppendJsonNumber(out, p.Y);
    out += ',';
    AppendJsonNumber(out, p.Z);
    out += ']';
  };
  out += "{\"line\":" + std::to_string(e.Data.Line) + ",\"code\":";
  AppendJsonString(out, e.Code);
  out += ",\"number\":" + std::to_string(e.Data.Code) + ",\"text\":";
  AppendJsonString(out, e.Text ? e.Text : "");
  out += ",\"p1\":";
  point(e.Data.P1);
  out += ",\"p2\":";
  point(e.Data.P2);
  out += ",\"tool\":" + std::to_string(e.Data.ToolNo) + ",\"speed\":" + std::to_string(e.Data.Speed) +
         ",\"feed\":" + std::to_string(e.Data.FeedValue) + "}";
}

// Writes what has gathered once it is large: a dump of millions of elements is never held
// whole in memory.
void FlushWhenLarge(std::string& out, bool always = false) {
  constexpr size_t kFlushSize = 1 << 20;
  if (!always && out.size() < kFlushSize) return;
  std::fwrite(out.data(), 1, out.size(), stdout);
  out.clear();
}

// The elements of one list of the instance; none when the handle names no instance.
void AppendList(std::string& out, const char* name, int32_t handle, uint8_t mode) {
  out += ",\"";
  out += name;
  out += "\":[";
  const int32_t count = CncGetDetailCount(handle, mode);
  TCncElementDetail e{};
  for (int32_t i = 0; i < count && CncGetElementDetail(handle, i, mode, &e) == 0; ++i) {
    if (i > 0) out += ",\n";
    AppendElement(out, e);
    FlushWhenLarge(out);
  }
  out += ']';
}

// The settings warnings first, as the run's first messages, then the engine's.
std::vector<std::string> MessagesOf(int32_t handle, const std::vector<std::string>& settingsWarnings = {}) {
  std::vector<std::string> r = settingsWarnings;
  const TCncMessageList* list = CncGetMessages(handle);
  for (int32_t i = 0; i < CncMessageCount(list); ++i) r.emplace_back(CncMessageText(list, i));
  return r;
}

int Dump(const TCommandLine& c) {
  std::string settingsError;
  const TProgramRun r = RunProgram(c.Programs[0], c.Options, settingsError);
  if (!settingsError.empty()) std::fprintf(stderr, "velquor-cnc: %s\n", settingsError.c_str());
  std::string out = "{\"open\":" + std::to_string(r.Open) + ",\"handle\":" + std::to_string(r.Handle) +
                    ",\"run\":" + (r.Run ? std::to_string(*r.Run) : std::string("null")) + ",\"messages\":[";
  bool first = true;
  for (const std::string& m : MessagesOf(r.Handle, r.SettingsWarnings)) {
    if (!first) out += ",\n";
    first = false;
    AppendJsonString(out, m);
    FlushWhenLarge(out);
  }
  out += ']';
  AppendList(out, "contour", r.Handle, 0);
  AppendList(out, "path", r.Handle, 1);
  if (c.Options.Raw) AppendList(out, "raw", r.Handle, CNC_MODE_RAW_PATH);
  out += "}\n";
  FlushWhenLarge(out, true);
  CncClose(r.Handle);
  return 0;
}

int Check(const TCommandLine& c) {
  bool problem = false;
  for (const std::string& program : c.Programs) {
    std::string settingsError;
    const TProgramRun r = RunProgram(program, c.Options, settingsError);
    if (!settingsError.empty()) {
      std::printf("%s: %s\n", program.c_str(), settingsError.c_str());
      problem = true;
    }
    const std::vector<std::string> messages = MessagesOf(r.Handle, r.SettingsWarnings);
    for (const std::string& m : messages) {
      if (m != "Init CNC-Dll") problem = true;
      if (!c.Options.Quiet) std::printf("%s: %s\n", program.c_str(), m.c_str());
    }
    if (r.Handle == 0) {
      // No instance: the number is the failure's status, not a line count.
      std::printf("%s: cannot open, engine status %d\n", program.c_str(), r.Open);
      problem = true;
      continue;
    }
    if (r.Run && *r.Run != 0) problem = true;
    if (r.Open == 0) problem = true;
    const int32_t contour = CncGetCount(r.Handle, 0);
    const int32_t path = CncGetCount(r.Handle, 1);
    std::printf("%s: %d lines, %d contour elements, %d path elements, %zu messages, run %s\n",
                program.c_str(), r.Open, contour, path, messages.size(),
                r.Run ? std::to_string(*r.Run).c_str() : "skipped");
    CncClose(r.Handle);
  }
  return problem ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<int> answered = AnswerHelpOptions(argc, argv)) return *answered;
  if (argc >= 2 && std::strcmp(argv[1], "tools") == 0) return ToolsCommand(argc, argv);
#ifdef VELQUOR_RENDER
  if (argc >= 2 && std::strcmp(argv[1], "render") == 0) return RenderCommand(argc, argv);
  if (argc >= 2 && std::strcmp(argv[1], "machine") == 0) return MachineCommand(argc, argv);
#endif
  if (argc >= 2 && std::strcmp(argv[1], "version") == 0) return VersionCommand(argc, argv);
  if (argc >= 2 && (std::strcmp(argv[1], "number") == 0 || std::strcmp(argv[1], "unnumber") == 0))
    return NumberingCommand(argc, argv);
  TCommandLine c;
  try {
    c = ParseCommandLine(argc, argv);
  } catch (const TUsageError& e) {
    std::fprintf(stderr, "velquor-cnc: %s\n%s%s%s", e.Text.c_str(), kUsage, kVersionUsage, kNumberingUsage);
    std::fputs(kToolsUsage, stderr);
#ifdef VELQUOR_RENDER
    std::fputs(kRenderUsage, stderr);
    std::fputs(kMachineUsage, stderr);
#endif
    return 2;
  }
  try {
    if (c.Command == "stats") return StatsCommand(c.Programs[0], c.Options);
    return c.Command == "dump" ? Dump(c) : Check(c);
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "velquor-cnc: internal error: %s\n", e.what());
    return 3;
  }
}
