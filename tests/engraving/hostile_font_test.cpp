// Fonts built to amplify: characters that share one long stroke list, reloaded often, and
// font names that are no regular files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <string>

#include "chr_writer.h"
#include "engine/cnc_api.h"
#include "engine/instance.h"
#include "engine/instance_run.h"
#include "engraving/font_slots.h"
#include "engraving/vector_font.h"

namespace {

constexpr int kSharedStrokes = 30'000;

// Every character of 32..255 points at the stroke list of "T": 30,000 commands.
std::vector<uint8_t> SharedStrokeFont() {
  TChrWriter w;
  w.First = 32;
  w.Last = 255;
  TTestGlyph t{10, {}};
  for (int i = 0; i < kSharedStrokes; ++i) t.Strokes.push_back(i % 2 ? Draw(i % 60, 20) : Move(0, 20));
  w.Glyphs['T'] = t;
  std::vector<uint8_t> bytes = w.Build();
  const size_t table = w.OffsetTablePos();
  const size_t tEntry = table + 2 * static_cast<size_t>('T' - w.First);
  for (int c = w.First; c <= w.Last; ++c) {
    bytes[table + 2 * static_cast<size_t>(c - w.First)] = bytes[tEntry];
    bytes[table + 2 * static_cast<size_t>(c - w.First) + 1] = bytes[tEntry + 1];
  }
  return bytes;
}

class HostileFont : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFontSlots();
    ClearFontCache();
    WriteBytes(Folder.File("GOTH.CHR"), SharedStrokeFont());
  }
  void TearDown() override {
    ResetFontSlots();
    ClearFontCache();
  }
  TTempFolder Folder;
};

TEST_F(HostileFont, SharedStrokeListsLoadOnceForEveryCharacter) {
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  ASSERT_TRUE(messages.empty()) << messages.front();
  const TLoadedFont* f = font.CurrentFont();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->Strokes('A').size(), static_cast<size_t>(kSharedStrokes));
  EXPECT_EQ(f->Strokes(255).size(), static_cast<size_t>(kSharedStrokes));
}

TEST_F(HostileFont, ALongTextWithTheFontStopsAtTheElementLimit) {
  TCncInstance inst(1, "", FontFolder(Folder));
  inst.Budget.Limit = 100'000;
  inst.Lines.Assign("G67 A4 H10\nG66 @\"" + std::string(248, 'T') + "\"\n");
  EXPECT_EQ(RunInstance(inst, TPoint{}), CNC_ELEMENT_LIMIT);
  EXPECT_EQ(inst.Messages.back(),
            "Error: the program makes more than 100000 elements; the run stopped at program line 2");
  EXPECT_LE(inst.ContourList.size() + inst.RawPathList.size(), 100'000u);
}

TEST_F(HostileFont, AnUnchangedFontIsReadOnceAndAChangedOneAgain) {
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  const TLoadedFont* first = font.CurrentFont();
  ASSERT_NE(first, nullptr);
  for (int i = 0; i < 1000; ++i) font.SetFont(4, 0, 10.0);
  EXPECT_EQ(font.CurrentFont(), first);
  // Another size is another file, whatever its time stamp.
  WriteBytes(Folder.File("GOTH.CHR"), StandardTestFont().Build());
  font.SetFont(4, 0, 10.0);
  ASSERT_NE(font.CurrentFont(), nullptr);
  EXPECT_NE(font.CurrentFont(), first);
  EXPECT_EQ(font.CurrentFont()->Strokes('T').size(), 4u);
}

TEST_F(HostileFont, FontNamesThatAreNoRegularFilesAreRefusedAtOnce) {
  const std::string fifo = Folder.File("pipe.chr");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_directories(Folder.File("dir.chr"));
  for (const std::string& name : {fifo, Folder.File("dir.chr"), std::string("/dev/zero")}) {
    SCOPED_TRACE(name);
    ResetFontSlots();
    TMessageList messages;
    TVectorFont font;
    font.Init(FontFolder(Folder), messages);
    EXPECT_EQ(font.RegisterFontFile(name), -1);
    EXPECT_EQ(messages.back(), FontStatusMessage(kFontInvalid));
    // The same names as font files of a slot: unreadable, without waiting.
    FontSlot(4).FileName = name;
    font.ReleaseFont();
    EXPECT_EQ(font.SetFont(4, 0, 10.0), kFontUnreadable);
  }
}

TEST_F(HostileFont, FontHeightIsTheHighestScaledPointOfTAtAnyScale) {
  TChrWriter w = StandardTestFont();
  w.Glyphs['T'] = {10, {Move(0, 20), Draw(10, 23), Move(5, -4), Draw(5, 0)}};
  WriteBytes(Folder.File("GOTH.CHR"), w.Build());
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  ASSERT_NE(font.CurrentFont(), nullptr);
  for (double height : {10.0, 0.5, 3.3, 250.0, -10.0, -0.7}) {
    SCOPED_TRACE(height);
    ASSERT_EQ(font.SetSize(height), TSizeResult::Set);
    int64_t top = 0;  // walking the strokes, as a font without the kept reference would
    for (const TStrokeCommand& c : font.CurrentFont()->Strokes('T'))
      top = std::max<int64_t>(top, static_cast<int64_t>(c.Y * font.ScaleY()));
    EXPECT_EQ(font.FontHeight(), top);
  }
}

}  // namespace
