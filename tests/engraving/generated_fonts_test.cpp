// The ten fonts made by mkchrfont at build time, and mkchrfont itself.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "chr_writer.h"
#include "engraving/chr_font.h"
#include "engraving/font_slots.h"
#include "engraving/vector_font.h"

namespace {

class GeneratedFonts : public ::testing::Test {
 protected:
  void SetUp() override { ResetFontSlots(); }
  void TearDown() override { ResetFontSlots(); }
};

int MinY(const TLoadedFont& f, int c) {
  int y = 1000;
  for (const TStrokeCommand& s : f.Strokes(c)) y = std::min(y, s.Y);
  return y;
}
int MaxY(const TLoadedFont& f, int c) {
  int y = -1000;
  for (const TStrokeCommand& s : f.Strokes(c)) y = std::max(y, s.Y);
  return y;
}

TEST_F(GeneratedFonts, EveryBuiltInFontLoadsWithATallT) {
  TMessageList messages;
  TVectorFont font;
  font.Init(VELQUOR_FONT_DIR, messages);
  EXPECT_TRUE(messages.empty()) << messages.front();
  for (int n = 1; n <= 10; ++n) {
    SCOPED_TRACE(FontSlot(n).InternalName);
    ASSERT_EQ(font.SetFont(n, 0, 10.0), kFontOk);
    const TLoadedFont* f = font.CurrentFont();
    ASSERT_NE(f, nullptr);
    EXPECT_GT(MaxY(*f, 'T'), 0);
    EXPECT_GT(font.FontHeight(), 500);
    EXPECT_EQ(MinY(*f, 'T'), 0);  // "T" stands on the baseline
    EXPECT_LT(MinY(*f, 'p'), 0);  // y grows upward: descenders go below
    EXPECT_GT(MaxY(*f, 'd'), MaxY(*f, 'a'));
    for (int c = 32; c <= 126; ++c) EXPECT_TRUE(f->HasChar(c)) << c;
    for (int c = 33; c <= 126; ++c) EXPECT_FALSE(f->Strokes(c).empty()) << c;
    EXPECT_TRUE(f->Strokes(' ').empty());
    EXPECT_GT(f->Width(' '), 0);
    EXPECT_GT(f->Width('W'), f->Width('i'));
  }
  EXPECT_TRUE(messages.empty());
}

int RunMkchrfont(const std::string& args) {
  const int rc = std::system((std::string(VELQUOR_MKCHRFONT) + " " + args + " 2>/dev/null").c_str());
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

// A Hershey file of 53 glyphs (codes 32..84): empty ones, then "T".
std::string TinyHershey(const std::string& t) {
  std::string s;
  for (int i = 0; i < 52; ++i) s += "12345  1JZ\n";
  return s + t + "\n";
}

TEST_F(GeneratedFonts, MkchrfontMovesTheOriginToTheLeftBoundOnTheBaseline) {
  TTempFolder dir;
  // Bounds -5..5; "T": bar at y -12 from x -5 to 5, stem from (0,-12) to (0,9) (Hershey y
  // down, baseline at 9). The stem data continues on a second line.
  std::ofstream(dir.File("tiny.jhf")) << TinyHershey("12345  6MWMFWF R\nRFR[");
  const std::string chr = dir.File("TINY.CHR");
  ASSERT_EQ(RunMkchrfont(dir.File("tiny.jhf") + " " + chr + " TINY"), 0);
  std::ifstream in(chr, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TLoadedFont f;
  ASSERT_EQ(ReadChrFont(bytes, f), kFontOk);
  EXPECT_EQ(f.F, 32);
  EXPECT_EQ(f.N, 53);
  EXPECT_EQ(f.Width(' '), 16);
  EXPECT_EQ(f.Width('T'), 10);
  const auto t = f.Strokes('T');
  ASSERT_EQ(t.size(), 4u);
  const TStrokeOp ops[] = {kStrokeMove, kStrokeDraw, kStrokeMove, kStrokeDraw};
  const int xs[] = {0, 10, 5, 5}, ys[] = {21, 21, 21, 0};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(t[i].Op, ops[i]) << i;
    EXPECT_EQ(t[i].X, xs[i]) << i;
    EXPECT_EQ(t[i].Y, ys[i]) << i;
  }
}

TEST_F(GeneratedFonts, MkchrfontRefusesBrokenInput) {
  TTempFolder dir;
  const std::string out = dir.File("X.CHR");
  const std::vector<std::string> inputs = {
      "",                      // no glyphs
      "12345  xJZ\n",          // count not a number
      "12345  6MWMFWF RRF\n",  // data ends early
      "12345  2~~!R\n",        // point outside the 7-bit grid
      "12345  1ZJ\n",          // right bound left of the left one
  };
  for (const std::string& text : inputs) {
    SCOPED_TRACE(text);
    std::filesystem::remove(out);
    std::ofstream(dir.File("bad.jhf")) << text;
    EXPECT_EQ(RunMkchrfont(dir.File("bad.jhf") + " " + out + " BAD"), 1);
    EXPECT_FALSE(std::filesystem::exists(out));
  }
  EXPECT_EQ(RunMkchrfont(dir.File("missing.jhf") + " " + out + " BAD"), 1);
  EXPECT_EQ(RunMkchrfont("a b"), 2);
}

}  // namespace
