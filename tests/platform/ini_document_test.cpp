// The INI document: lookup, writes that keep the rest of the file, saving and its failures.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/ini_profile.h"
#include "tests/platform/ini_text.h"
#include "tests/platform/test_files.h"

namespace {

TEST(IniLookup, IgnoresCaseAndBlanksAroundNames) {
  const TIniFile ini = FromText(
      "[ tools ]\n"
      "  t05 diameter  =  6  \n"
      "\tT05 NAME=End mill 6\n"
      "[SPEED]\n"
      "MaxSpeed=12000\n");
  EXPECT_EQ(ini.ReadFloat("Tools", "T05 Diameter", 80.0), 6.0);
  EXPECT_EQ(ini.ReadString("TOOLS", " T05 Name ", "x"), "End mill 6");
  EXPECT_EQ(ini.ReadInteger("speed", "maxspeed", 1), 12000);
  EXPECT_TRUE(ini.SectionExists("Speed"));
  EXPECT_FALSE(ini.KeyExists("Tools", "T05Diameter"));
  // A key is found only in its own section.
  EXPECT_EQ(ini.ReadInteger("Tools", "MaxSpeed", 1), 1);
}

TEST(IniLookup, SkipsCommentsStrayLinesAndKeysBeforeAnySection) {
  const TIniFile ini = FromText(
      "Orphan=1\n"
      "[A]\n"
      "; Hidden=2\n"
      "# Hidden=3\n"
      "no equals sign here\n"
      "=no key\n"
      "Value=a=b\n"
      "Number=5 ; not a comment here\n"
      "Empty=\n");
  EXPECT_FALSE(ini.KeyExists("A", "Orphan"));
  EXPECT_FALSE(ini.KeyExists("A", "; Hidden"));
  EXPECT_FALSE(ini.KeyExists("A", "Hidden"));
  EXPECT_EQ(ini.ReadString("A", "Value", ""), "a=b");
  // Comments take whole lines: a ";" behind a value belongs to it, as names may hold one.
  EXPECT_EQ(ini.ReadString("A", "Number", ""), "5 ; not a comment here");
  EXPECT_EQ(ini.ReadInteger("A", "Number", -1), -1);
  EXPECT_TRUE(ini.KeyExists("A", "Empty"));
  EXPECT_EQ(ini.ReadString("A", "Empty", "default"), "");
  EXPECT_EQ(ini.ReadInteger("A", "Empty", 5), 5);
}

TEST(IniLookup, RepeatedSectionsAndKeysGiveTheFirstValue) {
  const TIniFile ini = FromText("[A]\nk=1\nk=2\n[B]\nx=0\n[a]\nk=3\nm=4\n");
  EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
  EXPECT_EQ(ini.ReadInteger("A", "m", 0), 4);
}

TEST(IniLookup, ByteOrderMarkDoesNotHideTheFirstSection) {
  const TIniFile ini = FromText("\xEF\xBB\xBF[Tools]\nT01 Feed=500\n");
  EXPECT_EQ(ini.ReadInteger("Tools", "T01 Feed", 0), 500);
  EXPECT_EQ(ini.Text(), "\xEF\xBB\xBF[Tools]\nT01 Feed=500\n");
}

TEST(IniWrite, ChangesOnlyTheValueOfAnExistingKey) {
  const std::string before =
      "; machine settings\n"
      "[Vorschub]\n"
      "BoostFeed = 150   ; by hand\n"
      "\n"
      "[ Tools ]\n"
      "  t05 diameter =  6\n"
      "stray line\n"
      "T05 Name=old\n";
  TIniFile ini = FromText(before);
  ini.WriteFloat("Tools", "T05 Diameter", 3.5);
  ini.WriteString("tools", "T05 NAME", "new");
  EXPECT_EQ(ini.Text(),
            "; machine settings\n"
            "[Vorschub]\n"
            "BoostFeed = 150   ; by hand\n"
            "\n"
            "[ Tools ]\n"
            "  t05 diameter =  3.5\n"
            "stray line\n"
            "T05 Name=new\n");
}

TEST(IniWrite, SameValueLeavesTheTextUntouched) {
  const std::string before = "[A]\nk = 7   \nf=3,50\n";
  TIniFile ini = FromText(before);
  ini.WriteInteger("A", "k", 7);
  ini.WriteString("A", "f", "3,50");
  EXPECT_EQ(ini.Text(), before);
}

TEST(IniWrite, MissingKeyEndsItsSectionAndMissingSectionEndsTheFile) {
  TIniFile ini = FromText(
      "[A]\n"
      "a1=1\n"
      "; last comment of A\n"
      "\n"
      "\n"
      "[B]\n"
      "b1=1\n");
  ini.WriteInteger("a", "a2", 2);
  ini.WriteInteger("B", "b2", 2);
  ini.WriteInteger("C", "c1", 1);
  ini.WriteInteger("C", "c2", 2);
  EXPECT_EQ(ini.Text(),
            "[A]\n"
            "a1=1\n"
            "; last comment of A\n"
            "a2=2\n"
            "\n"
            "\n"
            "[B]\n"
            "b1=1\n"
            "b2=2\n"
            "\n"
            "[C]\n"
            "c1=1\n"
            "c2=2\n");
  EXPECT_EQ(ini.ReadInteger("A", "a2", 0), 2);
  EXPECT_EQ(ini.ReadInteger("C", "c2", 0), 2);
}

TEST(IniWrite, EmptyDocumentGetsPlainSections) {
  TIniFile ini;
  ini.WriteString("S", "k", "v");
  ini.WriteString("T", "k", "w");
  EXPECT_EQ(ini.Text(), "[S]\nk=v\n\n[T]\nk=w\n");
}

TEST(IniWrite, CrlfFileKeepsCrlfAndAMissingFinalLineEndIsSupplied) {
  TIniFile crlf = FromText("[A]\r\nk=1\r\n\r\n[B]\r\nx=1");
  crlf.WriteInteger("A", "k", 2);
  crlf.WriteInteger("A", "n", 3);
  crlf.WriteInteger("B", "y", 4);
  crlf.WriteInteger("C", "z", 5);
  EXPECT_EQ(crlf.Text(), "[A]\r\nk=2\r\nn=3\r\n\r\n[B]\r\nx=1\r\ny=4\r\n\r\n[C]\r\nz=5\r\n");

  TIniFile header = FromText("[A]");
  header.WriteInteger("A", "k", 1);
  EXPECT_EQ(header.Text(), "[A]\nk=1\n");
}

TEST(IniWrite, LineBreaksInAValueCannotAddLines) {
  TIniFile ini = FromText("[A]\nname=x\n");
  ini.WriteString("A", "name", "two\nlines\r\n[B]\nk=1");
  EXPECT_EQ(ini.ReadString("A", "name", ""), "two lines  [B] k=1");
  EXPECT_FALSE(ini.SectionExists("B"));
  EXPECT_EQ(ini.Text(), "[A]\nname=two lines  [B] k=1\n");
}

TEST(IniWrite, ManyKeysStayFindable) {
  TIniFile ini = FromText("[Tools]\nT03 Name=keep\n\n[Other]\nx=1\n");
  for (int n = 0; n < 300; ++n) ini.WriteInteger("Tools", "K" + std::to_string(n), n);
  for (int n = 0; n < 300; ++n) EXPECT_EQ(ini.ReadInteger("Tools", "k" + std::to_string(n), -1), n);
  EXPECT_EQ(ini.ReadString("Tools", "T03 Name", ""), "keep");
  EXPECT_EQ(ini.ReadInteger("Other", "x", 0), 1);
  const std::string text = ini.Text();
  EXPECT_LT(text.find("K299=299\n"), text.find("\n[Other]"));
}

TEST(IniBadInput, BinaryGarbageLongLinesAndNoFinalNewlineDoNotBreakIt) {
  std::mt19937 random(7);
  std::string garbage;
  for (int i = 0; i < 200000; ++i) garbage += static_cast<char>(random() & 0xFF);
  const std::string longLine(1 << 20, 'x');
  const std::string texts[] = {
      garbage,    "[A]\n" + longLine + "\nk=6\n", "[A]\nk=" + std::string(1 << 20, '7') + "\n",
      "[A]\nk=6", std::string("[A]\nk=6\0\n", 9), "[" + longLine,
  };
  for (const std::string& text : texts) {
    TIniFile ini = FromText(text);
    const int32_t k = ini.ReadInteger("A", "k", 6);
    EXPECT_EQ(k, 6);  // either the value 6 or the default 6
    EXPECT_EQ(ini.Text(), text);
    ini.WriteInteger("A", "k", 9);
    ini.WriteInteger("Z", "z", 1);
    TIniFile again = FromText(ini.Text());
    EXPECT_EQ(again.ReadInteger("A", "k", 0), 9);
    EXPECT_EQ(again.ReadInteger("Z", "z", 0), 1);
  }
}

TEST(IniFile, SavedFileReadsBackAndKeepsItsPermissions) {
  TTempFolder dir;
  const std::string path = dir.File("tools.ini");
  WriteBytes(path, "; mine\r\n[Tools]\r\nT01 Diameter=2,5\r\n");
  ::chmod(path.c_str(), 0640);
  TIniFile ini;
  ASSERT_TRUE(ini.Load(path).Ok);
  EXPECT_EQ(ini.ReadFloat("Tools", "T01 Diameter", 0.0), 2.5);
  ini.WriteFloat("Tools", "T01 Diameter", 2.75);
  const TIniResult saved = ini.Save(path);
  ASSERT_TRUE(saved.Ok) << saved.Error;
  EXPECT_EQ(ReadBytes(path), "; mine\r\n[Tools]\r\nT01 Diameter=2.75\r\n");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // Nothing but the file is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(IniFile, MissingFileIsAnEmptyDocumentAndAFolderIsAnError) {
  TTempFolder dir;
  TIniFile ini;
  EXPECT_TRUE(ini.Load(dir.File("none.ini")).Ok);
  EXPECT_EQ(ini.Text(), "");
  const TIniResult folder = ini.Load(dir.Path());
  EXPECT_FALSE(folder.Ok);
  EXPECT_NE(folder.Error.find(dir.Path()), std::string::npos) << folder.Error;
}

TEST(IniFile, OversizedFileIsRefused) {
  TTempFolder dir;
  const std::string path = dir.File("huge.ini");
  WriteBytes(path, "");
  std::filesystem::resize_file(path, TIniFile::kMaxFileSize + 1);
  TIniFile ini;
  const TIniResult r = ini.Load(path);
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Error.find("larger than"), std::string::npos) << r.Error;
}

TEST(IniFile, SaveThroughALinkUpdatesTheFileItPointsTo) {
  TTempFolder dir;
  WriteBytes(dir.File("real.ini"), "[A]\nk=1\n");
  std::filesystem::create_symlink("real.ini", dir.File("link.ini"));
  TIniFile ini;
  ASSERT_TRUE(ini.Load(dir.File("link.ini")).Ok);
  ini.WriteInteger("A", "k", 2);
  ASSERT_TRUE(ini.Save(dir.File("link.ini")).Ok);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.ini")));
  EXPECT_EQ(ReadBytes(dir.File("real.ini")), "[A]\nk=2\n");
}

TEST(IniFile, WriteIntoAFolderThatCannotBeWrittenFailsAndLeavesTheFile) {
  TTempFolder dir;
  const std::string path = dir.File("settings.ini");
  const std::string before = "[A]\nk=1\n";
  const std::optional<std::string> error = AttemptInReadOnlyFolder(dir, path, before, [&] {
    TIniFile ini;
    if (!ini.Load(path).Ok) return std::string("load failed");
    ini.WriteInteger("A", "k", 2);
    const TIniResult r = ini.Save(path);
    return r.Ok ? std::string() : r.Error;
  });
  if (!error) GTEST_SKIP() << "no unprivileged user to write as";
  EXPECT_NE(error->find("cannot write " + path), std::string::npos) << *error;
  EXPECT_NE(error->find("Permission denied"), std::string::npos) << *error;
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(IniFile, WriteBelowARegularFileFails) {
  TTempFolder dir;
  WriteBytes(dir.File("plain"), "not a folder");
  TIniFile ini;
  ini.WriteInteger("A", "k", 1);
  const TIniResult r = ini.Save(dir.File("plain") + "/settings.ini");
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Error.find("Not a directory"), std::string::npos) << r.Error;
  EXPECT_EQ(ReadBytes(dir.File("plain")), "not a folder");
}

}  // namespace
