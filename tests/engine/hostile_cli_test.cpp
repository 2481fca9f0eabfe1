// velquor-cnc on hostile input: the element limit option, line counts that look like
// status codes, valid UTF-8 output and settings values that are no diameters.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/command_runner.h"
#include "tests/support/temp_folder.h"

namespace {

std::string Cli() { return std::string("'") + VELQUOR_CLI + "'"; }

std::string Repeat(const std::string& line, size_t times) {
  std::string s;
  for (size_t i = 0; i < times; ++i) s += line;
  return s;
}

// Well-formed UTF-8 as Unicode defines it: no overlong forms, no surrogates, nothing past
// U+10FFFF.
bool IsWellFormedUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c < 0x80) n = 1;
    else if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
      n = 3;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 4;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    } else return false;
    if (i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      const unsigned char t = b(i + k);
      if (k == 1 ? (t < lo || t > hi) : (t < 0x80 || t > 0xBF)) return false;
    }
    i += n;
  }
  return true;
}

class HostileCli : public TTempFolderTest {
 protected:
  // The written file's name, quoted for the shell.
  std::string Write(const std::string& name, const std::string& text) { return "'" + Folder.Write(name, text) + "'"; }
  static TCommandResult Run(const std::string& args) { return RunShellCommand(Cli() + " " + args + " 2>&1"); }
};

TEST_F(HostileCli, ProgramsOf816And817LinesRunAndDraw) {
  for (size_t lines : {816u, 817u}) {
    const std::string file = Write("p.cnc", Repeat("G01 X1\n", lines));
    const std::string n = std::to_string(lines);
    TCommandResult r = Run("check " + file);
    EXPECT_NE(r.Output.find(": " + n + " lines, " + n + " contour elements, " + n + " path elements"),
              std::string::npos)
        << r.Output;
    EXPECT_NE(r.Output.find("run 0"), std::string::npos) << r.Output;
    r = Run("dump " + file);
    EXPECT_NE(r.Output.find("\"open\":" + n + ",\"handle\":1,\"run\":0"), std::string::npos);
  }
}

TEST_F(HostileCli, MaxElementsStopsTheRunWithTheBudgetMessage) {
  const std::string file = Write("drill.cnc", "G81 H65535\n" + Repeat("G79\n", 200));
  TCommandResult r = Run("check " + file + " --max-elements 1000");
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Output.find("Error: the program makes more than 1000 elements; the run stopped at program line 2"),
            std::string::npos)
      << r.Output;
  EXPECT_NE(r.Output.find("run 819"), std::string::npos) << r.Output;
  for (const char* bad : {"0", "-5", "x", "1.5"})
    EXPECT_EQ(Run("check " + file + " --max-elements " + bad).Status, 2) << bad;
}

TEST_F(HostileCli, DumpWritesWellFormedUtf8ForIllFormedInput) {
  // A surrogate half, an overlong form, F5..F7 lead bytes and a stray continuation.
  const std::string bytes = "A\xED\xA0\x80\nF\xF7\xBF\xBF\xBF\nS\xE0\x80\xAF\n\xF5\x80 \xC0\xAF \x80";
  const std::string file = Write("bytes.cnc", bytes);
  const TCommandResult r = Run("dump " + file + " --raw");
  ASSERT_EQ(r.Status, 0) << r.Output;
  EXPECT_TRUE(IsWellFormedUtf8(r.Output)) << r.Output;
  EXPECT_NE(r.Output.find("\xEF\xBF\xBD"), std::string::npos);
}

TEST_F(HostileCli, ADiameterThatIsNoDiameterIsReportedOncePerToolAndKeepsTheDefault) {
  const std::string settings = Write("s.INI", "[Tools]\r\nT01 Diameter=-6\r\nT02 Diameter=1e999\r\nT03 Diameter=6\r\n");
  // Tool 1 with the default 80 mm: the compensated path lies 40 mm beside the contour.
  const std::string file = Write("p.cnc", "T1\nG42\nG01 X0 Y0\nG01 X100 Y0\nG40\n");
  const TCommandResult r = Run("check " + file + " --settings " + settings);
  const std::string warning1 =
      "Warning: settings file: tool 1 has the diameter \"-6\", which is not a diameter; "
      "the default 80 mm is used";
  EXPECT_NE(r.Output.find(warning1), std::string::npos) << r.Output;
  EXPECT_EQ(r.Output.find(warning1), r.Output.rfind(warning1));
  EXPECT_NE(r.Output.find("tool 2 has the diameter \"1e999\""), std::string::npos) << r.Output;
  EXPECT_EQ(r.Output.find("tool 3 has"), std::string::npos);
  const TCommandResult dump = Run("dump " + file + " --settings " + settings);
  EXPECT_NE(dump.Output.find("\"p1\":[100,-40,0]"), std::string::npos) << dump.Output;
}

TEST_F(HostileCli, SettingsWithCarriageReturnLineEndsAreRead) {
  const std::string settings = Write("s.INI", "[Tools]\rT01 Diameter=6\rT02 Diameter=4\r");
  const std::string file = Write("p.cnc", "T1\nG42\nG01 X0 Y0\nG01 X100 Y0\nG40\n");
  const TCommandResult r = Run("dump " + file + " --settings " + settings);
  EXPECT_NE(r.Output.find("\"p1\":[100,-3,0]"), std::string::npos) << r.Output;
}

TEST_F(HostileCli, AMissingProgramSaysWhy) {
  const std::string missing = Folder.File("none.cnc");
  const TCommandResult r = Run("check '" + missing + "'");
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Output.find("Error: cannot read program file " + missing + ": No such file or directory"),
            std::string::npos)
      << r.Output;
}

}  // namespace
