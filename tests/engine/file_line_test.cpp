// Every element and message knows the line of the file it came from, whatever the N numbers.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/support/run_program.h"

namespace {

std::set<int32_t> FileLinesOf(const TElementList& list) {
  std::set<int32_t> lines;
  for (const TCncElement& e : list) lines.insert(e.FileLine);
  return lines;
}

// The file line of the first message holding `part`; -1 when none does.
int32_t LineOfMessage(const TMessageList& messages, const std::string& part) {
  for (size_t i = 0; i < messages.size(); ++i)
    if (messages[i].find(part) != std::string::npos) return messages.FileLineOf(i);
  return -1;
}

struct TLineCase {
  const char* Name;
  std::string Program;
  std::vector<int32_t> ContourLines;  // FileLine of each contour element, in order
};

class ElementFileLineTest : public ::testing::TestWithParam<TLineCase> {};

TEST_P(ElementFileLineTest, EachElementCarriesItsLine) {
  const TProgramRunResult r = RunProgramText(GetParam().Program, 1.0);
  std::vector<int32_t> contour;
  for (const TCncElement& e : r.Contour()) contour.push_back(e.FileLine);
  EXPECT_EQ(contour, GetParam().ContourLines);
  // The raw path is made from the same lines; the milling path from the raw path's moves.
  EXPECT_EQ(FileLinesOf(r.Instance->RawPathList), FileLinesOf(r.Contour()));
  for (const TCncElement& e : r.Path()) EXPECT_TRUE(FileLinesOf(r.Contour()).contains(e.FileLine)) << e.FileLine;
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ElementFileLineTest,
    ::testing::Values(
        TLineCase{"Unnumbered", "G00 X0 Y0\n\nG01 X10\nG01 Y10\n", {1, 3, 4}},
        TLineCase{"RepeatedAndOutOfOrderNumbers", "N20 G00 X0 Y0\nN10 G01 X10\nN10 G01 Y10\nN5 G01 X0\n", {1, 2, 3, 4}},
        TLineCase{"CrLf", "G00 X0 Y0\r\n\r\nG01 X10\r\nG01 Y10\r\n", {1, 3, 4}},
        TLineCase{"CrOnly", "G00 X0 Y0\r\rG01 X10\rG01 Y10\r", {1, 3, 4}},
        TLineCase{"AfterAVeryLongLine", "G00 X0 Y0\n(" + std::string(5000, 'x') + ")\nG01 X10\n", {1, 3}},
        TLineCase{"CompensationKeepsTheMoveLine", "T1\nG41\nG01 X10 Y0\nG01 X10 Y10\nG01 X0 Y10\n", {1, 2, 3, 4, 5}}),
    [](const auto& param) { return std::string(param.param.Name); });

TEST(ElementFileLine, CycleAndEngravingElementsCarryTheLineOfTheirCommand) {
  const TProgramRunResult r = RunProgramText(
      "G00 X0 Y0 Z1\n"
      "G81 Z-2 H2 B3 F100\n"
      "G79 X5 Y5\n"
      "G00 X30 Y30\n"
      "G86 L20 B10 R3 U1 V1 W0\n"
      "G00 X60 Y0 Z1\n"
      "G66 @\"AB\" H5\n",
      1.0);
  // One element each from lines 1 and 4, the drilling's plunges from 3, the pocket's from 5,
  // the strokes from 7.
  std::map<int32_t, size_t> perLine;
  for (const TCncElement& e : r.Contour()) ++perLine[e.FileLine];
  EXPECT_EQ(perLine[1], 1u);
  EXPECT_EQ(perLine[4], 1u);
  EXPECT_GT(perLine[3], 2u);
  EXPECT_GT(perLine[5], 4u);
  EXPECT_GT(perLine[7], 4u);
  EXPECT_EQ(perLine.count(0), 0u);
}

TEST(MessageFileLine, MessagesCarryTheLineTheyAreAbout) {
  const TProgramRunResult r = RunProgramText(
      "T1\n"
      "G01\n"  // 2: no coordinate
      "(" +
          std::string(300, 'c') +
          ")\n"                                                 // 3: cut at 255 characters
          "N10 G86 L1 B1 R0.5 U1 V1 W0\n"                       // 4: pocket smaller than the tool
          "G00 X0 Y0 Z0\nG41\nN30 G01 X5 Y0\nN40 G01 X10 Y0\n"  // 5..8
          "N50 G03 X10.6 Y0.8 I0.3 J0.4\nN60 G01 X20 Y20\n",    // the path stops at line 8
      1.0);
  EXPECT_EQ(LineOfMessage(r.Messages(), "Init CNC-Dll"), 0);
  EXPECT_EQ(LineOfMessage(r.Messages(), "at least one xyz-parameter for G01"), 2);
  EXPECT_EQ(LineOfMessage(r.Messages(), "longer than 255 characters"), 3);
  EXPECT_EQ(LineOfMessage(r.Messages(), "pocket smaller than the tool"), 4);
  EXPECT_EQ(r.Result, 12);
  EXPECT_EQ(LineOfMessage(r.Messages(), "ErrorNr 12, in program line: 40"), 8);
}

TEST(MessageFileLine, RunSummariesAreTiedToNoLine) {
  auto inst = std::make_unique<TCncInstance>(1, "", VELQUOR_FONT_DIR);
  inst->Lines.Assign("G01 X1\nG01 X2\nG01 X3\nG01 X4\n");
  inst->Budget.Limit = 3;
  RunInstance(*inst, TPoint{});
  EXPECT_EQ(LineOfMessage(inst->Messages, "the run stopped at program line 2"), 0);
  // A second run appends; a message after it is tied to no line.
  inst->AddMessage("later");
  EXPECT_EQ(LineOfMessage(inst->Messages, "later"), 0);
}

}  // namespace
