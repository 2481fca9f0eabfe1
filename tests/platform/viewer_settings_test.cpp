// The settings file against real files on disk.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/ini_profile.h"
#include "platform/viewer_settings.h"
#include "tests/platform/test_files.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

void ExpectDefaultTool(const ToolParam& t, int n) {
  EXPECT_EQ(t.Name, "not specified") << n;
  EXPECT_EQ(t.Diameter, 80.0) << n;
  EXPECT_EQ(t.Height, 20.0) << n;
  EXPECT_EQ(t.Speed, 10000) << n;
  EXPECT_EQ(t.Feed, 2000) << n;
}

// The record's values beside the tool table: tool change X, Y, Z, boost feed, maximum speed,
// cursor and application timeouts.
std::tuple<double, double, double, int32_t, int32_t, int32_t, int32_t> Scalars(const TCncType& s) {
  return {s.ToolChangeX, s.ToolChangeY, s.ToolChangeZ, s.BoostFeed, s.MaxSpeed, s.CursorTimeout, s.ApplicationTimeout};
}

TCncType ReadFrom(const std::string& path) {
  TCncType s;
  s.Tools.fill(ToolParam{});  // nothing left over from construction
  s.BoostFeed = s.MaxSpeed = s.CursorTimeout = s.ApplicationTimeout = -1;
  const TSettingsResult r = ReadSettings(path, s);
  EXPECT_TRUE(r.Ok) << r.Error;
  return s;
}

TEST(SettingsPath, ReplacesTheExecutablesExtension) {
  EXPECT_EQ(SettingsFilePath("velquor"), "velquor.INI");
  EXPECT_EQ(SettingsFilePath("/opt/velquor/velquor"), "/opt/velquor/velquor.INI");
  EXPECT_EQ(SettingsFilePath("/opt/v.1/Velquor.exe"), "/opt/v.1/Velquor.INI");
  EXPECT_EQ(SettingsFilePath(""), "");
}

TEST(SettingsKeys, ToolNumbersHaveAtLeastTwoDigits) {
  EXPECT_EQ(ToolKey(0, "Name"), "T00 Name");
  EXPECT_EQ(ToolKey(7, "Diameter"), "T07 Diameter");
  EXPECT_EQ(ToolKey(12, "Height"), "T12 Height");
  EXPECT_EQ(ToolKey(254, "Feed"), "T254 Feed");
}

TEST(ReadSettings, NoFileGivesEveryDefault) {
  TTempFolder dir;
  const TCncType s = ReadFrom(dir.File("velquor.INI"));
  for (int n = 0; n < kToolCount; ++n) ExpectDefaultTool(s.Tools[n], n);
  EXPECT_EQ(Scalars(s), std::make_tuple(20.0, 200.0, 55.0, 100, 10000, 400, 10000));
  // A fresh record holds the same.
  const TCncType fresh;
  EXPECT_EQ(fresh.Tools[254].Name, "not specified");
  EXPECT_EQ(fresh.CurrentTool, 0);
}

TEST(ReadSettings, HandWrittenFileWithOddSpellingsAndNumberForms) {
  TTempFolder dir;
  const std::string path = dir.File("velquor.INI");
  WriteBytes(path,
             "[werkzeugwechselposition]\n"
             "t0.x = 12,5\n"
             "T0.Y=0x10\n"  // not a float: default
             "[ SPEED ]\n"
             "maxspeed = 0x10\n"
             "[Timeout]\n"
             "CursorTimeout=fast\n"  // not an integer: default
             "ApplicationTimeout=-3\n"
             "[tools]\n"
             "T05 Diameter=6\n"
             "  t01 diameter  = 3,5\n"
             "T02 DIAMETER=3.5\n"
             "T03 Speed=0x10\n"
             "T04 Height=abc\n"
             "T04 Feed=12.5\n"
             "T05 Name=  Fräser 6 mm  \n"
             "T254 Feed=123\n"
             "T255 Feed=999\n"
             "T5 Height=1\n");
  const TCncType s = ReadFrom(path);
  EXPECT_EQ(Scalars(s), std::make_tuple(12.5, 200.0, 55.0, 100, 16, 400, -3));
  EXPECT_EQ(s.Tools[5].Diameter, 6.0);
  EXPECT_EQ(s.Tools[5].Name, "Fräser 6 mm");
  EXPECT_EQ(s.Tools[5].Height, 20.0);  // "T5" is not the key of tool 5
  EXPECT_EQ(s.Tools[1].Diameter, 3.5);
  EXPECT_EQ(s.Tools[2].Diameter, 3.5);
  EXPECT_EQ(s.Tools[3].Speed, 16);
  EXPECT_EQ(s.Tools[4].Height, 20.0);
  EXPECT_EQ(s.Tools[4].Feed, 2000);
  EXPECT_EQ(s.Tools[254].Feed, 123);
  for (int n : {0, 6, 100, 253}) ExpectDefaultTool(s.Tools[n], n);
}

TEST(WriteSettings, FreshFileHoldsThePositionAndThe1275ToolKeysInOrder) {
  TTempFolder dir;
  const std::string path = dir.File("velquor.INI");
  TCncType s;
  s.Tools[7].Diameter = 3.175;
  s.Tools[7].Name = "Gravierstichel";
  s.BoostFeed = 555;  // never written
  const TSettingsResult r = WriteSettings(path, s);
  ASSERT_TRUE(r.Ok) << r.Error;

  std::vector<std::string> expected = {"[Werkzeugwechselposition]", "T0.x=20", "T0.y=200", "T0.z=55", "", "[Tools]"};
  for (int n = 0; n < kToolCount; ++n) {
    const ToolParam& t = s.Tools[n];
    expected.push_back(ToolKey(n, "Name") + "=" + t.Name);
    expected.push_back(ToolKey(n, "Diameter") + "=" + IniFloatToText(t.Diameter));
    expected.push_back(ToolKey(n, "Height") + "=" + IniFloatToText(t.Height));
    expected.push_back(ToolKey(n, "Speed") + "=" + std::to_string(t.Speed));
    expected.push_back(ToolKey(n, "Feed") + "=" + std::to_string(t.Feed));
  }
  const std::vector<std::string> lines = Lines(ReadBytes(path));
  EXPECT_EQ(lines.size(), 6u + 1275u);
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(lines[6 + 7 * 5 + 1], "T07 Diameter=3.175");
  EXPECT_EQ(lines.back(), "T254 Feed=2000");
}

TEST(WriteSettings, HandWrittenSectionsAndCommentsSurvive) {
  TTempFolder dir;
  const std::string path = dir.File("velquor.INI");
  const std::string head =
      "; Velquor settings, edited by hand\n"
      "[Vorschub]\n"
      "; faster than the machine's default\n"
      "BoostFeed = 250\n"
      "\n"
      "[SPEED]\n"
      "MaxSpeed=24000\n"
      "\n";
  WriteBytes(path, head + "[Tools]\n; my tools\nt05 diameter = 6\nExtra=keep me\n");
  TCncType s = ReadFrom(path);
  EXPECT_EQ(s.BoostFeed, 250);
  s.Tools[5].Diameter = 8.0;
  s.MaxSpeed = 1;  // never written
  ASSERT_TRUE(WriteSettings(path, s).Ok);

  const std::string text = ReadBytes(path);
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_NE(text.find("[Tools]\n; my tools\nt05 diameter = 8\nExtra=keep me\nT00 Name=not specified\n"),
            std::string::npos);
  EXPECT_EQ(text.find("T05 Diameter"), std::string::npos);  // written in place, not twice
  EXPECT_NE(text.find("\n[Werkzeugwechselposition]\nT0.x=20\nT0.y=200\nT0.z=55\n"), std::string::npos);

  const TCncType back = ReadFrom(path);
  EXPECT_EQ(back.BoostFeed, 250);
  EXPECT_EQ(back.MaxSpeed, 24000);
  EXPECT_EQ(back.Tools[5].Diameter, 8.0);
  // A second write of the same record changes nothing.
  ASSERT_TRUE(WriteSettings(path, back).Ok);
  EXPECT_EQ(ReadBytes(path), text);
}

TEST(WriteSettings, EveryValueReadsBackTheSame) {
  TTempFolder dir;
  const std::string path = dir.File("velquor.INI");
  TCncType s;
  s.ToolChangeX = -12.345;
  s.ToolChangeY = 0.1 + 0.2;
  s.ToolChangeZ = 1e-7;
  for (int n = 0; n < kToolCount; ++n) {
    ToolParam& t = s.Tools[n];
    t.Name = "Tool " + std::to_string(n) + (n % 2 ? " ø" : "");
    t.Diameter = 0.1 * n + 0.05;
    t.Height = 30.0 - n / 7.0;
    t.Speed = 1000 * n - 7;
    t.Feed = -n;
  }
  ASSERT_TRUE(WriteSettings(path, s).Ok);
  const TCncType back = ReadFrom(path);
  EXPECT_EQ(back.ToolChangeX, -12.345);
  EXPECT_EQ(back.ToolChangeY, 0.3);  // fifteen digits at most
  EXPECT_EQ(back.ToolChangeZ, 1e-7);
  for (int n = 0; n < kToolCount; ++n) {
    EXPECT_EQ(back.Tools[n].Name, s.Tools[n].Name);
    // Fifteen significant digits.
    EXPECT_NEAR(back.Tools[n].Diameter, s.Tools[n].Diameter, std::abs(s.Tools[n].Diameter) * 1e-14);
    EXPECT_NEAR(back.Tools[n].Height, s.Tools[n].Height, std::abs(s.Tools[n].Height) * 1e-14);
    EXPECT_EQ(back.Tools[n].Speed, s.Tools[n].Speed);
    EXPECT_EQ(back.Tools[n].Feed, s.Tools[n].Feed);
  }
}

TEST(WriteSettings, CrlfFileStaysCrlf) {
  TTempFolder dir;
  const std::string path = dir.File("velquor.INI");
  WriteBytes(path, "[Vorschub]\r\nBoostFeed=120\r\n\r\n[Tools]\r\nT05 Diameter=6\r\n");
  const TCncType s = ReadFrom(path);
  EXPECT_EQ(s.Tools[5].Diameter, 6.0);
  ASSERT_TRUE(WriteSettings(path, s).Ok);
  const std::string text = ReadBytes(path);
  size_t lf = 0, crlf = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') (i > 0 && text[i - 1] == '\r' ? crlf : lf)++;
  EXPECT_EQ(lf, 0u);
  EXPECT_EQ(crlf, 5u + 1274u + 5u);  // old lines, new tool keys, blank + position section
  EXPECT_EQ(ReadFrom(path).BoostFeed, 120);
}

TEST(ReadSettings, GarbageFileGivesDefaultsAndStaysBehindAWrite) {
  TTempFolder dir;
  const std::string path = dir.File("velquor.INI");
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 131 + 17) & 0xFF);
  garbage += std::string(1 << 20, 'Q');  // a 1 MB line, no final newline
  WriteBytes(path, garbage);
  TCncType s = ReadFrom(path);
  ExpectDefaultTool(s.Tools[5], 5);
  s.Tools[5].Diameter = 6.0;
  ASSERT_TRUE(WriteSettings(path, s).Ok);
  const std::string text = ReadBytes(path);
  EXPECT_EQ(text.substr(0, garbage.size()), garbage);
  EXPECT_EQ(ReadFrom(path).Tools[5].Diameter, 6.0);
}

TEST(WriteSettings, ReadOnlyFolderIsReportedAndTheFileLeftIntact) {
  TTempFolder dir;
  const std::string path = dir.File("velquor.INI");
  const std::string before = "[Tools]\nT05 Diameter=6\n";
  const std::optional<std::string> error = AttemptInReadOnlyFolder(dir, path, before, [&] {
    TCncType s;
    s.Tools[5].Diameter = 10.0;
    const TSettingsResult r = WriteSettings(path, s);
    return r.Ok ? std::string() : r.Error;
  });
  if (!error) GTEST_SKIP() << "no unprivileged user to write as";
  EXPECT_NE(error->find(path), std::string::npos) << *error;
  EXPECT_NE(error->find("Permission denied"), std::string::npos) << *error;
  EXPECT_EQ(ReadBytes(path), before);
}

TEST(WriteSettings, PathBelowARegularFileIsReported) {
  TTempFolder dir;
  WriteBytes(dir.File("velquor"), "an executable");
  const TSettingsResult r = WriteSettings(dir.File("velquor") + "/velquor.INI", TCncType{});
  EXPECT_FALSE(r.Ok);
  EXPECT_FALSE(r.Error.empty());
  EXPECT_EQ(ReadBytes(dir.File("velquor")), "an executable");
}

TEST(WriteSettings, UnreadableFileIsNotReplaced) {
  TTempFolder dir;
  const std::string path = dir.File("velquor.INI");
  std::filesystem::create_directory(path);
  WriteBytes(path + "/inside", "x");
  TCncType s;
  const TSettingsResult read = ReadSettings(path, s);
  EXPECT_FALSE(read.Ok);
  ExpectDefaultTool(s.Tools[0], 0);
  const TSettingsResult write = WriteSettings(path, s);
  EXPECT_FALSE(write.Ok);
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_EQ(ReadBytes(path + "/inside"), "x");
}

TEST(ToolRadius, DiameterTimes500RoundedToEvenAndSaturated) {
  struct TCase {
    double Diameter;
    int32_t Radius;
  } const cases[] = {
      {6.0, 3000},
      {80.0, 40000},
      {0.0, 0},
      {0.001, 0},  // 0.5 -> 0
      {0.003, 2},  // 1.5 -> 2
      {0.0016, 1},
      {-6.0, -3000},
      {1e12, std::numeric_limits<int32_t>::max()},
      {1e306, std::numeric_limits<int32_t>::max()},  // beyond any double once times 500
      {std::nan(""), 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ToolRadiusThousandths(c.Diameter), c.Radius) << c.Diameter;
}

}  // namespace
