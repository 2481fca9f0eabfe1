// CncGetDetailCount and CncGetElementDetail: the whole run as velquor-cnc dump shows it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/cnc_api.h"
#include "tests/engine/cnc_api_fixture.h"

namespace {

class CncDetailTest : public TCncApiTest {
 protected:
  // Opens and runs the program text from the origin.
  void Run(const std::string& text) {
    Handle = Open(Write("p.cnc", text));
    ASSERT_GT(Handle, 0);
    const TCncPoint start{0, 0, 0};
    CncRun(Handle, &start);
  }
  int32_t MessageCount() const { return CncMessageCount(CncGetMessages(Handle)); }

  int32_t Handle = 0;
};

constexpr const char* kProgram = "N10 T3\nN20 F1200\nN30 S8000\nN40 G01 X10 Y0\nN50 G02 X20 Y0 I5 J0\nN60 M30\n";

TEST_F(CncDetailTest, DetailCarriesTheSameRecordAsCncGetElementInBothModes) {
  Run(kProgram);
  for (uint8_t mode : {0, 1}) {
    SCOPED_TRACE(mode);
    const int32_t count = CncGetCount(Handle, mode);
    ASSERT_GT(count, 0);
    ASSERT_EQ(CncGetDetailCount(Handle, mode), count);
    for (int32_t i = 0; i < count; ++i) {
      TCncElementData d{};
      TCncElementDetail e{};
      ASSERT_EQ(CncGetElement(Handle, i, mode, &d), 0);
      ASSERT_EQ(CncGetElementDetail(Handle, i, mode, &e), 0);
      EXPECT_EQ(e.Data.Line, d.Line);
      EXPECT_EQ(e.Data.Code, d.Code);
      EXPECT_EQ(e.Data.P1.X, d.P1.X);
      EXPECT_EQ(e.Data.P1.Y, d.P1.Y);
      EXPECT_EQ(e.Data.P1.Z, d.P1.Z);
      EXPECT_EQ(e.Data.P2.X, d.P2.X);
      EXPECT_EQ(e.Data.P2.Y, d.P2.Y);
      EXPECT_EQ(e.Data.P2.Z, d.P2.Z);
      EXPECT_EQ(e.Data.ToolNo, d.ToolNo);
      EXPECT_EQ(e.Data.Speed, d.Speed);
      EXPECT_EQ(e.Data.FeedValue, d.FeedValue);
    }
  }
}

TEST_F(CncDetailTest, CodesAndTextsAsTheEngineWroteThem) {
  Run(kProgram);
  struct TExpected {
    const char* Code;
    int32_t Number;
    const char* Text;
  };
  const std::vector<TExpected> expected = {
      {"T", 0x5400, "Set tool Tx"},      {"F0X", 0x4600, "Set feed 1200"}, {"S0X", 0x5300, "set spindle speed S8000"},
      {"G01", 0x4701, "Geradenint G01"}, {"G02", 0x4702, "Kreisint G02"},  {"M30", 0x4D1E, "Program end"},
  };
  ASSERT_EQ(CncGetDetailCount(Handle, 0), static_cast<int32_t>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    TCncElementDetail e{};
    ASSERT_EQ(CncGetElementDetail(Handle, static_cast<int32_t>(i), 0, &e), 0);
    EXPECT_STREQ(e.Code, expected[i].Code) << i;
    EXPECT_EQ(e.Data.Code, expected[i].Number) << i;
    ASSERT_NE(e.Text, nullptr);
    EXPECT_STREQ(e.Text, expected[i].Text) << i;
  }
}

TEST_F(CncDetailTest, RawPathIsReadThroughTheDetailOnlyAndWithoutAMessage) {
  Run("G41\nG01 X0 Y0\nG01 X20 Y0\nG01 X20 Y20\nG01 X0 Y20\nG01 X0 Y0\nG40\nM30\n");
  const int32_t before = MessageCount();
  const int32_t raw = CncGetDetailCount(Handle, CNC_MODE_RAW_PATH);
  EXPECT_GT(raw, 0);
  EXPECT_EQ(MessageCount(), before);
  TCncElementDetail e{};
  EXPECT_EQ(CncGetElementDetail(Handle, raw - 1, CNC_MODE_RAW_PATH, &e), 0);
  EXPECT_EQ(CncGetElementDetail(Handle, raw, CNC_MODE_RAW_PATH, &e), -2);
  // The interface's own reading of mode 2 stays a wrong mode, with its message.
  EXPECT_EQ(CncGetCount(Handle, CNC_MODE_RAW_PATH), 0);
  EXPECT_EQ(MessageCount(), before + 1);
  TCncElementData d{};
  EXPECT_EQ(CncGetElement(Handle, 0, CNC_MODE_RAW_PATH, &d), 1);
}

TEST_F(CncDetailTest, StatusCodesForBadHandlesModesAndIndices) {
  Run(kProgram);
  const int32_t count = CncGetDetailCount(Handle, 0);
  const int32_t noInstance = Handle + 1;
  struct TCase {
    int32_t Handle;
    int32_t Index;
    uint8_t Mode;
    int32_t Status;
  };
  const TCase cases[] = {
      {noInstance, 0, 0, -1}, {Handle, 0, 3, 1},         {Handle, -1, 0, -2},
      {Handle, count, 0, -2}, {Handle, count - 1, 0, 0}, {Handle, 0, 0, 0},
  };
  for (const TCase& c : cases) {
    TCncElementDetail e{};
    EXPECT_EQ(CncGetElementDetail(c.Handle, c.Index, c.Mode, &e), c.Status)
        << c.Handle << " " << c.Index << " " << int(c.Mode);
  }
  EXPECT_EQ(CncGetElementDetail(Handle, 0, 0, nullptr), 0);
  EXPECT_EQ(CncGetDetailCount(noInstance, 0), 0);
  EXPECT_EQ(CncGetDetailCount(Handle, 3), 0);
}

TEST_F(CncDetailTest, FileLinesOfMessagesAndElementsAndWhatTheyAnswerOutsideTheLists) {
  Run("G01 X10 Y0\n\nG01\nN7 G01 Y10\n");
  const TCncMessageList* messages = CncGetMessages(Handle);
  ASSERT_EQ(CncMessageCount(messages), 3);
  EXPECT_EQ(CncMessageLine(messages, 0), 0);  // Init CNC-Dll
  EXPECT_EQ(CncMessageLine(messages, 1), 3);
  EXPECT_EQ(CncMessageLine(messages, 3), -1);
  EXPECT_EQ(CncMessageLine(messages, -1), -1);
  EXPECT_EQ(CncMessageLine(nullptr, 0), -1);
  for (uint8_t mode : {uint8_t{CNC_MODE_CONTOUR}, uint8_t{CNC_MODE_PATH}, uint8_t{CNC_MODE_RAW_PATH}}) {
    EXPECT_EQ(CncGetElementFileLine(Handle, 0, mode), 1) << int{mode};
    EXPECT_EQ(CncGetElementFileLine(Handle, 1, mode), 4) << int{mode};
    EXPECT_EQ(CncGetElementFileLine(Handle, 2, mode), -2) << int{mode};
  }
  EXPECT_EQ(CncGetElementFileLine(Handle, 0, 3), -3);
  EXPECT_EQ(CncGetElementFileLine(Handle + 1, 0, 0), -1);
}

}  // namespace
