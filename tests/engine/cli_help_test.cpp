// velquor-cnc --help, COMMAND --help and --version, through the real program.
#include <gtest/gtest.h>

#include <regex>
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

TEST(CliHelp, VersionIsTheProjectVersion) {
  const TCommandResult r = Cli("--version");
  EXPECT_EQ(r.Status, 0);
  EXPECT_TRUE(std::regex_match(r.Output, std::regex("velquor-cnc [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << r.Output;
}

TEST(CliHelp, UnknownCommandStaysAUsageError) {
  const TCommandResult r = Cli("bogus --help");
  EXPECT_EQ(r.Status, 2);
  EXPECT_NE(r.Output.find("unknown command bogus"), std::string::npos) << r.Output;
}

}  // namespace
