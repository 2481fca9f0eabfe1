#include "windows/program_numbers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(FiveDigitNumber, PadsShortAndCutsLongValues) {
  const struct {
    uint64_t Value;
    const char* Text;
  } cases[] = {
      {0, "00000"},       {10, "00010"},
      {99999, "99999"},   {100000, "10000"},  // index 10,000: the same number as index 1,000
      {123456, "12345"},                      // six digits keep the first five
      {1234567, "23456"},                     // seven digits keep five starting five from the end
  };
  for (const auto& c : cases) EXPECT_EQ(FiveDigitNumber(c.Value), c.Text) << c.Value;
}

TEST(CreateProgramNumbers, NumbersEveryLineInStepsOfTenWithCrLf) {
  EXPECT_EQ(CreateProgramNumbers("G00 X0\nG01 X5\nM30\n"), "N00000 G00 X0\r\nN00010 G01 X5\r\nN00020 M30\r\n");
  // A last line without an end gets one; lines already numbered get a second number.
  EXPECT_EQ(CreateProgramNumbers("N10 G01\r\nM30"), "N00000 N10 G01\r\nN00010 M30\r\n");
  // An empty line is a line.
  EXPECT_EQ(CreateProgramNumbers("\n"), "N00000 \r\n");
}

TEST(CreateProgramNumbers, EmptyTextStaysEmpty) {
  EXPECT_EQ(CreateProgramNumbers(""), "");
  EXPECT_EQ(ClearProgramNumbers(""), "");
}

TEST(CreateProgramNumbers, LineTenThousandRepeatsTheNumberOfLineOneThousand) {
  std::string text;
  for (int i = 0; i <= 10000; ++i) text += "G01\n";
  const std::string numbered = CreateProgramNumbers(text);
  const auto lines = SplitTextLines(numbered);
  ASSERT_EQ(lines.size(), 10001u);
  EXPECT_EQ(lines[1000].Body, "N10000 G01");
  EXPECT_EQ(lines[10000].Body, "N10000 G01");
}

TEST(ClearedLine, RemovesOnlyANumberFollowedByABlankOrTheEnd) {
  const struct {
    const char* Line;
    const char* Cleared;
  } cases[] = {
      {"N00010 G01 X5", "G01 X5"},
      {";N00010 G01 X5", "G01 X5"},  // no character of the command lost
      {"N10 G01", "G01"},
      {"N10  G01", " G01"},  // only one blank goes
      {"N10", ""},
      {"N", "N"},
      {"NAME", "NAME"},
      {"N10X", "N10X"},
      {"N10\tG01", "N10\tG01"},
      {";N", ";N"},
      {"; N10 G01", "; N10 G01"},
      {"G01 N10", "G01 N10"},
      {"n10 G01", "n10 G01"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ClearedLine(c.Line), c.Cleared) << c.Line;
}

TEST(ClearProgramNumbers, KeepsEveryLineEndAndEveryOtherByte) {
  EXPECT_EQ(ClearProgramNumbers("N00000 G01\r\nN00010 M30\r\n"), "G01\r\nM30\r\n");
  EXPECT_EQ(ClearProgramNumbers("N00000 G01\nN00010 M30"), "G01\nM30");
  EXPECT_EQ(ClearProgramNumbers("N1 a\r\nN2 b\nc\r\n"), "a\r\nb\nc\r\n");
  // Latin-1 and stray bytes are no concern of the numbering.
  const std::string latin1 = "N00000 (Fr\xE4ser \xD8 3)\r\n\xFF\x01\r\n";
  EXPECT_EQ(ClearProgramNumbers(latin1), "(Fr\xE4ser \xD8 3)\r\n\xFF\x01\r\n");
}

TEST(ClearProgramNumbers, UndoesCreate) {
  const char* texts[] = {
      "G00 X0\r\nG01 X5\r\nM30\r\n",
      "N10 G01\r\n;N20 comment\r\nN\r\nNAME\r\n\r\n",
      "\xC4\xD6\xDC\r\n",
  };
  for (const char* text : texts) EXPECT_EQ(ClearProgramNumbers(CreateProgramNumbers(text)), text);
  // LF files come back line for line; Create wrote CR LF.
  EXPECT_EQ(ClearProgramNumbers(CreateProgramNumbers("a\nb\n")), "a\r\nb\r\n");
}

TEST(SplitTextLines, LineEndsBelongToTheirLine) {
  const auto lines = SplitTextLines("a\r\nb\n\nc");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].Body, "a");
  EXPECT_EQ(lines[0].End, "\r\n");
  EXPECT_EQ(lines[1].End, "\n");
  EXPECT_EQ(lines[2].Body, "");
  EXPECT_EQ(lines[3].Body, "c");
  EXPECT_EQ(lines[3].End, "");
  // A lone CR is part of the line, not an end.
  EXPECT_EQ(SplitTextLines("a\rb").size(), 1u);
}

}  // namespace

TEST(LineWithNumber, FindsTheFirstLineCarryingTheBlockNumber) {
  const struct {
    const char* Text;
    int32_t Number;
    int Expected;
  } cases[] = {
      {"N10 G00 X0\nN20 G01 X5\r\nN30 M30\n", 20, 1},
      {"N00020 G01\n", 20, 0},                  // leading zeros
      {"  N30 G01\n", 30, 0},                   // blanks before the word
      {"G01 N20\nN200 G01\n", 20, -1},          // not first on its line; another number
      {"N20\nN20\n", 20, 0},                    // the first of two
      {"N\n;N20\n", 20, -1},                    // no digits; a comment
      {"N99999999999999999999 G01\n", 20, -1},  // far past any block number
      {"", 20, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(LineWithNumber(c.Text, c.Number), c.Expected) << c.Text;
}

TEST(BlockNumberOf, ReadsTheNWordALineStartsWith) {
  const struct {
    const char* Body;
    std::optional<int32_t> Expected;
  } cases[] = {
      {"N20 G01 X5", 20},
      {"N00000 G00", 0},  // the first line numbered by Create program numbers
      {"\t n7", 7},       // blanks first, lower case
      {"N2147483647", INT32_MAX},
      {"N2147483648", std::nullopt},  // one past the range
      {"G01 N20", std::nullopt},
      {"N", std::nullopt},
      {";N20", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(BlockNumberOf(c.Body), c.Expected) << c.Body;
}
