// The drill-file tool block parser on written blocks: scan rules, units, line ends, limits.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/platform/test_files.h"
#include "tools/tool_block.h"

namespace {

using TRows = std::vector<TToolRow>;

}  // namespace

// Rows print as their six cells when a comparison fails.
void PrintTo(const TToolRow& r, std::ostream* os) {
  *os << "{" << r.Tool << "|" << r.Name << "|" << r.Diameter << "|" << r.Height << "|" << r.Speed << "|" << r.Feed
      << "}";
}

namespace {

struct TBlockCase {
  const char* What;
  const char* Text;
  TRows Rows;
};

class ToolBlockCases : public testing::TestWithParam<TBlockCase> {};

TEST_P(ToolBlockCases, GiveTheseRows) {
  const TToolBlock b = ParseToolBlock(GetParam().Text);
  EXPECT_EQ(b.Result, kToolBlockParsed);
  EXPECT_EQ(b.Rows, GetParam().Rows);
}

const TBlockCase kBlockCases[] = {
    {"inch block with a quoted name",
     "M72\nM48\nT1 C0.024 N\"Drill A\"\n%\n",
     {{"1", "Drill A", "0.61", "20.00", "", ""}}},
    {"same line in millimetres", "M48\nT1 C0.024 N\"Drill A\"\n%\n", {{"1", "Drill A", "0.02", "20.00", "", ""}}},
    {"no C gives the default diameter", "M48\nT3\n%\n", {{"3", "", "1.00", "20.00", "", ""}}},
    {"no C after M72 gives one inch", "M72\nM48\nT3\n%\n", {{"3", "", "25.40", "20.00", "", ""}}},
    {"letter before a blank stays in the value",
     "M48\nT9 F00 S00C 0.043\n%\n",
     {{"9", "", "1.00", "20.00", "00C", "00"}}},
    {"a percent that is the last character does not end the block",
     "M48\nT1 C1\n %\nT2 C2\n%\n",
     {{"1", "", "1.00", "20.00", "", ""}, {"2", "", "2.00", "20.00", "", ""}}},
    {"a comment mentioning M72 keeps millimetres",
     ";set M72 later\nM48\nT1 C1\n%\n",
     {{"1", "", "1.00", "20.00", "", ""}}},
    {"M71 with a comment mentioning M72 switches to inches",
     "M71 ; not M72\nM48\nT1 C1\n%\n",
     {{"1", "", "25.40", "20.00", "", ""}}},
    {"nothing is read after the end of the block",
     "M48\nT1 C1\n%\nT2 C2\nM48\nT3 C3\n",
     {{"1", "", "1.00", "20.00", "", ""}}},
    {"height is never converted", "M72\nM48\nT1 C1 H2.5\n%\n", {{"1", "", "25.40", "2.50", "", ""}}},
    {"lower case letters", "M48\nt7 c0.5 h3 s100 f200 n\"small\"\n%\n", {{"7", "small", "0.50", "3.00", "100", "200"}}},
    {"words in any order, name with blanks first",
     "M48\nN\"a b c\" F5 C2 T04 S9\n%\n",
     {{"04", "a b c", "2.00", "20.00", "9", "5"}}},
    {"name without closing quote runs to the end",
     "M48\nT1 N\"open end\n%\n",
     {{"1", "open end", "1.00", "20.00", "", ""}}},
    {"values that are not numbers give zero", "M48\nT1 Cabc Hxyz\n%\n", {{"1", "", "0.00", "0.00", "", ""}}},
    {"lines outside the block do not count", "%\nT1C0.5\nM48\nT2C0.5\n%\n", {{"2", "", "0.50", "20.00", "", ""}}},
    {"no M48, no rows", "T1 C1\nT2 C2\n%\n", {}},
    {"a one-character line is examined", "M48\nT1\n%\nT2\n", {{"1", "", "1.00", "20.00", "", ""}}},
    {"the last character is never a command", "M48\n1T\nT5\n%\n", {{"5", "", "1.00", "20.00", "", ""}}},
    {"tool texts of one line are joined", "M48\nT1 T2 C1\n%\n", {{"12", "", "1.00", "20.00", "", ""}}},
    // Real headers write their words without blanks.
    {"compact metric word", "M48\nMETRIC,TZ\nT1C0.800\n%\n", {{"1", "", "0.80", "20.00", "", ""}}},
    {"compact inch word", "M48\nINCH,LZ\nT01C0.0315\n%\n", {{"01", "", "0.80", "20.00", "", ""}}},
    {"compact word with feed and speed", "M48\nT1F00S00C0.300\n%\n", {{"1", "", "0.30", "20.00", "00", "00"}}},
    {"compact word with a point first", "M48\nT12C.5H3\n%\n", {{"12", "", "0.50", "3.00", "", ""}}},
    {"INCH before the block changes nothing", "INCH\nM48\nT1C1\n%\n", {{"1", "", "1.00", "20.00", "", ""}}},
    {"METRIC after M72 inside the block",
     "M72\nM48\nT1C1\nMETRIC\nT2C1\n%\n",
     {{"1", "", "25.40", "20.00", "", ""}, {"2", "", "1.00", "20.00", "", ""}}},
    {"M71 does not undo M72", "M72\nM48\nM71\nT1C1\n%\n", {{"1", "", "25.40", "20.00", "", ""}}},
    {"three-digit tool numbers", "M48\nT100C0.76\n%\n", {{"100", "", "0.76", "20.00", "", ""}}},
    {"CR LF line ends",
     "M48\r\nT1 N\"x\"\r\nT2C2\r\n%\r\n",
     {{"1", "x", "1.00", "20.00", "", ""}, {"2", "", "2.00", "20.00", "", ""}}},
    {"CR line ends",
     "M48\rT1 N\"x\rT2C2\r%\r",
     {{"1", "x", "1.00", "20.00", "", ""}, {"2", "", "2.00", "20.00", "", ""}}},
    {"mixed line ends and no end at the end",
     "M48\r\n\rT1C1\n\nT2C2",
     {{"1", "", "1.00", "20.00", "", ""}, {"2", "", "2.00", "20.00", "", ""}}},
};

INSTANTIATE_TEST_SUITE_P(Blocks, ToolBlockCases, testing::ValuesIn(kBlockCases));

TEST(ToolBlock, LogEntriesStandNewestFirst) {
  const TToolBlock b = ParseToolBlock("M48\nT1 C0.5 N\"A\" H3 S100 F200\nT2C1\n%\n");
  EXPECT_EQ(b.Log,
            "\r\nToolname:   Toolheight: 20  2  1      "
            "\r\nToolname: A  Toolheight: 3  1  0.5  100  200  ");
}

TEST(ToolBlock, ToolTextsNotStartingWithADigitAreLoggedAndSkipped) {
  const TToolBlock b = ParseToolBlock("M48\nMETRIC,TZ\nTZ\nINCH,LZ\nT1C1\n%\n");
  ASSERT_EQ(b.Rows.size(), 1u);
  EXPECT_EQ(b.Rows[0].Diameter, "25.40");  // INCH,LZ adds no row but sets the unit
  EXPECT_EQ(b.Log,
            "\r\nToolname:   Toolheight: 20  1  1      "
            "\r\nLine 3 ignored: TZ"
            "\r\nLine 2 ignored: METRIC,TZ");
}

TEST(ToolBlock, KeepsTheFirst255Tools) {
  for (const int tools : {255, 256, 300}) {
    std::string text = "M48\n";
    for (int t = 1; t <= tools; ++t) text += "T" + std::to_string(t) + "C1\n";
    text += "%\n";
    const TToolBlock b = ParseToolBlock(text);
    ASSERT_EQ(b.Rows.size(), 255u) << tools;
    EXPECT_EQ(b.Rows.back().Tool, "255");
    const size_t notes = b.Log.find(kOnlyFirstTools) == std::string::npos ? 0 : 1;
    EXPECT_EQ(notes, tools > 255 ? 1u : 0u) << tools;
    EXPECT_EQ(b.Log.find(kOnlyFirstTools), b.Log.rfind(kOnlyFirstTools));
  }
}

TEST(ToolBlock, StopsReadingAtTheEndOfTheBlock) {
  TToolBlockScanner s;
  EXPECT_TRUE(s.AddLine("M48"));
  EXPECT_TRUE(s.AddLine("T1C1"));
  EXPECT_FALSE(s.AddLine("%"));
  EXPECT_FALSE(s.AddLine("T2C1"));
  EXPECT_EQ(s.LinesRead(), 3u);
}

TEST(ToolBlock, TextThatIsNotADrillFileIsAReadFailure) {
  const TToolBlock binary = ParseToolBlock(std::string("M48\nT1C1\nT2\0C1\n%\n", 17));
  EXPECT_EQ(binary.Result, kToolBlockReadFailure);
  EXPECT_EQ(binary.Rows.size(), 1u);  // the rows before the failure stay
  EXPECT_TRUE(binary.Log.starts_with("\r\nLine 3 holds a NUL byte")) << binary.Log;

  for (const size_t length : {kMaxToolBlockLine, kMaxToolBlockLine + 1}) {
    const TToolBlock b = ParseToolBlock("M48\n" + std::string(length, 'x') + "\nT1C1\n%\n");
    EXPECT_EQ(b.Result, length > kMaxToolBlockLine ? kToolBlockReadFailure : kToolBlockParsed) << length;
    EXPECT_EQ(b.Rows.size(), length > kMaxToolBlockLine ? 0u : 1u) << length;
  }
}

TEST(ToolBlockFile, ReadsLikeTheText) {
  TTempFolder dir;
  // Chunked reading must not split a line, nor count a CR LF across two chunks as two line
  // ends: the line numbers in the log would be off by one.
  for (const size_t crAt : {kToolBlockReadChunk - 1, kToolBlockReadChunk, kToolBlockReadChunk + 1}) {
    std::string text = "M48\r\n;";
    text += std::string(crAt - text.size(), 'c') + "\r\nT1C0.5\r\nTZ\r\nT2 N\"two\"\r\n%\r\nT3C3\r\n";
    WriteBytes(dir.File("a.drl"), text);
    const TToolBlock fromFile = ParseToolBlockFile(dir.File("a.drl"));
    const TToolBlock fromText = ParseToolBlock(text);
    EXPECT_EQ(fromFile.Result, kToolBlockParsed);
    EXPECT_EQ(fromFile.Rows, fromText.Rows);
    EXPECT_EQ(fromFile.Log, fromText.Log);
    EXPECT_EQ(fromFile.Rows.size(), 2u);
    EXPECT_NE(fromFile.Log.find("Line 4 ignored: TZ"), std::string::npos) << crAt;
  }
}

TEST(ToolBlockFile, FilesThatCannotBeOpenedGiveResultTwo) {
  TTempFolder dir;
  for (const std::string& path : {dir.File("missing.drl"), dir.Path(), std::string("/dev/zero")}) {
    const TToolBlock b = ParseToolBlockFile(path);
    EXPECT_EQ(b.Result, kToolBlockOpenFailure) << path;
    EXPECT_EQ(b.Log, kOpenCloseFailure);
    EXPECT_TRUE(b.Rows.empty());
  }
}

TEST(ToolBlockFile, AHugeLineIsRefusedWithoutReadingIt) {
  TTempFolder dir;
  WriteBytes(dir.File("big.drl"), "M48\nT1C1\n" + std::string(3 * kMaxToolBlockLine, 'x'));
  const TToolBlock b = ParseToolBlockFile(dir.File("big.drl"));
  EXPECT_EQ(b.Result, kToolBlockReadFailure);
  EXPECT_EQ(b.Rows.size(), 1u);
  EXPECT_TRUE(b.Log.starts_with("\r\nLine 3 is longer than")) << b.Log.substr(0, 60);
}

TEST(TwoDecimals, RoundsTheDecimalFormHalfAwayFromZero) {
  const struct {
    double Value;
    const char* Text;
  } cases[] = {
      {0.0, "0.00"},
      {1.0, "1.00"},
      {0.6096, "0.61"},
      {0.024 * 25.4, "0.61"},
      {0.0315 * 25.4, "0.80"},
      {0.125, "0.13"},
      {0.124999, "0.12"},
      {3.175, "3.18"},
      {0.125 * 25.4, "3.18"},
      {9.995, "10.00"},
      {99.999, "100.00"},
      {0.004, "0.00"},
      {0.005, "0.01"},
      {-1.5, "-1.50"},
      {-0.001, "0.00"},
      {25.4, "25.40"},
      {1e20, "100000000000000000000.00"},
      {1e-300, "0.00"},
      {std::numeric_limits<double>::infinity(), "0.00"},
  };
  for (const auto& c : cases) EXPECT_EQ(TwoDecimals(c.Value), c.Text) << c.Value;
}

// The help window's own example is a block this parser reads.
TEST(ToolBlock, TheHelpTextExampleParses) {
  std::string text;
  for (const char* line : kToolDefinitionHelp) text += std::string(line) + "\r\n";
  const TToolBlock b = ParseToolBlock(text);
  const TRows expected = {
      {"1", "Bohrer 3 mm", "0.61", "1000.00", "00", "00"},
      {"2", "", "0.71", "20.00", "00", "00"},
      {"3", "", "0.81", "20.00", "00", "00"},
      {"4", "", "0.86", "20.00", "00", "00"},
      {"5", "", "0.89", "20.00", "00", "00"},
      {"6", "", "0.91", "20.00", "00", "00"},
      {"7", "", "0.97", "20.00", "00", "00"},
      {"8", "", "1.02", "20.00", "00", "00"},
      {"9", "", "25.40", "20.00", "00C", "00"},
      {"1", "", "1.12", "20.00", "00", "00"},
      {"11", "", "2.79", "20.00", "00", "00"},
      {"12", "", "3.18", "20.00", "00", "00"},
  };
  EXPECT_EQ(b.Rows, expected);
}

}  // namespace
