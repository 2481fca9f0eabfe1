#include "cli/stats_command.h"

#include <cstdio>

#include "cli/json_writer.h"
#include "engine/run_elements.h"

namespace {

void AppendRange(std::string& out, const char* axis, const TAxisRange& r) {
  out += '"';
  out += axis;
  out += "\": [";
  AppendJsonNumber(out, r.Min);
  out += ", ";
  AppendJsonNumber(out, r.Max);
  out += ']';
}

}  // namespace

std::string JobFiguresJson(const TJobFigures& f) {
  std::string out = "{\"extents\": ";
  if (f.AnyMove) {
    out += '{';
    AppendRange(out, "x", f.X);
    out += ", ";
    AppendRange(out, "y", f.Y);
    out += ", ";
    AppendRange(out, "z", f.Z);
    out += '}';
  } else {
    out += "null";
  }
  out += ", \"feed_length_mm\": ";
  AppendJsonNumber(out, f.FeedLength);
  out += ", \"rapid_length_mm\": ";
  AppendJsonNumber(out, f.RapidLength);
  out += ", \"cutting_time_s\": ";
  if (f.CuttingSeconds) AppendJsonNumber(out, *f.CuttingSeconds);
  else out += "null";
  out += ", \"list\": ";
  out += f.List == TFigureList::Path ? "\"path\"" : "\"contour\"";
  out += "}\n";
  return out;
}

int StatsCommand(const std::string& program, const TRunOptions& options) {
  std::string settingsError;
  const TProgramRun r = RunProgram(program, options, settingsError);
  if (!settingsError.empty()) std::fprintf(stderr, "velquor-cnc: %s\n", settingsError.c_str());
  if (r.Open == 0 || r.Handle == 0) {
    std::fprintf(stderr, "velquor-cnc: %s: no program lines to run\n", program.c_str());
    if (r.Handle != 0) CncClose(r.Handle);
    return 1;
  }
  const std::string out = JobFiguresJson(JobFiguresOfRun(r.Handle, options.Start, FeedUnitOfRun(r.Handle)));
  std::fwrite(out.data(), 1, out.size(), stdout);
  CncClose(r.Handle);
  return 0;
}
