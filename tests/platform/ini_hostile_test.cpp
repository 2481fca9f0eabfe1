// INI files with unusual line ends, millions of lines nobody reads, and names that are no
// regular files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "platform/ini_profile.h"
#include "tests/platform/ini_text.h"
#include "tests/platform/test_files.h"

namespace {

TEST(IniLineEnds, CarriageReturnAloneEndsALineAndIsKeptForNewLines) {
  const std::string text = "[Tools]\rT07 Diameter=6\r; note\r\rT08 Diameter=4";
  TIniFile ini = FromText(text);
  EXPECT_EQ(ini.ReadFloat("Tools", "T07 Diameter", 0), 6.0);
  EXPECT_EQ(ini.ReadFloat("Tools", "T08 Diameter", 0), 4.0);
  EXPECT_EQ(ini.Text(), text);
  ini.WriteInteger("Tools", "T09 Feed", 5);
  ini.WriteInteger("New", "k", 1);
  EXPECT_EQ(ini.Text(), "[Tools]\rT07 Diameter=6\r; note\r\rT08 Diameter=4\rT09 Feed=5\r\r[New]\rk=1\r");
}

TEST(IniLineEnds, MixedLineEndsEachEndOneLine) {
  TIniFile ini = FromText("[A]\r\na=1\rb=2\nc=3\n\rd=4");
  for (const char* key : {"a", "b", "c", "d"}) EXPECT_TRUE(ini.KeyExists("A", key)) << key;
  EXPECT_EQ(ini.Text(), "[A]\r\na=1\rb=2\nc=3\n\rd=4");
}

TEST(IniManyLines, RunsOfPlainLinesStayTextAndKeysFindTheirPlace) {
  // A million line breaks and comments around two keys: kept byte for byte, and a new key
  // goes after the last line that is not blank.
  std::string blanks(1'000'000, '\n');
  const std::string text = "[A]\n" + blanks + "a=1\n;c\n\n;d\n" + blanks + "a=2\nb=3\n" + blanks;
  TIniFile ini = FromText(text);
  EXPECT_EQ(ini.Text(), text);
  EXPECT_EQ(ini.ReadInteger("A", "a", 0), 1);  // the first of a repeated key
  EXPECT_EQ(ini.ReadInteger("A", "b", 0), 3);
  ini.WriteInteger("A", "a", 7);
  ini.WriteInteger("A", "z", 9);
  EXPECT_EQ(ini.Text(), "[A]\n" + blanks + "a=7\n;c\n\n;d\n" + blanks + "a=2\nb=3\nz=9\n" + blanks);
  TIniFile comments = FromText("[A]\n;x\n\n;y\n\n\n");
  comments.WriteInteger("A", "k", 1);
  EXPECT_EQ(comments.Text(), "[A]\n;x\n\n;y\nk=1\n\n\n");
}

TEST(IniFileKinds, FoldersFifosAndDevicesAreRefusedAtOnce) {
  TTempFolder folder;
  const std::string fifo = folder.File("pipe.INI");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero"), folder.Path()}) {
    SCOPED_TRACE(path);
    TIniFile ini;
    const TIniResult r = ini.Load(path);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Error.rfind("cannot read " + path + ": ", 0), 0u) << r.Error;
  }
}

}  // namespace
