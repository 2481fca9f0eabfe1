// velquor-cnc tools: the parse of a drill file as one JSON object.
#include <gtest/gtest.h>

#include <string>

#include "tests/command_runner.h"
#include "tests/platform/test_files.h"

namespace {

TCommandResult RunTools(const std::string& args) {
  return RunShellCommand(std::string(VELQUOR_CLI) + " tools " + args + " 2>/dev/null");
}

TEST(ToolsCommand, PrintsRowsAndLogAsTheGridShowsThem) {
  TTempFolder dir;
  WriteBytes(dir.File("a.drl"), "M72\r\nM48\r\nT1 C0.024 N\"Drill \\\"A\"\r\nT2F10S20\r\n%\r\nT9\r\n");
  const TCommandResult r = RunTools(dir.File("a.drl"));
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Output,
            "{\"result\":0,\"rows\":[\n"
            "[\"1\",\"Drill \\\\\",\"0.61\",\"20.00\",\"\",\"\"],\n"
            "[\"2\",\"\",\"25.40\",\"20.00\",\"20\",\"10\"]],"
            "\"log\":\"\\r\\nToolname:   Toolheight: 20  2  1  20  10  "
            "\\r\\nToolname: Drill \\\\  Toolheight: 20  1  0.024      \"}\n");
}

TEST(ToolsCommand, FailuresPrintTheJsonAndExitWithOne) {
  TTempFolder dir;
  const TCommandResult missing = RunTools(dir.File("missing.drl"));
  EXPECT_EQ(missing.Status, 1);
  EXPECT_EQ(missing.Output, "{\"result\":2,\"rows\":[],\"log\":\"Failure on open/close file\"}\n");

  WriteBytes(dir.File("binary.drl"), std::string("M48\nT1C1\n\0\0\0\n", 13));
  const TCommandResult binary = RunTools(dir.File("binary.drl"));
  EXPECT_EQ(binary.Status, 1);
  EXPECT_TRUE(binary.Output.starts_with("{\"result\":1,\"rows\":[\n[\"1\",")) << binary.Output;
}

TEST(ToolsCommand, WrongCommandLinesExitWithTwo) {
  TTempFolder dir;
  WriteBytes(dir.File("a.drl"), "M48\n%\n");
  for (const std::string& args : {std::string(), dir.File("a.drl") + " " + dir.File("a.drl"), std::string("--x")}) {
    const TCommandResult r = RunTools(args);
    EXPECT_EQ(r.Status, 2) << args;
    EXPECT_EQ(r.Output, "") << args;
  }
}

}  // namespace
