#include "cli/tools_command.h"

#include <cstdio>
#include <string>

#include "cli/json_writer.h"
#include "tools/tool_block.h"

const char* const kToolsUsage = "       velquor-cnc tools DRILLFILE\n";

namespace {

std::string ToolBlockJson(const TToolBlock& b) {
  std::string out = "{\"result\":" + std::to_string(b.Result) + ",\"rows\":[";
  bool firstRow = true;
  for (const TToolRow& r : b.Rows) {
    out += firstRow ? "\n[" : ",\n[";
    firstRow = false;
    bool firstCell = true;
    for (const std::string* cell : {&r.Tool, &r.Name, &r.Diameter, &r.Height, &r.Speed, &r.Feed}) {
      if (!firstCell) out += ',';
      firstCell = false;
      AppendJsonString(out, *cell);
    }
    out += ']';
  }
  out += "],\"log\":";
  AppendJsonString(out, b.Log);
  out += "}\n";
  return out;
}

}  // namespace

int ToolsCommand(int argc, char** argv) {
  if (argc != 3 || argv[2][0] == '-') {
    std::fprintf(stderr, "velquor-cnc: tools takes one drill file\n%s", kToolsUsage);
    return 2;
  }
  const TToolBlock block = ParseToolBlockFile(argv[2]);
  const std::string json = ToolBlockJson(block);
  std::fwrite(json.data(), 1, json.size(), stdout);
  return block.Result == kToolBlockParsed ? 0 : 1;
}
