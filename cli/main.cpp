// velquor-cnc: the engine on the command line.
//   dump PROGRAM [options]      one JSON object with messages, contour and path
//   check PROGRAM... [options]  messages and a summary per program; exit 1 on any problem
//   render PROGRAM -o OUT.png    the simulation view as a picture (built with the GUI parts)
//   version FILE                 the version record of an executable as JSON
//   number FILE / unnumber FILE  N block numbers added to or removed from a program file
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/json_writer.h"
#include "cli/numbering_command.h"
#include "cli/program_run.h"
#include "cli/version_command.h"
#include "engine/convert.h"
#include "engine/instance_table.h"
#ifdef VELQUOR_RENDER
#include "cli/render_command.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: velquor-cnc dump PROGRAM [--font-path DIR] [--radius N=MM]... [--settings FILE.INI] "
    "[--start X,Y,Z] [--raw]\n"
    "       velquor-cnc check PROGRAM... [--quiet] [options of dump]\n";

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
  if (c.Command != "dump" && c.Command != "check") throw TUsageError{"unknown command " + c.Command};
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
  if (c.Command == "dump" && c.Programs.size() > 1) throw TUsageError{"dump takes one program"};
  return c;
}

void AppendElement(std::string& out, const TCncElement& e) {
  const auto point = [&](const TPoint& p) {
    out += '[';
    AppendJsonNumber(out, p.X);
    out += ',';
    AppendJsonNumber(out, p.Y);
    out += ',';
    AppendJsonNumber(out, p.Z);
    out += ']';
  };
  out += "{\"line\":" + std::to_string(e.Line) + ",\"code\":";
  AppendJsonString(out, e.Code.View());
  out += ",\"number\":" + std::to_string(CodeNumber(e.Code)) + ",\"text\":";
  AppendJsonString(out, e.Text);
  out += ",\"p1\":";
  point(e.P1);
  out += ",\"p2\":";
  point(e.P2);
  out += ",\"tool\":" + std::to_string(e.ToolNo()) + ",\"speed\":" + std::to_string(e.Speed()) +
         ",\"feed\":" + std::to_string(e.FeedValue()) + "}";
}

void AppendList(std::string& out, const char* name, const TElementList* list) {
  out += ",\"";
  out += name;
  out += "\":[";
  if (list) {
    bool first = true;
    for (const TCncElement& e : *list) {
      if (!first) out += ",\n";
      first = false;
      AppendElement(out, e);
    }
  }
  out += ']';
}

std::vector<std::string> MessagesOf(int32_t handle) {
  std::vector<std::string> r;
  const TCncMessageList* list = CncGetMessages(handle);
  for (int32_t i = 0; i < CncMessageCount(list); ++i) r.emplace_back(CncMessageText(list, i));
  return r;
}

int Dump(const TCommandLine& c) {
  std::string settingsError;
  const TProgramRun r = RunProgram(c.Programs[0], c.Options, settingsError);
  if (!settingsError.empty()) std::fprintf(stderr, "velquor-cnc: %s\n", settingsError.c_str());
  TCncFileReader* inst = FindInstance(r.Handle);
  std::string out = "{\"open\":" + std::to_string(r.Open) + ",\"handle\":" + std::to_string(r.Handle) +
                    ",\"run\":" + (r.Run ? std::to_string(*r.Run) : std::string("null")) + ",\"messages\":[";
  bool first = true;
  for (const std::string& m : MessagesOf(r.Handle)) {
    if (!first) out += ",\n";
    first = false;
    AppendJsonString(out, m);
  }
  out += ']';
  AppendList(out, "contour", inst ? &inst->ContourList : nullptr);
  AppendList(out, "path", inst ? &inst->PathList : nullptr);
  if (c.Options.Raw) AppendList(out, "raw", inst ? &inst->RawPathList : nullptr);
  out += "}\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
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
    const std::vector<std::string> messages = MessagesOf(r.Handle);
    for (const std::string& m : messages) {
      if (m != "Init CNC-Dll") problem = true;
      if (!c.Options.Quiet) std::printf("%s: %s\n", program.c_str(), m.c_str());
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
#ifdef VELQUOR_RENDER
  if (argc >= 2 && std::strcmp(argv[1], "render") == 0) return RenderCommand(argc, argv);
#endif
  if (argc >= 2 && std::strcmp(argv[1], "version") == 0) return VersionCommand(argc, argv);
  if (argc >= 2 && (std::strcmp(argv[1], "number") == 0 || std::strcmp(argv[1], "unnumber") == 0))
    return NumberingCommand(argc, argv);
  TCommandLine c;
  try {
    c = ParseCommandLine(argc, argv);
  } catch (const TUsageError& e) {
    std::fprintf(stderr, "velquor-cnc: %s\n%s%s%s", e.Text.c_str(), kUsage, kVersionUsage, kNumberingUsage);
#ifdef VELQUOR_RENDER
    std::fputs(kRenderUsage, stderr);
#endif
    return 2;
  }
  return c.Command == "dump" ? Dump(c) : Check(c);
}
