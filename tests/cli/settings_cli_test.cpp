// velquor-cnc with --settings: the tool table of a settings file reaches the engine.
#include <gtest/gtest.h>

#include "tests/command_runner.h"

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "cli/program_run.h"
#include "engine/instance_table.h"
#include "platform/viewer_settings.h"
#include "tests/platform/test_files.h"

namespace {

struct TCliResult {
  int Exit = -1;
  std::string Out;
};

TCliResult RunCli(const std::string& args, const std::string& errFile) {
  const TCommandResult c = RunShellCommand(std::string(VELQUOR_CLI) + " " + args + " 2>" + errFile);
  return TCliResult{c.Status, c.Output};
}

class SettingsCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(Program, "T05\nG00 X0 Y0\nG01 X10 Y0\n");
    WriteBytes(Settings, "; hand made\n[Tools]\nT05 Diameter=6\nt07 DIAMETER = 2,5\n");
  }
  TTempFolder Dir;
  const std::string Program = Dir.File("square.cnc");
  const std::string Settings = Dir.File("velquor.INI");
  const std::string Err = Dir.File("stderr.txt");
};

TEST_F(SettingsCliTest, EngineGetsHalfTheDiameterInThousandths) {
  TRunOptions options;
  options.FontPath = VELQUOR_FONT_DIR;
  options.SettingsFile = Settings;
  std::string error;
  const TProgramRun run = RunProgram(Program, options, error);
  EXPECT_EQ(error, "");
  TCncInstance* inst = FindInstance(run.Handle);
  ASSERT_NE(inst, nullptr);
  EXPECT_EQ(inst->ToolRadius[5], 3.0);
  EXPECT_EQ(inst->ToolRadius[7], 1.25);
  EXPECT_EQ(inst->ToolRadius[0], 40.0);  // default 80 mm cutter
  EXPECT_EQ(inst->ToolRadius[254], 40.0);
  CncClose(run.Handle);

  const TRunTools tools = RunToolTable(options);
  EXPECT_EQ(tools.Error, "");
  const TToolRadii radii = EngineToolRadii(tools.Tools);
  EXPECT_EQ(radii[5], 3000);
  EXPECT_EQ(radii[7], 1250);
}

TEST_F(SettingsCliTest, WithoutSettingsTheTableHoldsTheRadiiOfANewInstanceAndRadiusOptionsLast) {
  TRunOptions options;
  options.Radii = {{2, 1.5}, {6, 0.0}, {9, 2.5}};
  const TRunTools tools = RunToolTable(options);
  const TToolRadii radii = EngineToolRadii(tools.Tools);
  int32_t handle = 0;
  ASSERT_GT(CncOpen(Program.c_str(), &handle), 0);
  const TCncInstance* fresh = FindInstance(handle);
  ASSERT_NE(fresh, nullptr);
  for (int t = 0; t < kToolCount; ++t) {
    if (t == 2 || t == 6 || t == 9) continue;
    EXPECT_EQ(radii[t] / 1000.0, fresh->ToolRadius[t]) << t;
  }
  CncClose(handle);
  EXPECT_EQ(radii[2], 1500);
  EXPECT_EQ(radii[6], 0);
  EXPECT_EQ(radii[9], 2500);
}

TEST_F(SettingsCliTest, DumpWithSettingsRunsCleanly) {
  const TCliResult r = RunCli("dump " + Program + " --font-path " + VELQUOR_FONT_DIR + " --settings " + Settings, Err);
  EXPECT_EQ(r.Exit, 0);
  EXPECT_EQ(r.Out.rfind("{\"open\":3,", 0), 0u) << r.Out;
  EXPECT_EQ(ReadBytes(Err), "");
}

TEST_F(SettingsCliTest, MissingOrUnreadableSettingsFileIsReported) {
  const std::string missing = Dir.File("nothing.INI");
  const TCliResult dump = RunCli("dump " + Program + " --font-path " + VELQUOR_FONT_DIR + " --settings " + missing,
                                 Err);
  EXPECT_EQ(dump.Exit, 0);
  EXPECT_NE(ReadBytes(Err).find("cannot read settings file " + missing), std::string::npos) << ReadBytes(Err);

  const TCliResult check = RunCli("check " + Program + " --font-path " + VELQUOR_FONT_DIR + " --settings " + Dir.Path(),
                                  Err);
  EXPECT_EQ(check.Exit, 1);
  EXPECT_NE(check.Out.find("cannot read settings file"), std::string::npos) << check.Out;
}

}  // namespace
