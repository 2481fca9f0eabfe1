#include <gtest/gtest.h>

#include "tests/command_runner.h"
#include "tests/support/temp_folder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

TCommandResult RunCommand(const std::string& command) { return RunShellCommand(command + " 2>&1"); }

std::string Cli() { return std::string("'") + VELQUOR_CLI + "'"; }

class CliTest : public TTempFolderTest {};

TEST_F(CliTest, DumpPrintsOneJsonObject) {
  const std::string file = Write("a.cnc", "N10 G01 X0.1 Y2\nF100\n\xff\xfe G01\n");
  const TCommandResult r = RunCommand(Cli() + " dump '" + file + "' --raw");
  ASSERT_EQ(r.Status, 0) << r.Output;
  EXPECT_NE(r.Output.find("\"open\":3,\"handle\":1,\"run\":0"), std::string::npos) << r.Output;
  EXPECT_NE(r.Output.find("{\"line\":10,\"code\":\"G01\",\"number\":18177,\"text\":\"Geradenint G01\","
                          "\"p1\":[0.1,2,0],\"p2\":[0,0,0],\"tool\":0,\"speed\":0,\"feed\":0}"),
            std::string::npos)
      << r.Output;
  EXPECT_NE(r.Output.find("\"feed\":100"), std::string::npos);
  EXPECT_NE(r.Output.find("\"raw\":["), std::string::npos);
  if (RunCommand("python3 -c 'print(1)'").Status == 0) {
    const TCommandResult json = RunCommand(Cli() + " dump '" + file +
                                           "' | python3 -c 'import json,sys; json.load(sys.stdin)'");
    EXPECT_EQ(json.Status, 0) << json.Output;
  }
}

TEST_F(CliTest, DumpOfAMissingProgramSkipsTheRun) {
  const TCommandResult r = RunCommand(Cli() + " dump '" + Folder.File("none.cnc") + "'");
  EXPECT_EQ(r.Status, 0);
  EXPECT_NE(r.Output.find("\"open\":0,\"handle\":1,\"run\":null"), std::string::npos) << r.Output;
}

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  for (const char* args :
       {"", "frobnicate x", "dump", "dump a b", "dump a --radius 300=1", "dump a --start 1,2", "dump a --bogus"}) {
    EXPECT_EQ(RunCommand(Cli() + " " + args).Status, 2) << args;
  }
}

// The tool table has 255 tools: --radius takes 0..254 alike in every command that reads it.
TEST_F(CliTest, RadiusTakesTheToolsOfTheToolTable) {
  const std::string missing = "'" + Folder.File("none.cnc") + "'";
  for (const char* command : {"dump", "check", "stats"}) {
    const TCommandResult taken = RunCommand(Cli() + " " + command + " " + missing + " --radius 254=1");
    EXPECT_EQ(taken.Output.find("--radius wants"), std::string::npos) << command << ": " << taken.Output;
    EXPECT_NE(taken.Status, 2) << command;
    const TCommandResult refused = RunCommand(Cli() + " " + command + " " + missing + " --radius 255=1");
    EXPECT_EQ(refused.Status, 2) << command;
    EXPECT_NE(refused.Output.find("--radius wants N=MM with N in 0..254"), std::string::npos) << refused.Output;
  }
}

TEST_F(CliTest, CheckReportsProblemsPerProgram) {
  const std::string good = Write("good.cnc", "G01 X1\nM30\n");
  const std::string bad = Write("bad.cnc", "N5 G01\n");
  TCommandResult r = RunCommand(Cli() + " check '" + good + "'");
  EXPECT_EQ(r.Status, 0) << r.Output;
  EXPECT_NE(r.Output.find(good + ": 2 lines, 2 contour elements"), std::string::npos) << r.Output;
  r = RunCommand(Cli() + " check '" + good + "' '" + bad + "'");
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Output.find(bad + ": Error in program line 5: at least one xyz-parameter for G01"), std::string::npos)
      << r.Output;
  r = RunCommand(Cli() + " check --quiet '" + bad + "'");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Output.find("Error in program line"), std::string::npos);
}

}  // namespace

namespace {
// The programs shipped in examples/ run clean with the shipped tool table.
TEST(Examples, RunWithoutAnyMessage) {
  const std::string examples = std::string(VELQUOR_SOURCE_DIR) + "/examples/";
  for (const auto& entry : fs::directory_iterator(examples)) {
    if (entry.path().extension() != ".cnc") continue;
    const TCommandResult r = RunCommand(Cli() + " check --quiet --settings '" + examples + "tools.INI' '" +
                                        entry.path().string() + "'");
    EXPECT_EQ(r.Status, 0) << r.Output;
  }
}
}  // namespace
