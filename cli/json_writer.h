// Just enough JSON output for velquor-cnc: escaped strings and exact numbers.
#pragma once

#include <string>
#include <string_view>

void AppendJsonString(std::string& out, std::string_view s);
// Shortest text that reads back as the same double; non-finite values become null.
void AppendJsonNumber(std::string& out, double v);
