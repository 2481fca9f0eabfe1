// The run interprets a line once and copies it into the raw path when the command table says
// its two passes are alike; for every command of the dialect that must give what
// interpreting each line twice gives.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/instance.h"
#include "engine/interpreter.h"

namespace {

// Every line in both passes, with no shortcut.
void InterpretEachLineTwice(TCncInstance& inst) {
  TLineWords words;
  for (size_t i = 0; i < inst.Lines.Count(); ++i) {
    PrepareLine(inst.Lines.Line(i), words);
    InterpretBothPasses(inst, words);
  }
}

void ExpectSameList(const TElementList& got, const TElementList& want, const std::string& what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].Code, want[i].Code) << what << " element " << i;
    EXPECT_STREQ(got[i].Text, want[i].Text) << what << " element " << i;
    EXPECT_EQ(got[i].Line, want[i].Line) << what << " element " << i;
    EXPECT_EQ(got[i].P1, want[i].P1) << what << " element " << i;
    EXPECT_EQ(got[i].P2, want[i].P2) << what << " element " << i;
    EXPECT_EQ(got[i].Value, want[i].Value) << what << " element " << i;
  }
}

std::unique_ptr<TCncInstance> Loaded(const std::string& program) {
  auto inst = std::make_unique<TCncInstance>(1, "", VELQUOR_FONT_DIR);
  inst->ToolRadius[1] = 1.5;
  inst->Lines.Assign(program);
  return inst;
}

TEST(PassRule, CopyingAlikePassesGivesWhatInterpretingTwiceGives) {
  // Plain, and with compensation and incremental input on, which cycles and moves read.
  for (const char* mode : {"", "G41 G91\n"}) {
    for (const TCode& command : DialectCommands()) {
      // The command with every parameter word, in 16 words: a cut line adds a warning.
      const std::string program = std::string("T1\n") + mode + "G01 X10 Y5 Z1\nN7 " + std::string(command.View()) +
                                  " X20 Y15 Z-2 I1 J2 L8 B6 R2 U1 V0.5 W1 H3 F300\nN8 G01 X30\n";
      const std::string what = std::string(command.View()) + (*mode ? " with G41 G91" : "");
      const auto copiedInst = Loaded(program);
      InterpretProgram(*copiedInst);
      const auto twiceInst = Loaded(program);
      InterpretEachLineTwice(*twiceInst);
      const TCncInstance& copied = *copiedInst;
      const TCncInstance& twice = *twiceInst;
      ExpectSameList(copied.ContourList, twice.ContourList, what + " contour");
      ExpectSameList(copied.RawPathList, twice.RawPathList, what + " raw path");
      EXPECT_EQ(copied.Messages, twice.Messages) << what;
      EXPECT_EQ(copied.Pos, twice.Pos) << what;
      EXPECT_EQ(copied.Compensation, twice.Compensation) << what;
      EXPECT_EQ(copied.UnitFactor, twice.UnitFactor) << what;
      EXPECT_EQ(copied.Incremental, twice.Incremental) << what;
    }
  }
}

}  // namespace
