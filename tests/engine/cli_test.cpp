#include <gtest/gtest.h>

#include "tests/command_runner.h"
#include "tests/support/temp_folder.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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
  EXPECT_NE(r.Output.find("{\"line\":10,\"file_line\":1,\"code\":\"G01\",\"number\":18177,\"text\":\"Geradenint G01\","
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
  EXPECT_NE(r.Output.find(bad + ":1: Error in program line 5: at least one xyz-parameter for G01"), std::string::npos)
      << r.Output;
  r = RunCommand(Cli() + " check --quiet '" + bad + "'");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Output.find("Error in program line"), std::string::npos);
}

// What an editor's error list makes of check's output ("FILE:LINE: TEXT" jumps to the line).
struct TQuickfixEntry {
  std::string File;
  int Line = 0;  // 0: no place to jump to
  std::string Text;
};

// The first ":DIGITS: " gives file and line, else the first ": " gives the file alone.
std::vector<TQuickfixEntry> ReadQuickfix(const std::string& output) {
  std::vector<TQuickfixEntry> entries;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    bool placed = false;
    for (size_t colon = line.find(':'); colon != std::string::npos && !placed; colon = line.find(':', colon + 1)) {
      size_t end = colon + 1;
      while (end < line.size() && std::isdigit(static_cast<unsigned char>(line[end]))) ++end;
      if (end == colon + 1 || line.compare(end, 2, ": ") != 0) continue;
      entries.push_back(
          {line.substr(0, colon), std::stoi(line.substr(colon + 1, end - colon - 1)), line.substr(end + 2)});
      placed = true;
    }
    const size_t split = line.find(": ");
    if (!placed && split != std::string::npos) entries.push_back({line.substr(0, split), 0, line.substr(split + 2)});
  }
  return entries;
}

TEST_F(CliTest, CheckNamesTheFileLineAsEditorsReadIt) {
  const std::string program = Write("two errors.cnc", "G00 X0 Y0\nG02 X5 Y5\n\nN7 G01\nM30\n");
  const TCommandResult r = RunCommand(Cli() + " check '" + program + "'");
  EXPECT_EQ(r.Status, 1);
  std::vector<std::pair<int, std::string>> places;
  for (const TQuickfixEntry& e : ReadQuickfix(r.Output)) {
    EXPECT_EQ(e.File, program);
    places.emplace_back(e.Line, e.Text.substr(0, 25));
  }
  const std::vector<std::pair<int, std::string>> expected{{0, "Init CNC-Dll"},
                                                          {2, "Error in program line 0: "},
                                                          {2, "Error in program line 0: "},
                                                          {4, "Error in program line 7: "},
                                                          {4, "Error in program line 7: "},
                                                          {0, "5 lines, 2 contour elemen"}};
  EXPECT_EQ(places, expected) << r.Output;
}

TEST_F(CliTest, DumpGivesEveryMessageAndElementItsFileLine) {
  const std::string program = Write("a.cnc", "G00 X0 Y0\r\n\r\nG01\r\nG01 X5\r\n");
  const TCommandResult r = RunCommand(Cli() + " dump '" + program + "'");
  EXPECT_NE(r.Output.find("\"message_lines\":[0,3,3]"), std::string::npos) << r.Output;
  EXPECT_NE(r.Output.find("\"file_line\":4,\"code\":\"G01\""), std::string::npos) << r.Output;
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
