// Checking and reading CHR font files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chr_writer.h"
#include "engraving/chr_font.h"
#include "engraving/font_slots.h"
#include "engraving/vector_font.h"

namespace {

const std::vector<std::string> kInvalid = {"Fehler in Fontunit ungültiger Font", "ungültiger Font"};
const std::vector<std::string> kUnreadable = {"Fehler in Fontunit falsche oder fehlerhafte Fontdatei",
                                              "falsche oder fehlerhafte Fontdatei"};

// Loads `bytes` as the file of font 9 through a vector font; the messages of that load.
struct TLoad {
  int32_t Status = -1;
  bool Loaded = false;
  TMessageList Messages;
};

class FontFile : public ::testing::Test {
 protected:
  void SetUp() override { ResetFontSlots(); }
  void TearDown() override { ResetFontSlots(); }

  TLoad Load(const std::vector<uint8_t>& bytes) {
    WriteBytes(Folder.File("SIMP.CHR"), bytes);
    return LoadSlot9();
  }
  TLoad LoadSlot9() {
    TLoad r;
    TVectorFont font;
    font.Init(FontFolder(Folder), r.Messages);
    r.Messages.clear();
    r.Status = font.SetFont(9, 0, 10.0);
    r.Loaded = font.CurrentFont() != nullptr;
    return r;
  }
  TTempFolder Folder;
};

TEST(StrokeDecoding, OpcodeFromHighBitsAndSevenBitCoordinates) {
  struct Case {
    uint8_t B1, B2;
    TStrokeOp Op;
    int X, Y;
  };
  const Case cases[] = {
      {0x00, 0x00, kStrokeEnd, 0, 0},      {0x05, 0x87, kStrokeNop, 5, 7},     {0x85, 0x07, kStrokeMove, 5, 7},
      {0x85, 0x87, kStrokeDraw, 5, 7},     {0xBF, 0xC0, kStrokeDraw, 63, -64}, {0xFF, 0x7F, kStrokeMove, -1, -1},
      {0xC0, 0x41, kStrokeMove, -64, -63},
  };
  for (const Case& c : cases) {
    const TStrokeCommand cmd = DecodeStroke(c.B1, c.B2);
    EXPECT_EQ(cmd.Op, c.Op) << int(c.B1) << "," << int(c.B2);
    EXPECT_EQ(cmd.X, c.X) << int(c.B1);
    EXPECT_EQ(cmd.Y, c.Y) << int(c.B2);
  }
}

TEST(ChrReading, ReadsHeaderTablesAndStrokes) {
  TChrWriter w = StandardTestFont();
  w.Glyphs['A'] = {12, {Move(0, 0), {1, 9, 9}, Draw(-3, -5), Draw(63, -64)}};
  const std::vector<uint8_t> bytes = w.Build();
  TLoadedFont f;
  ASSERT_EQ(ReadChrFont(bytes, f), kFontOk);
  EXPECT_EQ(f.H, w.HeaderStart());
  EXPECT_EQ(f.N, 59);
  EXPECT_EQ(f.F, 32);
  EXPECT_EQ(f.D, 16 + 3 * 59);
  EXPECT_EQ(f.CapHeight, 20);
  EXPECT_EQ(f.Descender, -7);
  EXPECT_EQ(f.DataSize(), bytes.size());
  EXPECT_FALSE(f.Resident);
  EXPECT_EQ(f.Width('A'), 12);
  EXPECT_EQ(f.Width('L'), 9);
  EXPECT_EQ(f.Width('B'), 0);
  const auto a = f.Strokes('A');
  ASSERT_EQ(a.size(), 4u);
  EXPECT_EQ(a[1].Op, kStrokeNop);
  EXPECT_EQ(a[2].X, -3);
  EXPECT_EQ(a[2].Y, -5);
  EXPECT_EQ(a[3].X, 63);
  EXPECT_EQ(a[3].Y, -64);
  EXPECT_TRUE(f.Strokes(' ').empty());
  // Outside F..F+N-1 there is nothing: no strokes, no width.
  EXPECT_FALSE(f.HasChar('['));
  EXPECT_TRUE(f.Strokes('[').empty());
  EXPECT_EQ(f.Width(31), 0);
}

TEST(ChrReading, CountIsReadModulo256) {
  TChrWriter w = StandardTestFont();
  w.First = 60;
  w.Last = 60 + 299;
  w.CountField = 300;
  TLoadedFont f;
  ASSERT_EQ(ReadChrFont(w.Build(), f), kFontOk);
  EXPECT_EQ(f.N, 300 % 256);
  EXPECT_TRUE(f.HasChar(60 + 43));
  EXPECT_FALSE(f.HasChar(60 + 44));
  EXPECT_EQ(f.WidthTable, f.H + 16u + 2 * 44);
}

TEST(ChrReading, EndOfTextAtPosition127IsTheLastAccepted) {
  TChrWriter w = StandardTestFont();
  w.Description = std::string(127, 'x');
  w.HeaderPos = 160;
  TLoadedFont f;
  EXPECT_EQ(ReadChrFont(w.Build(), f), kFontOk);
  w.Description = std::string(128, 'x');
  EXPECT_EQ(ReadChrFont(w.Build(), f), kFontInvalid);
}

TEST_F(FontFile, LoadsAWellFormedFile) {
  const TLoad r = Load(StandardTestFont().Build());
  EXPECT_EQ(r.Status, kFontOk);
  EXPECT_TRUE(r.Loaded);
  EXPECT_TRUE(r.Messages.empty());
}

// A well-formed font with one fault put in.
struct TDamage {
  const char* Name;
  std::vector<uint8_t> (*Make)();
};

std::vector<uint8_t> Patch16(std::vector<uint8_t> b, size_t pos, size_t v) {
  b[pos] = static_cast<uint8_t>(v & 0xFF);
  b[pos + 1] = static_cast<uint8_t>(v >> 8);
  return b;
}

size_t EndOfText(const std::vector<uint8_t>& b) {
  for (size_t i = 0; i < b.size(); ++i)
    if (b[i] == 0x1A) return i;
  return b.size();
}

const TDamage kDamages[] = {
    {"no end-of-text byte",
     [] {
       auto b = StandardTestFont().Build();
       b[EndOfText(b)] = ' ';
       return b;
     }},
    {"end-of-text byte at 128",
     [] {
       TChrWriter w = StandardTestFont();
       w.Description = std::string(128, 'x');
       w.HeaderPos = 160;
       return w.Build();
     }},
    {"data size one too large",
     [] {
       auto b = StandardTestFont().Build();
       const size_t k = EndOfText(b);
       return Patch16(b, k + 7, b.size() - (b[k + 1] | (b[k + 2] << 8)) + 1);
     }},
    {"file one byte longer than header and data",
     [] {
       auto b = StandardTestFont().Build();
       b.push_back(0);
       return b;
     }},
    {"file ends inside the size fields",
     [] {
       auto b = StandardTestFont().Build();
       b.resize(EndOfText(b) + 5);
       return b;
     }},
    {"header beyond the file",
     [] {
       // 0x1A, H = 12, S = 0: header position plus size matches a 12-byte file.
       std::vector<uint8_t> b = {0x1A, 12, 0, 'T', 'E', 'S', 'T', 0, 0, 0, 0, 0};
       return b;
     }},
    {"truncated tables",
     [] {
       TChrWriter w = StandardTestFont();
       auto b = w.Build();
       // Claim 255 characters: the tables (3 x 255 bytes) would run past the end.
       b.resize(w.HeaderStart() + 16 + 60);
       const size_t k = EndOfText(b);
       b = Patch16(b, k + 7, b.size() - w.HeaderStart());
       b[w.HeaderStart() + 1] = 255;
       return b;
     }},
    {"character offset beyond the file",
     [] {
       TChrWriter w = StandardTestFont();
       return Patch16(w.Build(), w.OffsetTablePos() + 2 * ('L' - w.First), 0xFFF0);
     }},
    {"stroke data position beyond the file",
     [] {
       TChrWriter w = StandardTestFont();
       return Patch16(w.Build(), w.HeaderStart() + 5, 0xFF00);
     }},
    {"strokes without end command",
     [] {
       TChrWriter w = StandardTestFont();
       auto b = w.Build();
       // The last character's end command becomes a draw that runs off the end.
       b[b.size() - 2] = 0x81;
       b[b.size() - 1] = 0x81;
       return b;
     }},
    {"file of 65,536 bytes",
     [] {
       TChrWriter w = StandardTestFont();
       auto b = w.Build();
       b.resize(65536, 0);
       return Patch16(b, EndOfText(b) + 7, 65536 - w.HeaderStart());
     }},
    {"strokes at 65,000 and beyond",
     [] {
       TChrWriter w = StandardTestFont();
       auto b = w.Build();
       b.resize(65100, 0);
       // 'L' moves to a stroke list at 65,002 that is well-formed inside the file.
       const size_t target = 65002;
       b[target] = 0x80;
       b[target + 1] = 0x05;
       b = Patch16(b, EndOfText(b) + 7, b.size() - w.HeaderStart());
       return Patch16(b, w.OffsetTablePos() + 2 * ('L' - w.First), target - (w.HeaderStart() + 16 + 3 * 59));
     }},
    {"T without height above the baseline",
     [] {
       TChrWriter w = StandardTestFont();
       w.Glyphs['T'] = {10, {Move(0, 0), Draw(10, 0), Move(5, 0), Draw(5, -10)}};
       return w.Build();
     }},
    {"no T in the font",
     [] {
       TChrWriter w = StandardTestFont();
       w.Last = 'S';
       return w.Build();
     }},
    {"empty file", [] { return std::vector<uint8_t>{}; }},
};

TEST_F(FontFile, RefusesBrokenFilesAsInvalid) {
  for (const TDamage& d : kDamages) {
    SCOPED_TRACE(d.Name);
    const TLoad r = Load(d.Make());
    EXPECT_EQ(r.Status, kFontInvalid);
    EXPECT_FALSE(r.Loaded);
    EXPECT_EQ(r.Messages, kInvalid);
  }
}

TEST_F(FontFile, MissingOrUnreadableFileIsCode19) {
  TLoad r = LoadSlot9();  // no SIMP.CHR in the folder
  EXPECT_EQ(r.Status, kFontUnreadable);
  EXPECT_FALSE(r.Loaded);
  EXPECT_EQ(r.Messages, kUnreadable);

  std::filesystem::create_directory(Folder.File("SIMP.CHR"));
  r = LoadSlot9();
  EXPECT_EQ(r.Status, kFontUnreadable);
  EXPECT_EQ(r.Messages, kUnreadable);
}

TEST_F(FontFile, EngravingAfterAFailedLoadSaysFalscherFont) {
  WriteBytes(Folder.File("SIMP.CHR"), {1, 2, 3});
  TMessageList messages;
  TVectorFont font;
  font.Init(FontFolder(Folder), messages);
  font.SetFont(9, 0, 10.0);
  messages.clear();
  TElementList list;
  const TPoint end = font.EngraveText(7, TPoint{1, 2, 3}, list, 1.0, 0.5, 0.5, "TIL");
  EXPECT_EQ(font.Status(), kFontNotLoaded);
  EXPECT_EQ(messages, TMessageList{"falscher Font"});
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(end, (TPoint{1, 2, 3}));
}

}  // namespace
