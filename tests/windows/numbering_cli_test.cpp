// velquor-cnc number / unnumber / version on real files.
#include <gtest/gtest.h>

#include <string>

#include "tests/command_runner.h"
#include "tests/platform/test_files.h"

namespace {

std::string Cli() { return std::string("'") + VELQUOR_CLI + "'"; }

TEST(NumberingCommand, NumbersAndUnnumbersInPlace) {
  TTempFolder folder;
  const struct {
    const char* Original;
    const char* Numbered;
    const char* Unnumbered;
  } cases[] = {
      {"G00 X0\r\nG01 X5\r\nM30\r\n", "N00000 G00 X0\r\nN00010 G01 X5\r\nN00020 M30\r\n",
       "G00 X0\r\nG01 X5\r\nM30\r\n"},
      {"G00 X0\nM30\n", "N00000 G00 X0\r\nN00010 M30\r\n", "G00 X0\r\nM30\r\n"},
      {"(Fr\xE4ser)\n", "N00000 (Fr\xE4ser)\r\n", "(Fr\xE4ser)\r\n"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    const std::string file = folder.File("p.cnc");
    WriteBytes(file, c.Original);
    EXPECT_EQ(RunShellCommand(Cli() + " number " + file).Status, 0);
    EXPECT_EQ(ReadBytes(file), c.Numbered);
    EXPECT_EQ(RunShellCommand(Cli() + " unnumber " + file).Status, 0);
    EXPECT_EQ(ReadBytes(file), c.Unnumbered);
  }
}

TEST(NumberingCommand, UnnumberKeepsTheLineEndsOfTheFile) {
  TTempFolder folder;
  const std::string file = folder.File("p.cnc");
  WriteBytes(file, "N10 G01\nN20 G02\r\n;N30 G03\nNAME\nN");
  EXPECT_EQ(RunShellCommand(Cli() + " unnumber " + file).Status, 0);
  EXPECT_EQ(ReadBytes(file), "G01\nG02\r\nG03\nNAME\nN");
}

TEST(NumberingCommand, UnreadableOrUnwritableFilesStayAsTheyWere) {
  TTempFolder folder;
  const TCommandResult missing = RunShellCommand(Cli() + " number " + folder.File("missing.cnc") + " 2>&1");
  EXPECT_EQ(missing.Status, 1);
  EXPECT_NE(missing.Output.find("missing.cnc"), std::string::npos) << missing.Output;
  EXPECT_EQ(RunShellCommand(Cli() + " unnumber " + folder.Path() + " 2>/dev/null").Status, 1);

  const std::string file = folder.File("locked.cnc");
  const auto status = AttemptInReadOnlyFolder(folder, file, "G01\n", [&] {
    return std::to_string(RunShellCommand(Cli() + " number " + file + " 2>/dev/null").Status);
  });
  if (!status) GTEST_SKIP() << "no unprivileged user to try the write as";
  EXPECT_EQ(*status, "1");
  EXPECT_EQ(ReadBytes(file), "G01\n");
}

TEST(VersionCommand, PrintsTheRecordOfAnExecutable) {
  const TCommandResult r = RunShellCommand(Cli() + " version " + Cli());
  ASSERT_EQ(r.Status, 0);
  for (const char* part :
       {"\"type name\":", "\"ProductName\":\"Velquor\"", "\"OriginalFileName\":\"velquor-cnc\"",
        "\"LegalCopyRight\":", "\"file type text\":\"Application\"", "\"debug\":false", "\"info inferred\":false"})
    EXPECT_NE(r.Output.find(part), std::string::npos) << part << " in " << r.Output;
}

TEST(VersionCommand, AFileWithoutABlockGivesTheEmptyRecordAndAMissingOneFails) {
  TTempFolder folder;
  WriteBytes(folder.File("p.cnc"), "G01 X5\n");
  const TCommandResult r = RunShellCommand(Cli() + " version " + folder.File("p.cnc"));
  EXPECT_EQ(r.Status, 0);
  EXPECT_NE(r.Output.find("\"ProductName\":\"\""), std::string::npos) << r.Output;
  EXPECT_NE(r.Output.find("\"file type text\":\"\""), std::string::npos) << r.Output;
  EXPECT_EQ(RunShellCommand(Cli() + " version " + folder.File("none") + " 2>/dev/null").Status, 1);
}

}  // namespace
