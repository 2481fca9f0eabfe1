#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/convert.h"
#include "tests/engine/engine_test_util.h"
#include "tests/support/run_program.h"

namespace {

// One program line and the one element it gives in both lists.
struct ElementCase {
  const char* Program;
  const char* Code;
  const char* Text;
  int Line;
  TPoint P1;
  int32_t Value;
};

class SingleElementTest : public ::testing::TestWithParam<ElementCase> {};

TEST_P(SingleElementTest, GivesTheElementInBothLists) {
  const ElementCase& c = GetParam();
  auto inst = RunProgramText(c.Program).Instance;
  for (const TElementList* list : {&inst->ContourList, &inst->RawPathList}) {
    ASSERT_EQ(list->size(), 1u) << c.Program;
    const TCncElement& e = list->front();
    EXPECT_EQ(e.Code.View(), c.Code) << c.Program;
    EXPECT_STREQ(e.Text, c.Text) << c.Program;
    EXPECT_EQ(e.Line, c.Line) << c.Program;
    EXPECT_EQ(e.P1, c.P1) << c.Program;
    EXPECT_EQ(e.Value, c.Value) << c.Program;
  }
  EXPECT_EQ(inst->Messages.size(), 1u) << inst->Messages.back();
}

INSTANTIATE_TEST_SUITE_P(
    Commands, SingleElementTest,
    ::testing::Values(ElementCase{"N10 G01 X5", "G01", "Geradenint G01", 10, {5, 0, 0}, 0},
                      ElementCase{"G1 X1", "G01", "Geradenint G01", 0, {1, 0, 0}, 0},
                      ElementCase{"G010 X1", "G01", "Geradenint G01", 0, {1, 0, 0}, 0},
                      ElementCase{"G0 Z5", "G00", "Fahre im Eilgang zu Punkt xyz", 0, {0, 0, 5}, 0},
                      ElementCase{"G2 X2 Y0 I1 J0", "G02", "Kreisint G02", 0, {2, 0, 0}, 0},
                      ElementCase{"G3 X2 Y0 I1 J0", "G03", "Kreisint G03", 0, {2, 0, 0}, 0},
                      ElementCase{"G20\nG01 X1", "G01", "Geradenint G01", 0, {25.4, 0, 0}, 0},
                      ElementCase{"G01 (Move X10)", "G01", "Geradenint G01", 0, {0, 0, 0}, 0},
                      ElementCase{"X1 Y2 Z3 G54", "G54", "Setze W0 auf xyz", 0, {1, 2, 3}, 0},
                      ElementCase{"N7 T3", "T", "Set tool Tx", 7, {}, 3},
                      ElementCase{"T3 N7", "T", "Set tool Tx", 0, {}, 3},
                      ElementCase{"S12000", "S0X", "set spindle speed S12000", 0, {}, 12000},
                      ElementCase{"F150", "F0X", "Set feed 150", 0, {}, 150},
                      ElementCase{"F2147483647", "F0X", "Set feed 2147483647", 0, {}, 2147483647},
                      ElementCase{"F2147483648", "F0X", "Set feed 2147483648", 0, {}, 0},  // beyond 32 bits: 0
                      ElementCase{"S-2147483648", "S0X", "set spindle speed S-2147483648", 0, {}, INT32_MIN},
                      ElementCase{"N5 G81 Z3 F100", "F0X", "Set feed 100", 5, {}, 100}));

// A command alone on a line: an element of its own code and text, at the origin.
std::vector<ElementCase> BareCommands() {
  const std::pair<const char*, const char*> commands[] = {{"M03", "Spindl on"},
                                                          {"M05", "Spindle off"},
                                                          {"M06", "Move to tool change position"},
                                                          {"M08", "Cooling system on"},
                                                          {"M09", "Cooling system off"},
                                                          {"M10", "Vacuum cleaner on"},
                                                          {"M11", "Vacuum cleaner off"},
                                                          {"M30", "Program end"},
                                                          {"G40", "Fräserradiuskorrektur aus"},
                                                          {"G41", "Fräserradiuskorrektur G41 ein"},
                                                          {"G42", "Fräserradiuskorrektur G42 ein"},
                                                          {"G74", "Fahre zum W0"},
                                                          {"G76", "Fahre zum M0"},
                                                          {"G77", "Fahre zur Werkzeugwechselposition"}};
  std::vector<ElementCase> cases;
  for (const auto& [code, text] : commands) cases.push_back({code, code, text, 0, {}, 0});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(BareCommands, SingleElementTest, ::testing::ValuesIn(BareCommands()));

TEST(Interpreter, ArcsCarryTheirCentreOffset) {
  auto inst = RunProgramText("G01 X10\nG02 X20 Y0 I5 J0 Z-1\nG03 X10 Y0 I-5 J0").Instance;
  ASSERT_EQ(inst->ContourList.size(), 3u);
  const TCncElement& cw = inst->ContourList[1];
  EXPECT_EQ(cw.Code.View(), "G02");
  EXPECT_STREQ(cw.Text, "Kreisint G02");
  EXPECT_EQ(cw.P1, (TPoint{20, 0, -1}));
  EXPECT_EQ(cw.P2, (TPoint{5, 0, 0}));
  EXPECT_STREQ(inst->ContourList[2].Text, "Kreisint G03");
}

// Lines that give no element but a message, once per pass.
struct MessageCase {
  const char* Program;
  const char* Message;
};

class LineMessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(LineMessageTest, ReportsTheLineTwice) {
  auto inst = RunProgramText(GetParam().Program).Instance;
  EXPECT_EQ(CountMessages(*inst, GetParam().Message), 2) << GetParam().Program;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, LineMessageTest,
    ::testing::Values(
        MessageCase{"G01", "Error in program line 0: at least one xyz-parameter for G01 has to be specified"},
        MessageCase{"N4 G00", "Error in program line 4: at least one xyz-paramater for G00 has to be specified"},
        MessageCase{"N3 G02 X10 Y0 I5", "Error in program line 3: G02 defined but error(s) in xyij-parameter"},
        MessageCase{"G03 X1 I1 J1", "Error in program line 0: G03 defined but error(s) in xyij-parameter"},
        MessageCase{"N9 T300", "ErrorNr 25, in program line: 9:  Range check error"},
        MessageCase{"N2 A1.5", "ErrorNr 25, in program line: 2:  '1.5' is not a valid integer value"},
        MessageCase{"N2 C", "ErrorNr 25, in program line: 2:  '' is not a valid integer value"},
        MessageCase{"G81 F70000", "ErrorNr 25, in program line: 0:  Range check error"},
        MessageCase{"@\"open G66", "to less or to much unquote in command"}));

TEST(Interpreter, MissingJStillMovesThePoint) {
  auto inst = RunProgramText("G02 X10 Y0 I5\nG01 Y1").Instance;
  ASSERT_EQ(inst->ContourList.size(), 1u);
  EXPECT_EQ(inst->ContourList[0].P1, (TPoint{10, 1, 0}));
}

TEST(Interpreter, LowerCaseCommandsAreIgnoredButCoordinatesCount) {
  auto inst = RunProgramText("g01 x1\nG01 Y2").Instance;
  ASSERT_EQ(inst->ContourList.size(), 1u);
  EXPECT_EQ(inst->ContourList[0].P1, (TPoint{1, 2, 0}));
}

TEST(Interpreter, ToolAboveRangeKeepsTheElementAndTheOldTool) {
  auto inst = RunProgramText("T2\nT300 G01 X1").Instance;
  EXPECT_EQ(inst->Tool, 2);
  ASSERT_EQ(inst->ContourList.size(), 2u);  // the G01 of the failed line is not reached
  EXPECT_EQ(inst->ContourList[1].ToolNo(), 300);
}

TEST(Interpreter, MotionIsNotModal) {
  auto inst = RunProgramText("G01 X1\nX5 Y5\nG01 Z-1").Instance;
  ASSERT_EQ(inst->ContourList.size(), 2u);
  EXPECT_EQ(inst->ContourList[1].P1, (TPoint{5, 5, -1}));
}

TEST(Interpreter, ElementsFollowTheScanOrder) {
  auto inst = RunProgramText("G01 X1 M03 F100 T2").Instance;
  std::vector<std::string> codes;
  for (const auto& e : inst->ContourList) codes.emplace_back(e.Code.View());
  EXPECT_EQ(codes, (std::vector<std::string>{"F0X", "T", "M03", "G01"}));
}

TEST(Interpreter, UnknownWordsAreIgnored) {
  auto inst = RunProgramText("%\n#1=5 K3\nG17 G01 X2").Instance;
  ASSERT_EQ(inst->ContourList.size(), 1u);
  EXPECT_EQ(inst->Messages.size(), 1u);
}

TEST(Interpreter, ParameterWordsFillTheBlock) {
  auto inst = RunProgramText("G20\nL1 B2 R3 Q4 U5 V6 W7 E1 H2 P3 O258 A5 C6 D7 @\"Hi there\"").Instance;
  EXPECT_DOUBLE_EQ(inst->Pocket.Length, 25.4);
  EXPECT_DOUBLE_EQ(inst->Pocket.Width, 50.8);
  EXPECT_DOUBLE_EQ(inst->Pocket.CornerRadius, 76.2);
  EXPECT_DOUBLE_EQ(inst->FontParams.SafetyHeight, 76.2);
  EXPECT_DOUBLE_EQ(inst->Pocket.Angle, 4.0);  // angles are not scaled
  EXPECT_DOUBLE_EQ(inst->Pocket.Depth, 127.0);
  EXPECT_DOUBLE_EQ(inst->FontParams.WidthFactor, 3.0);
  EXPECT_EQ(inst->FontParams.Direction, 2);  // low byte of 258
  EXPECT_EQ(inst->FontParams.FontNumber, 5);
  EXPECT_EQ(inst->FontParams.Text, "Hi there");
}

TEST(Interpreter, G81DefinesTheCycleWithoutMovingZ) {
  auto inst = RunProgramText("T1\nG01 Z2\nG81 Z-3 F150 H2.5 B4\nG01 X1").Instance;
  const TG81Cycle& c = inst->DrillCycle;
  EXPECT_EQ(c.Steps, 2);  // 2.5 rounds to the even neighbour
  EXPECT_DOUBLE_EQ(c.Depth, -3.0);
  EXPECT_DOUBLE_EQ(c.Height, 4.0);
  EXPECT_DOUBLE_EQ(c.Diameter, 20.0);
  EXPECT_EQ(c.Feed, 150);
  EXPECT_EQ(inst->ContourList.back().P1, (TPoint{1, 0, 2}));
  EXPECT_EQ(inst->Feed, 0);  // a G81 line's F is the cycle feed only
}

TEST(Interpreter, BothPassesStartFromTheSameState) {
  // Incremental moves, units switched on the line itself and the block scale.
  auto inst = RunProgramText("G91\nG01 X5\nG01 X5\nG20 G01 Y1\nG01 Y1").Instance;
  ASSERT_EQ(inst->ContourList.size(), inst->RawPathList.size());
  for (size_t i = 0; i < inst->ContourList.size(); ++i)
    EXPECT_EQ(inst->ContourList[i].P1, inst->RawPathList[i].P1) << i;
  EXPECT_EQ(inst->ContourList[1].P1, (TPoint{10, 0, 0}));
  EXPECT_EQ(inst->ContourList[2].P1, (TPoint{10, 1, 0}));  // G20 acts from the next line on
  EXPECT_EQ(inst->ContourList[3].P1, (TPoint{10, 26.4, 0}));
}

// The program with every length word (X Y Z I J B E H L R U V W) times 25.4; angles, factors
// and counts stay. Numbers are written in full, so they read back as the very product.
std::string InMillimetres(const std::string& inchProgram) {
  std::string out, word;
  const auto flush = [&] {
    char* end = nullptr;
    const double v = word.size() > 1 ? std::strtod(word.c_str() + 1, &end) : 0.0;
    if (end && *end == '\0' && std::string("XYZIJBEHLRUVW").find(word[0]) != std::string::npos) {
      char buf[40];
      std::snprintf(buf, sizeof buf, "%c%.17g", word[0], v * 25.4);
      word = buf;
    }
    out += word;
    word.clear();
  };
  for (char c : inchProgram) {
    if (c == ' ' || c == '\n') {
      flush();
      out += c;
    } else {
      word += c;
    }
  }
  flush();
  return out;
}

// G20 scales every length word of the following lines, arc offsets and cycle sizes as much as
// coordinates: an inch program gives the elements of its millimetre twin.
TEST(Interpreter, InchProgramsGiveTheElementsOfTheirMillimetreTwins) {
  const char* programs[] = {
      "T1\nG41\nG00 X0.5 Y0.25 Z0.125\nG01 X2 Y0.25 Z-0.0625\nG02 X3 Y1.25 I0 J1\nG03 X4 Y2.25 I1 J0\nG40\n"
      "G01 X0 Y0",
      "T1\nG00 X2 Y2 Z0.25\nG86 L2 B1 R0.25 U0.125 V0.0625 W0.03125 Q30\nG00 X6 Y2\n"
      "G88 L2 B1.5 R0.25 U0.125 V0.0625 W0\nG00 X10 Y2\nG87 L2 B1.5 R0.5 U0.125 V0.0625 W0.03125 Q15",
      "G00 X1 Y1 Z0.25\nG89 C3 D2 Q90 W0.5 R0.5 L0.25 U0.125 B0.75 V0.0625 E0.03125",
      "G00 X1 Y2 Z0\nG69 H0.5\nG66 @\"TIL\" E0.03125 R0.0625 P1.5",
      // The drilling height is the text of @ or B, read as written.
      "T1\nG00 Z0.25\nG81 Z-0.5 H0.125 F100 @\"3\"\nG00 X1 Y1\nG79",
  };
  for (const char* program : programs) {
    SCOPED_TRACE(program);
    const auto inch = RunProgramText(std::string("G20\n") + program, 1.5);
    const auto mm = RunProgramText(InMillimetres(program), 1.5);
    ASSERT_EQ(inch.Result, mm.Result);
    EXPECT_EQ(inch.Messages().size(), mm.Messages().size());
    for (const bool path : {false, true}) {
      const TElementList& a = path ? inch.Path() : inch.Contour();
      const TElementList& b = path ? mm.Path() : mm.Contour();
      ASSERT_EQ(a.size(), b.size());
      ASSERT_GT(a.size(), 3u);
      for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].Code, b[i].Code) << i;
        EXPECT_EQ(a[i].P1, b[i].P1) << i;
        EXPECT_EQ(a[i].P2, b[i].P2) << i;
      }
    }
  }
}

TEST(Interpreter, OverlongLinesAreReadInPartAndNamed) {
  std::string line = "N8 G01 X1 Y2";
  line += std::string(300, ' ') + "Z9";
  auto inst = RunProgramText(line).Instance;
  ASSERT_EQ(inst->ContourList.size(), 1u);
  EXPECT_EQ(inst->ContourList[0].P1, (TPoint{1, 2, 0}));
  EXPECT_EQ(CountMessages(*inst, "Warning in program line 8: line longer than 255 characters, the rest is ignored"), 1);
}

TEST(Interpreter, SecondRunReplacesTheLists) {
  auto inst = RunProgramText("G01 X1\nG01 X2").Instance;
  RunInstance(*inst, TPoint{});
  EXPECT_EQ(inst->ContourList.size(), 2u);
  EXPECT_EQ(inst->RawPathList.size(), 2u);
}

TEST(Interpreter, BinaryGarbageDoesNotStopTheRun) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919) & 0xFF);
  auto inst = RunProgramText(junk + "\nG01 X3").Instance;
  EXPECT_EQ(inst->ContourList.back().P1.X, 3.0);
}

TEST(Conversions, CodeNumbers) {
  EXPECT_EQ(CodeNumber("G01"), 0x4701);
  EXPECT_EQ(CodeNumber("M30"), 0x4D1E);
  EXPECT_EQ(CodeNumber("F0X"), 0x4600);
  EXPECT_EQ(CodeNumber("S0X"), 0x5300);
  EXPECT_EQ(CodeNumber("T"), 0x5400);
  // At least two digits, cut to three characters in all, as the interface's codes are.
  const struct {
    char Letter;
    int Number;
    const char* Code;
  } fromNumbers[] = {{'G', 1, "G01"},   {'M', 0, "M00"},  {'T', 9, "T09"},  {'G', 10, "G10"},
                     {'M', 255, "M25"}, {'S', -3, "S-3"}, {'F', -12, "F-1"}};
  for (const auto& c : fromNumbers) EXPECT_EQ(CodeFromNumber(c.Letter, c.Number).View(), c.Code) << c.Number;
  EXPECT_EQ(TCode("G0123").View(), "G01");
}

TEST(Conversions, TextToNumber) {
  EXPECT_EQ(TextToFloat("1.5e2"), 150.0);
  EXPECT_EQ(TextToFloat("+2"), 2.0);
  EXPECT_EQ(TextToFloat("-.5"), -0.5);
  EXPECT_EQ(TextToFloat("10)"), 0.0);
  EXPECT_EQ(TextToFloat("nan"), 0.0);
  EXPECT_EQ(TextToFloat("1e999"), 0.0);
  EXPECT_EQ(TextToFloat(""), 0.0);
  EXPECT_EQ(TextToInt("12"), 12);
  EXPECT_EQ(TextToInt("1.0"), 0);
  EXPECT_EQ(TextToInt("99999999999"), 0);
  EXPECT_EQ(RoundNearest(2.5), 2);
  EXPECT_EQ(RoundNearest(3.5), 4);
  EXPECT_EQ(TwoDigits(5), "05");
  EXPECT_EQ(DropFirst("abc", 3), "abc");
  EXPECT_EQ(DropFirst("abc", 1), "bc");
}

TEST(Elements, TextsAreCutToFiftyBytes) {
  TTextPool pool;
  const std::string longText(80, 'x');
  EXPECT_EQ(std::string(pool.Intern(longText)).size(), 50u);
  // A two-byte character across the limit is dropped whole.
  const std::string umlauts = std::string(49, 'a') + "ä";
  EXPECT_EQ(std::string(pool.Intern(umlauts)).size(), 49u);
  EXPECT_EQ(pool.Intern("Set feed 1"), pool.Intern("Set feed 1"));
}

}  // namespace

namespace {
TEST(Conversions, FastNumberReadingAgreesWithTheFullOne) {
  for (const char* text : {"0",
                           "-0",
                           "12",
                           "-12",
                           "+7",
                           "13.64",
                           "-2.25",
                           "0.125",
                           ".5",
                           "-.5",
                           "5.",
                           "123456789012345",
                           "1234567890123456789",
                           "0.1",
                           "0.30000000000000004",
                           "1e3",
                           "1.5E-2",
                           "-",
                           "+",
                           ".",
                           "-.",
                           "",
                           "1.2.3",
                           "12a",
                           "9999999999999999999999",
                           "0.000000000000000000000000001",
                           "00000000000000000000012.5"}) {
    const TNumberText n = ReadNumberText(text);
    const auto f = ParseFloat(text);
    const auto i = ParseInt(text);
    EXPECT_EQ(n.IsNumber, f.has_value()) << text;
    if (f) {
      EXPECT_EQ(n.Value, *f) << text;
    }
    EXPECT_EQ(n.IsInteger, i.has_value()) << text;
    if (i) {
      EXPECT_EQ(n.Integer, *i) << text;
    }
  }
}
}  // namespace
