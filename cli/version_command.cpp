#include "cli/version_command.h"

#include <cstdio>
#include <string>

#include "cli/json_writer.h"
#include "platform/version_resource.h"
#ifdef VELQUOR_RENDER
#include "windows/file_version_info.h"
#endif

const char* const kVersionUsage = "       velquor-cnc version FILE\n";

namespace {

void AppendField(std::string& out, const char* name, const std::string& value) {
  if (out.size() > 1) out += ",\n";
  AppendJsonString(out, name);
  out += ':';
  AppendJsonString(out, value);
}

}  // namespace

int VersionCommand(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "velquor-cnc: version takes one file\n%s", kVersionUsage);
    return 2;
  }
  const std::string path = argv[2];
#ifdef VELQUOR_RENDER
  const TVersionReadResult r = ReadFileVersionInfoWithTypeName(path);
#else
  const TVersionReadResult r = ReadFileVersionInfo(path);
#endif
  if (!r.Ok) {
    std::fprintf(stderr, "velquor-cnc: %s\n", r.Error.c_str());
    return 1;
  }
  std::string out = "{";
  AppendField(out, "type name", r.Info.TypeName);
  for (const TVersionStringField& f : kVersionStringFields) AppendField(out, f.Key, r.Info.*f.Member);
  AppendField(out, "file type text", r.Info.FileTypeText);
  for (const TVersionFlagField& f : kVersionFlagFields) {
    out += ",\n";
    AppendJsonString(out, f.Name);
    out += r.Info.*f.Member ? ":true" : ":false";
  }
  out += "}\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}
