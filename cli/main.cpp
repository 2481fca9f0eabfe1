// velquor-cnc: the engine on the command line.
//   dump PROGRAM [options]      one JSON object with messages, contour and path
//   check PROGRAM... [options]  messages and a summary per program; exit 1 on any problem
//   stats PROGRAM [options]     extents, feed and rapid lengths and cutting time as JSON
//   render PROGRAM -o OUT        the simulation view as a PNG picture or SVG drawing (built with the GUI parts)
//   machine PROGRAM -o OUT.png   the machine-coordinate view as a picture (likewise)
//   stock PROGRAM -o OUT.png     the simulated stock as a shaded relief, with its findings (likewise)
//   tools DRILLFILE              the tool block of a drill file as JSON
//   version FILE                 the version record of an executable as JSON
//   number FILE / unnumber FILE  N block numbers added to or removed from a program file
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/convert.h"
#include "cli/help.h"
#include "cli/json_writer.h"
#include "cli/numbering_command.h"
#include "cli/options.h"
#include "cli/program_run.h"
#include "cli/stats_command.h"
#include "cli/tools_command.h"
#include "cli/version_command.h"
#include "engine/cnc_api.h"
#ifdef VELQUOR_RENDER
#include "cli/machine_command.h"
#include "cli/render_command.h"
#include "cli/stock_command.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: velquor-cnc dump PROGRAM [--font-path DIR] [--radius N=MM]... [--settings FILE.INI] "
    "[--start X,Y,Z] [--max-elements N] [--raw]\n"
    "       velquor-cnc check PROGRAM... [--quiet] [options of dump]\n"
    "       velquor-cnc stats PROGRAM [options of dump]\n";

// The options of the program commands run here; each command names its own.
constexpr TOption kStatsOptions[] = {TOption::FontPath, TOption::Settings, TOption::Radius, TOption::Start,
                                     TOption::MaxElements};
constexpr TOption kDumpOptions[] = {TOption::FontPath, TOption::Settings,    TOption::Radius,
                                    TOption::Start,    TOption::MaxElements, TOption::Raw};
constexpr TOption kCheckOptions[] = {TOption::FontPath, TOption::Settings,    TOption::Radius,
                                     TOption::Start,    TOption::MaxElements, TOption::Quiet};
const TCommandSyntax kProgramCommands[] = {
    {"dump", kDumpOptions},
    {"check", kCheckOptions, true},
    {"stats", kStatsOptions},
};

struct TCommandLine {
  std::string Command;
  std::vector<std::string> Programs;
  TRunOptions Options;
};

TCommandLine ParseCommandLine(int argc, char** argv) {
  if (argc < 2) throw TOptionError{"missing command"};
  TCommandLine c;
  c.Command = argv[1];
  const auto syntax = std::ranges::find_if(kProgramCommands,
                                           [&](const TCommandSyntax& s) { return c.Command == s.Name; });
  if (syntax == std::end(kProgramCommands)) throw TOptionError{"unknown command " + c.Command};
  TCommandOptions o = ParseCommandOptions(*syntax, argc, argv);
  c.Programs = std::move(o.Programs);
  c.Options = std::move(o.Run);
  return c;
}

void AppendElement(std::string& out, const TCncElementDetail& e, int32_t fileLine) {
  const auto point = [&](const TCncPoint& p) {
    out += '[';
    AppendJsonNumber(out, p.X);
    out += ',';
    AppendJsonNumber(out, p.Y);
    out += ',';
    AppendJsonNumber(out, p.Z);
    out += ']';
  };
  out += "{\"line\":" + std::to_string(e.Data.Line) + ",\"file_line\":" + std::to_string(fileLine) + ",\"code\":";
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
    AppendElement(out, e, CncGetElementFileLine(handle, i, mode));
    FlushWhenLarge(out);
  }
  out += ']';
}

struct TRunMessage {
  std::string Text;
  int32_t FileLine = 0;  // 0: tied to no line of the program
};

// The settings warnings first, as the run's first messages, then the engine's.
std::vector<TRunMessage> MessagesOf(int32_t handle, const std::vector<std::string>& settingsWarnings = {}) {
  std::vector<TRunMessage> r;
  for (const std::string& w : settingsWarnings) r.push_back({w, 0});
  const TCncMessageList* list = CncGetMessages(handle);
  for (int32_t i = 0; i < CncMessageCount(list); ++i)
    r.push_back({CncMessageText(list, i), std::max(0, CncMessageLine(list, i))});
  return r;
}

// "FILE:LINE: TEXT" for a message about a line, as editors read compiler output to jump
// there; "FILE: TEXT" for one about no line.
std::string CheckLine(const std::string& program, const TRunMessage& m) {
  const std::string place = m.FileLine > 0 ? program + ":" + std::to_string(m.FileLine) : program;
  return place + ": " + m.Text;
}

int Dump(const TCommandLine& c) {
  std::string settingsError;
  const TProgramRun r = RunProgram(c.Programs[0], c.Options, settingsError);
  if (!settingsError.empty()) std::fprintf(stderr, "velquor-cnc: %s\n", settingsError.c_str());
  std::string out = "{\"open\":" + std::to_string(r.Open) + ",\"handle\":" + std::to_string(r.Handle) +
                    ",\"run\":" + (r.Run ? std::to_string(*r.Run) : std::string("null")) + ",\"messages\":[";
  const std::vector<TRunMessage> messages = MessagesOf(r.Handle, r.SettingsWarnings);
  for (size_t i = 0; i < messages.size(); ++i) {
    if (i > 0) out += ",\n";
    AppendJsonString(out, messages[i].Text);
    FlushWhenLarge(out);
  }
  out += "],\"message_lines\":[";
  for (size_t i = 0; i < messages.size(); ++i) {
    if (i > 0) out += ',';
    out += std::to_string(messages[i].FileLine);
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
    const std::vector<TRunMessage> messages = MessagesOf(r.Handle, r.SettingsWarnings);
    for (const TRunMessage& m : messages) {
      if (m.Text != "Init CNC-Dll") problem = true;
      if (!c.Options.Quiet) std::printf("%s\n", CheckLine(program, m).c_str());
    }
    if (r.Handle == 0) {
      // No instance: the number is the failure's status, not a line count.
      std::printf("%s: cannot open, engine status %d\n", program.c_str(), r.Open);
      problem = true;
      continue;
    }
    if (r.Run && *r.Run != 0) problem = true;
    if (r.Open == 0) problem = true;
    const int32_t contour = CncGetCount(r.Handle, CNC_MODE_CONTOUR);
    const int32_t path = CncGetCount(r.Handle, CNC_MODE_PATH);
    std::printf("%s: %d lines, %d contour elements, %d path elements, %zu messages, run %s\n", program.c_str(), r.Open,
                contour, path, messages.size(), r.Run ? std::to_string(*r.Run).c_str() : "skipped");
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
  if (argc >= 2 && std::strcmp(argv[1], "stock") == 0) return StockCommand(argc, argv);
#endif
  if (argc >= 2 && std::strcmp(argv[1], "version") == 0) return VersionCommand(argc, argv);
  if (argc >= 2 && (std::strcmp(argv[1], "number") == 0 || std::strcmp(argv[1], "unnumber") == 0))
    return NumberingCommand(argc, argv);
  TCommandLine c;
  try {
    c = ParseCommandLine(argc, argv);
  } catch (const TOptionError& e) {
    std::fprintf(stderr, "velquor-cnc: %s\n%s%s%s", e.Text.c_str(), kUsage, kVersionUsage, kNumberingUsage);
    std::fputs(kToolsUsage, stderr);
#ifdef VELQUOR_RENDER
    std::fputs(kRenderUsage, stderr);
    std::fputs(kMachineUsage, stderr);
    std::fputs(kStockUsage, stderr);
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
