#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/cnc_api.h"
#include "tests/engine/cnc_api_fixture.h"

namespace fs = std::filesystem;

namespace {

class CncApiTest : public TCncApiTest {};

TEST_F(CncApiTest, OpenReturnsTheLineCountAndRunFillsTheContour) {
  int32_t lines = 0;
  const int32_t h = Open(Write("a.cnc", "G01 X1 Y2\nN20 G02 X3 Y2 I1 J0\nM30\n"), &lines);
  EXPECT_EQ(lines, 3);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(Messages(h), std::vector<std::string>{"Init CNC-Dll"});
  const TCncPoint start{0, 0, 0};
  EXPECT_EQ(CncRun(h, &start), 0);
  ASSERT_EQ(CncGetCount(h, 0), 3);
  TCncElementData d{};
  ASSERT_EQ(CncGetElement(h, 1, 0, &d), 0);
  EXPECT_EQ(d.Line, 20);
  EXPECT_EQ(d.Code, 0x4702);
  EXPECT_EQ(d.P1.X, 3.0);
  EXPECT_EQ(d.P2.X, 1.0);
  ASSERT_EQ(CncGetElement(h, 2, 0, &d), 0);
  EXPECT_EQ(d.Code, 0x4D1E);
}

// A run starts from the start point, absolute and without compensation, whatever the run
// before left behind (here incremental input and G42).
TEST_F(CncApiTest, ASecondRunOfOneInstanceGivesTheSameLists) {
  const int32_t h = Open(Write("again.cnc", "T1\nG01 X5 Y1\nG01 X7\nG91\nG42\nG01 X1\nG01 Y3\n"));
  ASSERT_EQ(CncSetToolRadius(h, 1, 1000), 0);
  const TCncPoint start{1, 2, 0};
  std::vector<TCncElementData> runs[2];
  for (auto& elements : runs) {
    ASSERT_EQ(CncRun(h, &start), 0);
    for (uint8_t mode : {0, 1})
      for (int32_t i = 0; i < CncGetCount(h, mode); ++i) {
        TCncElementData d{};
        ASSERT_EQ(CncGetElement(h, i, mode, &d), 0);
        elements.push_back(d);
      }
  }
  ASSERT_EQ(runs[0].size(), 13u);  // six contour elements, seven path elements with one rounding arc
  ASSERT_EQ(runs[1].size(), runs[0].size());
  for (size_t i = 0; i < runs[0].size(); ++i)
    EXPECT_EQ(std::memcmp(&runs[1][i], &runs[0][i], sizeof(TCncElementData)), 0) << i;
  const double x = runs[0][2].P1.X;  // the record is packed: read its fields by value
  EXPECT_EQ(x, 7.0);
}

TEST_F(CncApiTest, StatusCodesForBadHandlesModesAndIndices) {
  const int32_t h = Open(Write("b.cnc", "G01 X1\n"));
  const TCncPoint start{0, 0, 0};
  CncRun(h, &start);
  TCncElementData d{};
  EXPECT_EQ(CncGetElement(h, 1, 0, &d), -2);  // index equal to the count
  EXPECT_EQ(CncGetElement(h, -1, 0, &d), -2);
  EXPECT_EQ(CncGetElement(h, 0, 2, &d), 1);
  EXPECT_EQ(CncGetElement(99, 0, 0, &d), -1);
  EXPECT_EQ(CncGetCount(h, 2), 0);
  EXPECT_EQ(Messages(h).back(), "Error, wrong Mode selection, select 0 for Kontur, and 1 for milling path");
  EXPECT_EQ(CncGetCount(99, 0), 0);
  EXPECT_EQ(CncRun(99, &start), 815);
  EXPECT_EQ(CncSetToolRadius(99, 1, 500), 1);
  EXPECT_EQ(CncSetToolRadius(h, 255, 500), 0);
  EXPECT_EQ(CncGetMessages(99), nullptr);
  EXPECT_EQ(CncMessageCount(nullptr), 0);
  EXPECT_EQ(CncMessageText(CncGetMessages(h), 1000), nullptr);
  EXPECT_EQ(CncClose(99), 1);
}

TEST_F(CncApiTest, TwoHundredFiftyFiveInstancesThenNoFreeHandle) {
  const std::string file = Write("c.cnc", "G01 X1\n");
  for (int i = 1; i <= 255; ++i) ASSERT_EQ(Open(file), i);
  int32_t result = 0;
  int32_t h = -7;
  result = CncOpen(file.c_str(), &h);
  EXPECT_EQ(result, 816);
  EXPECT_EQ(h, 0);
  // Closing frees the slot; the next open takes the lowest clear one.
  EXPECT_EQ(CncClose(17), 0);
  EXPECT_EQ(CncClose(17), 1);
  EXPECT_EQ(CncClose(40), 0);
  EXPECT_EQ(CncOpen(file.c_str(), &h), 1);
  EXPECT_EQ(h, 17);
  CncClose(40);  // already closed: harmless in TearDown too
}

TEST_F(CncApiTest, MissingFileOpensEmptyAndTheRunSaysSo) {
  int32_t lines = -1;
  const int32_t h = Open(Folder.File("none.cnc"), &lines);
  EXPECT_EQ(lines, 0);
  ASSERT_GT(h, 0);
  const TCncPoint start{0, 0, 0};
  EXPECT_EQ(CncRun(h, &start), 850);
  EXPECT_EQ(Messages(h).back(), "Error 850: Gerberfile ist leer");
}

TEST_F(CncApiTest, EmptyFileAndFolderGiveTheEmptyProgramError) {
  int32_t lines = -1;
  const int32_t empty = Open(Write("e.cnc", ""), &lines);
  EXPECT_EQ(lines, 0);
  const int32_t folder = Open(Folder.Path(), &lines);
  EXPECT_EQ(lines, 0);  // exists but cannot be read as a program: no lines, a message
  const TCncPoint start{0, 0, 0};
  EXPECT_EQ(CncRun(empty, &start), 850);
  EXPECT_EQ(CncRun(folder, &start), 850);
  const auto m = Messages(folder);
  ASSERT_EQ(m.size(), 3u);
  EXPECT_NE(m[1].find("cannot read program file"), std::string::npos);
  EXPECT_EQ(m[2], "Error 850: Gerberfile ist leer");
}

TEST_F(CncApiTest, ToolRadiusReachesTheInstance) {
  const int32_t h = Open(Write("r.cnc", "T7\nG81 Z-1\n"));
  EXPECT_EQ(CncSetToolRadius(h, 7, 1500), 0);
  const TCncPoint start{0, 0, 0};
  EXPECT_EQ(CncRun(h, &start), 0);
  // Visible through the G81 definition's tool diameter only inside the engine; the call
  // itself must succeed for every tool number.
  for (int t = 0; t < 256; ++t) EXPECT_EQ(CncSetToolRadius(h, static_cast<uint8_t>(t), t), 0);
}

// The elements carry F as written; the run says what it means.
TEST_F(CncApiTest, FeedUnitIsTheOneInForceAtTheEndOfTheFirstLineWithAFeed) {
  struct TCase {
    const char* Text;
    int32_t Unit;
  };
  const TCase cases[] = {
      {"G01 X1\nF100\n", CNC_FEED_MILLIMETRE},
      {"G20\nF10\n", CNC_FEED_INCH},
      {"G20 F10\n", CNC_FEED_INCH},
      {"F10 G20\nG21\n", CNC_FEED_INCH},  // the F's own line counts whole; later lines do not
      {"G20\nG21\nF10\nG20\n", CNC_FEED_MILLIMETRE},
      {"; G20 in a comment\nF10\n", CNC_FEED_MILLIMETRE},
      {"g20\nF10\n", CNC_FEED_MILLIMETRE},  // commands keep their case
      {"G201 X1\nf10\n", CNC_FEED_INCH},    // read by their first three characters; f is F
      {"G20 A1.5\nF10\n", CNC_FEED_INCH},   // a line in error still switches the unit
      {"G20\n", CNC_FEED_INCH},             // no F: the unit at the end
      {"G20\rF10\rG21\r", CNC_FEED_INCH},   // lone CR line ends
      {"", CNC_FEED_MILLIMETRE},            // nothing to run
  };
  const TCncPoint start{0, 0, 0};
  for (const TCase& c : cases) {
    const int32_t h = Open(Write("u.cnc", c.Text));
    EXPECT_EQ(CncGetFeedUnit(h), CNC_FEED_MILLIMETRE) << c.Text;  // before the run
    CncRun(h, &start);
    EXPECT_EQ(CncGetFeedUnit(h), c.Unit) << c.Text;
    CncRun(h, &start);  // a second run finds the same
    EXPECT_EQ(CncGetFeedUnit(h), c.Unit) << c.Text;
    CncClose(h);
  }
  EXPECT_EQ(CncGetFeedUnit(0), -1);
  EXPECT_EQ(CncGetFeedUnit(300), -1);
}

}  // namespace

namespace {
// Real programs and drill files from other systems: whatever their dialect, every one runs
// to its end, and every element of both lists can be read.
TEST(Corpus, EveryFileRunsAndEveryElementReads) {
  const fs::path corpus = fs::path(VELQUOR_SHARED_DIR) / "corpus";
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus beside the repository";
  CncSetFontPath(VELQUOR_FONT_DIR);
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
    if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
    int32_t h = 0;
    const int32_t lines = CncOpen(entry.path().c_str(), &h);
    ASSERT_GT(h, 0) << entry.path();
    for (int t = 0; t < 255; ++t) CncSetToolRadius(h, static_cast<uint8_t>(t), 500);
    const TCncPoint start{0, 0, 0};
    const int32_t run = CncRun(h, &start);
    EXPECT_TRUE(run == 0 || run == -5 || run == 850 || (run >= 10 && run <= 18)) << entry.path() << " " << run;
    for (uint8_t mode = 0; mode <= 1; ++mode) {
      TCncElementData d{};
      const int32_t count = CncGetCount(h, mode);
      for (int32_t i = 0; i < count; ++i) ASSERT_EQ(CncGetElement(h, i, mode, &d), 0);
    }
    EXPECT_GE(CncMessageCount(CncGetMessages(h)), 1) << lines;
    EXPECT_EQ(CncClose(h), 0);
    ++files;
  }
  EXPECT_GT(files, 50);
}
}  // namespace
