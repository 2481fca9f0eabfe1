// G66 to G70 in programs: the interpreter, the instance's vector font and velquor-cnc.
#include <gtest/gtest.h>

#include "tests/command_runner.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "chr_writer.h"
#include "engine/instance.h"
#include "engine/instance_run.h"
#include "engraving/font_slots.h"
#include "engraving/vector_font.h"

namespace {

class EngravingProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFontSlots();
    WriteBytes(Folder.File("GOTH.CHR"), StandardTestFont().Build());
  }
  void TearDown() override {
    Inst.reset();
    ResetFontSlots();
  }

  TCncInstance& Run(const std::string& program, const std::string& fontFolder = "") {
    const auto file = Folder.File("program.cnc");
    std::ofstream(file) << program;
    Inst = std::make_unique<TCncInstance>(1, file, fontFolder.empty() ? FontFolder(Folder) : fontFolder);
    Inst->Load();
    RunInstance(*Inst, TPoint{});
    return *Inst;
  }
  static std::vector<std::string> Codes(const TElementList& list) {
    std::vector<std::string> out;
    for (const TCncElement& e : list) out.emplace_back(e.Code.View());
    return out;
  }
  static size_t CountText(const TElementList& list, const char* text) {
    size_t n = 0;
    for (const TCncElement& e : list) n += std::string(e.Text) == text;
    return n;
  }

  TTempFolder Folder;
  std::unique_ptr<TCncInstance> Inst;
};

TEST_F(EngravingProgram, G66SuspendsCompensationAroundTheText) {
  struct Case {
    const char* Command;
    std::vector<std::string> Before, After;
    const char* AfterText;
  };
  const Case cases[] = {
      {"G42", {"G42", "G40"}, {"G42"}, "Fräserradiuskorrektur 42"},
      {"G41", {"G41", "G40"}, {"G41"}, "Fräserradiuskorrektur 41"},
      {"G40", {"G40"}, {}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Command);
    TCncInstance& inst = Run(std::string("N5 ") + c.Command + "\nN6 G66 @\"I\"\n");
    for (const TElementList* list : {&inst.ContourList, &inst.RawPathList}) {
      std::vector<std::string> expect = c.Before;
      for (const char* code : {"G00", "G00", "G01", "G01"}) expect.push_back(code);
      expect.insert(expect.end(), c.After.begin(), c.After.end());
      EXPECT_EQ(Codes(*list), expect);
      if (c.AfterText) {
        EXPECT_STREQ(list->back().Text, c.AfterText);
      }
      if (c.Before.size() == 2) {
        EXPECT_STREQ((*list)[1].Text, "Fräserradiuskorrektur aus");
      }
      for (size_t i = c.Before.size(); i < c.Before.size() + 4; ++i) {
        EXPECT_STREQ((*list)[i].Text, "Font");
        EXPECT_EQ((*list)[i].Line, 6);
      }
    }
    EXPECT_EQ(static_cast<int>(inst.Compensation), std::stoi(c.Command + 1));
  }
}

TEST_F(EngravingProgram, TheEndOfTheTextBecomesTheCurrentPoint) {
  TCncInstance& inst = Run("G00 X10 Y20 Z1\nG66 @\"L\" E0.25 R2\nG01 X50\n");
  const TElementList& c = inst.ContourList;
  ASSERT_GE(c.size(), 3u);
  const TCncElement& last = c[c.size() - 2];
  EXPECT_STREQ(last.Text, "Font");
  EXPECT_EQ(last.P1.Z, 0.75);
  EXPECT_EQ(c[1].P1, (TPoint{10, 20, 3}));  // lift to start z + R
  EXPECT_EQ(c.back().P1, (TPoint{50, last.P1.Y, 0.75}));
}

TEST_F(EngravingProgram, G67G68G69SetFontJustificationAndHeight) {
  WriteBytes(Folder.File("SIMP.CHR"), StandardTestFont().Build());
  TCncInstance& inst = Run("G67 A9 O1 H5\nG68 C2 D2\nG69 H2.5\n");
  EXPECT_EQ(inst.Font.FontNumber(), 9);
  EXPECT_EQ(inst.Font.Direction(), 1);
  EXPECT_EQ(inst.Font.HorizontalJustification(), 2);
  EXPECT_EQ(inst.Font.VerticalJustification(), 2);
  EXPECT_GT(inst.Font.FontHeight(), 125);
  EXPECT_LE(inst.Font.FontHeight(), 130);
  // Font settings alone leave no tool path to compensate.
  EXPECT_EQ(inst.Messages, (TMessageList{"Init CNC-Dll", "Error -5 no program code in Pre-command buffer available"}));
}

TEST_F(EngravingProgram, InchHeightsAreScaled) {
  TCncInstance& inst = Run("G20\nG69 H0.5\n");
  EXPECT_GT(inst.Font.FontHeight(), 635);
  EXPECT_LE(inst.Font.FontHeight(), 640);
}

TEST_F(EngravingProgram, G70RegistersAFontThatG67Selects) {
  TChrWriter wide = StandardTestFont();
  wide.Glyphs['I'].Width = 40;
  const auto file = Folder.File("wide.chr");
  WriteBytes(file, wide.Build());
  TCncInstance& inst = Run("G70 @\"" + file + "\"\nG67 A12 H10\n");
  EXPECT_EQ(inst.Messages, (TMessageList{"Init CNC-Dll", "Error -5 no program code in Pre-command buffer available"}));
  EXPECT_EQ(inst.Font.FontNumber(), 12);
  ASSERT_NE(inst.Font.CurrentFont(), nullptr);
  EXPECT_EQ(inst.Font.CurrentFont()->Width('I'), 40);
  // Registered in both passes: the second pass took the next free slot.
  EXPECT_EQ(FontSlot(13).FileName, file);
}

TEST_F(EngravingProgram, MessagesOfFontCommandsStandInBothPasses) {
  TCncInstance& inst = Run("N3 G70 @\"no such font.chr\"\nN4 G67 A0\nN5 G67 A4 H1e9\n");
  EXPECT_EQ(inst.Messages, (TMessageList{"Init CNC-Dll", "ungültiger Font", "ungültiger Font",
                                         "Error in program line 5: font height out of range",
                                         "Error in program line 5: font height out of range",
                                         "Error -5 no program code in Pre-command buffer available"}));
  EXPECT_EQ(inst.Font.Status(), 0);
}

TEST_F(EngravingProgram, WithoutFontsTheInstanceReportsAndEngravesNothing) {
  TTempFolder empty;
  TCncInstance& inst = Run("G66 @\"TIL\"\nG67 A2\n", FontFolder(empty));
  const std::string missing = "falsche oder fehlerhafte Fontdatei";
  const std::string first = "Fehler in Fontunit " + missing;
  EXPECT_EQ(inst.Messages,
            (TMessageList{first, missing, "Init CNC-Dll", "falscher Font", "falscher Font", first, missing, first,
                          missing, "Error -5 no program code in Pre-command buffer available"}));
  EXPECT_EQ(CountText(inst.ContourList, "Font"), 0u);
}

std::string Dump(const std::string& program, int& status) {
  const TCommandResult c = RunShellCommand(std::string(VELQUOR_CLI) + " dump '" + program + "'");
  status = c.Status;
  return c.Output;
}

// velquor-cnc finds the generated fonts beside itself.
TEST_F(EngravingProgram, CommandLineDumpShowsTheStrokesOfTheDefaultFont) {
  const auto file = Folder.File("velquor.cnc");
  std::ofstream(file) << "N10 G00 X10 Y10 Z0\nN20 G66 @\"Velquor 2026\"\nN30 M30\n";
  int status = -1;
  const std::string out = Dump(file, status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(out.find("\"messages\":[\"Init CNC-Dll\"]"), std::string::npos) << out.substr(0, 400);
  size_t strokes = 0, draws = 0;
  for (size_t p = out.find("\"text\":\"Font\""); p != std::string::npos; p = out.find("\"text\":\"Font\"", p + 1))
    ++strokes;
  for (size_t p = out.find("\"code\":\"G01\",\"number\":18177,\"text\":\"Font\""); p != std::string::npos;
       p = out.find("\"code\":\"G01\",\"number\":18177,\"text\":\"Font\"", p + 1))
    ++draws;
  // Eleven visible characters, each of several strokes.
  EXPECT_GT(strokes, 200u);
  EXPECT_GT(draws, 100u);
  EXPECT_NE(out.find("\"line\":20,\"file_line\":2,\"code\":\"G01\""), std::string::npos);
}

TEST_F(EngravingProgram, ExampleEngravesInEveryFontWithoutMessages) {
  int status = -1;
  const std::string out = Dump(std::string(VELQUOR_SOURCE_DIR) + "/examples/engraving.cnc", status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(out.find("\"messages\":[\"Init CNC-Dll\"]"), std::string::npos) << out.substr(0, 400);
  // Each engraving line, by its N number and its line in the file.
  const std::pair<int, int> lines[] = {{80, 9},   {110, 12}, {140, 15}, {170, 18}, {200, 21}, {230, 24},
                                       {260, 27}, {290, 30}, {320, 33}, {350, 36}, {390, 40}};
  for (const auto& [number, fileLine] : lines) {
    const std::string stroke = "\"line\":" + std::to_string(number) + ",\"file_line\":" + std::to_string(fileLine) +
                               ",\"code\":\"G01\",\"number\":18177,\"text\":\"Font\"";
    EXPECT_NE(out.find(stroke), std::string::npos) << number;
  }
}

}  // namespace
