// velquor-cnc stats: the job figures of a program as one JSON object.
#pragma once

#include <string>

#include "app/job_figures.h"
#include "cli/program_run.h"

// {"extents": {"x": [min, max], ...} or null without moves, "feed_length_mm": n,
//  "rapid_length_mm": n, "cutting_time_s": n or null, "list": "path" or "contour"}
std::string JobFiguresJson(const TJobFigures& f);

// Runs `program` with the options of dump and prints its figures. Returns the exit code.
int StatsCommand(const std::string& program, const TRunOptions& options);
