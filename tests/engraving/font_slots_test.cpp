// The font slot table, font selection and registration.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chr_writer.h"
#include "engraving/chr_font.h"
#include "engraving/font_slots.h"
#include "engraving/vector_font.h"

namespace {

class FontSlots : public ::testing::Test {
 protected:
  void SetUp() override { ResetFontSlots(); }
  void TearDown() override { ResetFontSlots(); }
  std::string WriteFont(const std::string& name, const TChrWriter& w = StandardTestFont()) {
    WriteBytes(Folder.File(name), w.Build());
    return Folder.File(name);
  }
  // Fonts F0.CHR, F1.CHR, ...: their file names.
  std::vector<std::string> WriteFonts(int count) {
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) files.push_back(WriteFont("F" + std::to_string(i) + ".CHR"));
    return files;
  }
  TTempFolder Folder;
};

TEST_F(FontSlots, TenBuiltInFontsThenTenEmptySlots) {
  const char* names[] = {"TRIP", "LITT", "SANS", "GOTH", "EURO", "BOLD", "LCOM", "SCRI", "SIMP", "TSCR"};
  for (int n = 1; n <= 10; ++n) {
    EXPECT_EQ(FontSlot(n).InternalName, names[n - 1]);
    EXPECT_EQ(FontSlot(n).FileName, std::string("\\") + names[n - 1] + ".CHR");
    EXPECT_EQ(FontSlot(n).Loaded, nullptr);
  }
  for (int n = 11; n <= 20; ++n) {
    EXPECT_TRUE(FontSlot(n).InternalName.empty());
    EXPECT_TRUE(FontSlot(n).FileName.empty());
  }
}

TEST_F(FontSlots, InitLoadsFontFourFromTheFolder) {
  WriteFont("GOTH.CHR");
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(font.Status(), kFontOk);
  EXPECT_EQ(font.FontNumber(), 4);
  ASSERT_NE(font.CurrentFont(), nullptr);
  EXPECT_EQ(FontSlot(4).Loaded, font.CurrentFont());
  EXPECT_EQ(font.Direction(), 0);
  EXPECT_EQ(font.HorizontalJustification(), 0);
  EXPECT_EQ(font.VerticalJustification(), 1);
  // 10 mm: "T" (20 units at scale 1) becomes taller than 500 units.
  EXPECT_GT(font.FontHeight(), 500);
}

TEST_F(FontSlots, InitWithoutFontsReportsAndEndsWithStatusZero) {
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  EXPECT_EQ(messages, (TMessageList{"Fehler in Fontunit falsche oder fehlerhafte Fontdatei",
                                    "falsche oder fehlerhafte Fontdatei"}));
  EXPECT_EQ(font.Status(), kFontOk);
  EXPECT_EQ(font.CurrentFont(), nullptr);
}

TEST_F(FontSlots, EmptyFolderMeansVectorfontsInTheWorkingFolder) {
  TMessageList messages;
  TVectorFont font;
  font.Init("", messages);
  EXPECT_EQ(font.FontPath(), std::filesystem::current_path().string() + "/Vectorfonts/");
}

TEST_F(FontSlots, FontNumberOutsideOneToTwentyKeepsTheFont) {
  WriteFont("GOTH.CHR");
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  const TLoadedFont* before = font.CurrentFont();
  const double scale = font.ScaleY();
  for (int n : {0, 21, -1}) {
    EXPECT_EQ(font.SetFont(n, 1, 3.0), kFontBadNumber);
    EXPECT_EQ(font.Status(), kFontBadNumber);
    EXPECT_EQ(font.CurrentFont(), before);
    EXPECT_EQ(font.FontNumber(), 4);
    EXPECT_EQ(font.Direction(), 0);
    EXPECT_EQ(font.ScaleY(), scale);
  }
  EXPECT_TRUE(messages.empty());
}

TEST_F(FontSlots, SelectingTheSameFontReadsItsFileAgain) {
  WriteFont("GOTH.CHR");
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  TChrWriter wider = StandardTestFont();
  wider.Glyphs['I'].Width = 33;
  WriteFont("GOTH.CHR", wider);
  EXPECT_EQ(font.SetFont(4, 0, 10.0), kFontOk);
  EXPECT_EQ(font.CurrentFont()->Width('I'), 33);
  // Selecting another font frees the previous one and its slot's reference.
  WriteFont("TRIP.CHR");
  EXPECT_EQ(font.SetFont(1, 0, 10.0), kFontOk);
  EXPECT_EQ(FontSlot(4).Loaded, nullptr);
  EXPECT_EQ(FontSlot(1).Loaded, font.CurrentFont());
}

TEST_F(FontSlots, TenRegistrationsFillTwelveToTwentyThenReplaceTwenty) {
  const std::vector<std::string> files = WriteFonts(12);
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  messages.clear();
  for (int i = 0; i < 9; ++i) EXPECT_EQ(font.RegisterFontFile(files[i]), 12 + i);
  for (int i = 9; i < 12; ++i) {
    EXPECT_EQ(font.RegisterFontFile(files[i]), 20);
    EXPECT_EQ(FontSlot(20).FileName, files[i]);
  }
  EXPECT_TRUE(FontSlot(11).FileName.empty());
  EXPECT_EQ(FontSlot(12).FileName, files[0]);
  EXPECT_TRUE(FontSlot(12).InternalName.empty());
  EXPECT_TRUE(messages.empty());
}

TEST_F(FontSlots, RegisteringAFileThatCannotBeOpened) {
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  messages.clear();
  EXPECT_EQ(font.RegisterFontFile(Folder.File("missing.chr")), -1);
  EXPECT_EQ(font.RegisterFontFile(""), -1);
  EXPECT_EQ(font.RegisterFontFile(Folder.Path()), -1);  // a folder is no font file
  EXPECT_EQ(font.Status(), kFontInvalid);
  EXPECT_EQ(messages, (TMessageList{"ungültiger Font", "ungültiger Font", "ungültiger Font"}));
  for (int n = 12; n <= 20; ++n) EXPECT_TRUE(FontSlot(n).FileName.empty());
}

TEST_F(FontSlots, RegisteredFontLoadsByItsNameAloneAndWithBackslashes) {
  const std::string file = WriteFont("My Font.chr");
  std::string dosName = file;
  std::replace(dosName.begin(), dosName.end(), '/', '\\');
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder) + "elsewhere/", messages);
  messages.clear();
  const int32_t slot = font.RegisterFontFile(dosName);
  ASSERT_EQ(slot, 12);
  EXPECT_EQ(FontSlot(12).FileName, dosName);
  // Folder + name does not exist; the name alone does.
  EXPECT_EQ(font.SetFont(slot, 0, 5.0), kFontOk);
  ASSERT_NE(font.CurrentFont(), nullptr);
  EXPECT_TRUE(messages.empty());
}

TEST_F(FontSlots, RegisteredNameRelativeToTheFontFolder) {
  std::filesystem::create_directory(Folder.File("sub"));
  WriteFont("sub/X.CHR");
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  // The file must open under its own name to be registered; it then loads from the
  // font folder first.
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(Folder.Path());
  const int32_t slot = font.RegisterFontFile("sub\\X.CHR");
  std::filesystem::current_path(cwd);
  ASSERT_EQ(slot, 12);
  messages.clear();
  EXPECT_EQ(font.SetFont(slot, 0, 5.0), kFontOk);
  EXPECT_TRUE(messages.empty());
}

TEST_F(FontSlots, LongRegisteredNamesAreCutTo64Characters) {
  const std::string name(70, 'n');
  WriteFont(name);
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(Folder.Path());
  EXPECT_EQ(font.RegisterFontFile(name), 12);
  std::filesystem::current_path(cwd);
  EXPECT_EQ(FontSlot(12).FileName, name.substr(0, 64));
}

TEST_F(FontSlots, EmptySlotCannotBeLoaded) {
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  messages.clear();
  EXPECT_EQ(font.SetFont(11, 0, 10.0), kFontUnreadable);
  EXPECT_EQ(font.CurrentFont(), nullptr);
  EXPECT_EQ(messages.size(), 2u);
}

TEST_F(FontSlots, ReleaseAllDropsTheFontsOfEveryVectorFont) {
  WriteFont("GOTH.CHR");
  WriteFont("TRIP.CHR");
  TMessageList messages;
  TVectorFont a, b;
  a.Init(FontFolder(Folder), messages);
  b.Init(FontFolder(Folder), messages);
  ASSERT_EQ(a.SetFont(1, 0, 10.0), kFontOk);
  EXPECT_EQ(FontSlot(1).Loaded, a.CurrentFont());
  EXPECT_EQ(FontSlot(4).Loaded, b.CurrentFont());
  ReleaseAllFonts();
  EXPECT_EQ(a.CurrentFont(), nullptr);
  EXPECT_EQ(b.CurrentFont(), nullptr);
  for (int n = 1; n <= kFontSlotCount; ++n) EXPECT_EQ(FontSlot(n).Loaded, nullptr);
}

TEST_F(FontSlots, TwoInstancesOfOneFontAreIndependent) {
  WriteFont("GOTH.CHR");
  TMessageList messages;
  TVectorFont keep;
  keep.Init(FontFolder(Folder), messages);
  {
    TVectorFont other;
    other.Init(FontFolder(Folder), messages);
    EXPECT_EQ(FontSlot(4).Loaded, other.CurrentFont());
  }
  // The other object is gone; the surviving font is untouched and still engraves.
  ASSERT_NE(keep.CurrentFont(), nullptr);
  TElementList list;
  keep.EngraveText(1, TPoint{}, list, 1.0, 0.5, 0.5, "T");
  EXPECT_EQ(list.size(), 8u);  // lift, move, plunge, draw for each of the two strokes
  ReleaseAllFonts();
  EXPECT_NE(keep.CurrentFont(), nullptr);  // the slot no longer referred to it
}

TEST_F(FontSlots, RegistrationIntoTheSlotOfALoadedFont) {
  const std::vector<std::string> files = WriteFonts(10);
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  for (int i = 0; i < 9; ++i) font.RegisterFontFile(files[i]);
  ASSERT_EQ(font.SetFont(20, 0, 10.0), kFontOk);
  EXPECT_EQ(font.RegisterFontFile(files[9]), 20);
  EXPECT_EQ(FontSlot(20).Loaded, nullptr);
  EXPECT_NE(font.CurrentFont(), nullptr);
}

}  // namespace
