// velquor-cnc --help, COMMAND --help and --version, through the real program.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/command_runner.h"

namespace {

TCommandResult Cli(const std::string& args) {
  return RunShellCommand(std::string("'") + VELQUOR_CLI + "' " + args + " 2>&1");
}

// The command names the overview lists under "Commands:".
std::vector<std::string> ListedCommands(const std::string& overview) {
  std::vector<std::string> names;
  std::istringstream in(overview.substr(overview.find("Commands:\n") + 10));
  for (std::string line; std::getline(in, line) && line.rfind("  ", 0) == 0;)
    names.push_back(line.substr(2, line.find(' ', 2) - 2));
  return names;
}

// "velquor-cnc 1.2.3\n": the name, three numbers between two dots, the line end. (Read by
// hand: GCC 12 warns inside std::regex, and warnings are errors in CI builds.)
bool IsVersionLine(const std::string& s) {
  const std::string head = "velquor-cnc ";
  if (s.rfind(head, 0) != 0 || s.back() != '\n') return false;
  const std::string number = s.substr(head.size(), s.size() - head.size() - 1);
  if (std::count(number.begin(), number.end(), '.') != 2) return false;
  std::istringstream in(number);
  int parts = 0;
  for (std::string part; std::getline(in, part, '.'); ++parts)
    if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos) return false;
  return parts == 3;
}

// Commands that run a program through the engine share the run options.
bool RunsPrograms(const std::string& name) {
  for (const char* c : {"dump", "check", "stats", "render", "machine"})
    if (name == c) return true;
  return false;
}

TEST(CliHelp, OverviewListsEveryCommandAndEachHasItsOwnHelp) {
  for (const char* ask : {"--help", "-h", "help"}) {
    const TCommandResult r = Cli(ask);
    EXPECT_EQ(r.Status, 0) << ask;
    EXPECT_EQ(r.Output.rfind("usage: velquor-cnc COMMAND", 0), 0u) << r.Output;
  }
  const std::vector<std::string> names = ListedCommands(Cli("--help").Output);
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "dump");
  EXPECT_EQ(names[1], "check");
  for (const std::string& name : names) {
    const std::string usage = "usage: velquor-cnc " + name + " ";
    for (const std::string& args : {name + " --help", name + " -h", name + " some.cnc --help", "help " + name}) {
      const TCommandResult r = Cli(args);
      EXPECT_EQ(r.Status, 0) << args;
      EXPECT_EQ(r.Output.rfind(usage, 0), 0u) << args << "\n" << r.Output;
      if (RunsPrograms(name)) {
        EXPECT_NE(r.Output.find("--font-path"), std::string::npos) << args;
      }
    }
  }
}

TEST(CliHelp, VersionLineShape) {
  for (const char* good : {"velquor-cnc 0.1.0\n", "velquor-cnc 12.345.6\n"}) EXPECT_TRUE(IsVersionLine(good)) << good;
  for (const char* bad : {"velquor-cnc 0.1\n", "velquor-cnc 0.1.0.\n", "velquor-cnc .1.0\n", "velquor-cnc 0.1.x\n",
                          "velquor-cnc 0.1.0", "velquor 0.1.0\n", ""})
    EXPECT_FALSE(IsVersionLine(bad)) << bad;
}

TEST(CliHelp, VersionIsTheProjectVersion) {
  const TCommandResult r = Cli("--version");
  EXPECT_EQ(r.Status, 0);
  EXPECT_TRUE(IsVersionLine(r.Output)) << r.Output;
}

TEST(CliHelp, UnknownCommandStaysAUsageError) {
  const TCommandResult r = Cli("bogus --help");
  EXPECT_EQ(r.Status, 2);
  EXPECT_NE(r.Output.find("unknown command bogus"), std::string::npos) << r.Output;
}

}  // namespace
