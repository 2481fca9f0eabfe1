// velquor-cnc --help, COMMAND --help and --version.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct TCommandHelp {
  const char* Name;
  const char* Summary;  // one line for the overview
  const char* Text;     // usage and options
};

// The help of one command, or none for a name no command has.
const TCommandHelp* FindCommandHelp(std::string_view name);
// The overview: what the program is, every command with its summary, where to read more.
std::string GeneralHelp();
std::string VersionText();

// Answers --help, -h, help, --version and COMMAND --help / -h on standard output and gives
// the exit code; none when the command line asks for something else.
std::optional<int> AnswerHelpOptions(int argc, char** argv);
