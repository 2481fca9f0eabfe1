#include "cli/numbering_command.h"

#include <cstdio>
#include <string>

#include "platform/whole_file.h"
#include "windows/program_numbers.h"

const char* const kNumberingUsage =
    "       velquor-cnc number FILE      N00000, N00010, ... in front of every line (CR LF line ends)\n"
    "       velquor-cnc unnumber FILE    those numbers removed again\n";

namespace {

constexpr uintmax_t kMaxProgramFileSize = 1024u * 1024u * 1024u;

}  // namespace

int NumberingCommand(int argc, char** argv) {
  const std::string command = argv[1];
  if (argc != 3) {
    std::fprintf(stderr, "velquor-cnc: %s takes one file\n%s", command.c_str(), kNumberingUsage);
    return 2;
  }
  const std::string path = argv[2];
  std::string text;
  TFileResult r = ReadWholeFile(path, kMaxProgramFileSize, text);
  if (r.Ok && !text.empty()) {
    const std::string changed = command == "number" ? CreateProgramNumbers(text) : ClearProgramNumbers(text);
    if (changed != text) r = ReplaceWholeFile(path, changed);
  }
  if (!r.Ok) {
    std::fprintf(stderr, "velquor-cnc: %s\n", r.Error.c_str());
    return 1;
  }
  return 0;
}
