// Text engraving by the vector font: size, justification, direction, strokes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/convert.h"
#include "chr_writer.h"
#include "engraving/font_slots.h"
#include "engraving/text_engraving.h"
#include "engraving/vector_font.h"

namespace {

double Mm(int64_t units) { return static_cast<double>(units) * 25.4 / 1270.0; }
int64_t Trunc(double v) { return static_cast<int64_t>(std::trunc(v)); }

// Code and target point of every element.
std::vector<std::pair<std::string, TPoint>> Moves(const TElementList& list) {
  std::vector<std::pair<std::string, TPoint>> out;
  for (const TCncElement& e : list) out.emplace_back(std::string(e.Code.View()), e.P1);
  return out;
}

class Engraving : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFontSlots();
    Use(StandardTestFont());
  }
  void TearDown() override { ResetFontSlots(); }

  // Makes `w` the font 4 of a fresh vector font, 10 mm high.
  void Use(const TChrWriter& w) {
    WriteBytes(Folder.File("GOTH.CHR"), w.Build());
    Font = std::make_unique<TVectorFont>();
    Messages.clear();
    Font->Init(FontFolder(Folder), Messages);
    ASSERT_NE(Font->CurrentFont(), nullptr);
  }
  TElementList Engrave(const TPoint& start, std::string_view text, double widthFactor = 1.0, TPoint* end = nullptr) {
    TElementList list;
    const TPoint e = Font->EngraveText(3, start, list, widthFactor, 0.5, 0.5, text);
    if (end) *end = e;
    return list;
  }
  double S() const { return Font->ScaleX(); }
  // "--" in font 4, 10 mm high, in `direction`, from the origin without justification.
  TElementList EngraveDashes(int direction) {
    EXPECT_EQ(Font->SetFont(4, direction, 10.0), kFontOk);
    Font->SetJustification(0, 0);
    return Engrave(TPoint{}, "--");
  }

  TTempFolder Folder;
  TMessageList Messages;
  std::unique_ptr<TVectorFont> Font;
};

TEST_F(Engraving, SetSizeTakesTheSmallestScaleAboveTheRequestedUnits) {
  struct Case {
    int THeight;
    double Mm;
  };
  const Case cases[] = {{20, 10.0}, {21, 10.0}, {40, 10.0}, {7, 2.5}, {63, 0.1}, {1, 3.0}, {13, 33.3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.THeight) + " / " + std::to_string(c.Mm));
    TChrWriter w = StandardTestFont();
    w.Glyphs['T'] = {10, {Move(0, 0), Draw(0, c.THeight), Move(-3, c.THeight / 2)}};
    Use(w);
    ASSERT_EQ(Font->SetSize(c.Mm), TSizeResult::Set);
    const int64_t a = RoundNearest(c.Mm * 50);
    const double s = Font->ScaleY();
    EXPECT_EQ(Font->ScaleX(), s);
    EXPECT_EQ(Font->FontHeight(), Trunc(c.THeight * s));
    EXPECT_GT(Font->FontHeight(), a);
    EXPECT_LE(Trunc(c.THeight * (s - 0.01)), a);
    EXPECT_GE(s, static_cast<double>(a) / c.THeight);
    // s is a / height + k * 0.01 for a whole k.
    const double k = (s - static_cast<double>(a) / c.THeight) / 0.01;
    EXPECT_NEAR(k, std::round(k), 1e-6);
  }
}

TEST_F(Engraving, SetSizeOnAKnownT) {
  TChrWriter w = StandardTestFont();
  w.Glyphs['T'] = {10, {Move(0, 40), Draw(5, 0)}};
  Use(w);
  // 500 units: 12.5 gives exactly 500, 12.51 and 12.52 still 500, 12.53 gives 501.
  ASSERT_EQ(Font->SetSize(10.0), TSizeResult::Set);
  EXPECT_NEAR(Font->ScaleY(), 12.53, 1e-9);
  EXPECT_EQ(Font->FontHeight(), 501);
}

TEST_F(Engraving, HeightsThatRoundToZeroOrAreOutOfRangeChangeNothing) {
  const double scale = Font->ScaleY();
  EXPECT_EQ(Font->SetSize(0.005), TSizeResult::ZeroHeight);
  EXPECT_EQ(Font->SetSize(-0.01), TSizeResult::ZeroHeight);
  EXPECT_EQ(Font->SetSize(1e9), TSizeResult::OutOfRange);
  EXPECT_EQ(Font->SetSize(-1e300), TSizeResult::OutOfRange);
  EXPECT_EQ(Font->SetSize(std::nan("")), TSizeResult::OutOfRange);
  EXPECT_EQ(Font->ScaleY(), scale);
  EXPECT_FALSE(FontHeightInRange(1e9));
  EXPECT_TRUE(FontHeightInRange(20000.0));
  TVectorFont none;
  EXPECT_EQ(none.SetSize(10.0), TSizeResult::NoFont);
}

TEST_F(Engraving, LiftMovePlungeDrawFromTheStartPoint) {
  TPoint end;
  const TElementList list = Engrave(TPoint{10, 20, 0}, "L", 1.0, &end);
  ASSERT_EQ(list.size(), 5u);
  const int64_t y0 = 1000 - Font->FontHeight() / 2;  // vertically centred
  const int64_t top = y0 + Trunc(20 * S());
  struct Expect {
    const char* Code;
    double X, Y, Z;
  };
  const Expect expect[] = {
      {"G00", 10, 20, 0.5},             // lift at the start
      {"G00", Mm(500), Mm(top), 0.5},   // to the first stroke point
      {"G01", Mm(500), Mm(top), -0.5},  // plunge
      {"G01", Mm(500), Mm(y0), -0.5},   // draw down
      {"G01", Mm(500 + Trunc(8 * S())), Mm(y0), -0.5},
  };
  for (size_t i = 0; i < list.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(list[i].Code, TCode(expect[i].Code));
    EXPECT_EQ(list[i].P1, (TPoint{expect[i].X, expect[i].Y, expect[i].Z}));
    EXPECT_EQ(list[i].Line, 3);
    EXPECT_STREQ(list[i].Text, "Font");
  }
  EXPECT_EQ(end, list.back().P1);
}

TEST_F(Engraving, EndsAtTheEngravingDepthAndLiftsOnlyBetweenStrokes) {
  TElementList list;
  const TPoint end = Font->EngraveText(1, TPoint{0, 0, 3.0}, list, 1.0, 0.7, 2.0, "TI");
  EXPECT_EQ(end.Z, 3.0 - 0.7);
  int lifts = 0;
  for (size_t i = 1; i < list.size(); ++i)
    if (list[i].Code == TCode("G00") && list[i - 1].Code == TCode("G01")) {
      ++lifts;
      EXPECT_EQ(list[i].P1.X, list[i - 1].P1.X);
      EXPECT_EQ(list[i].P1.Z, 5.0);
    }
  EXPECT_EQ(lifts, 2);  // "T" has two strokes and "I" one; the first lift is at the start
  EXPECT_EQ(list.front().P1, (TPoint{0, 0, 5.0}));
}

TEST_F(Engraving, EmptyTextAddsNothing) {
  TPoint end;
  EXPECT_TRUE(Engrave(TPoint{4, 5, 6}, "", 1.0, &end).empty());
  EXPECT_EQ(end, (TPoint{4, 5, 6}));
  EXPECT_TRUE(Messages.empty());
}

TEST_F(Engraving, CharactersOutsideTheFontAreSkipped) {
  // The font holds 32..'Z': '[', 0x01 and the bytes of "ü" have no strokes and no advance.
  const auto plain = Moves(Engrave(TPoint{}, "II"));
  EXPECT_EQ(plain.size(), 8u);
  EXPECT_EQ(Moves(Engrave(TPoint{}, "I\x01[\xC3\xBCI")), plain);
  EXPECT_EQ(Font->TextWidth("I[I", 1.0), Font->TextWidth("II", 1.0));
}

TEST_F(Engraving, AdvanceIsTheRoundedWidthTimesTheWidthFactor) {
  Font->SetJustification(0, 0);
  const int64_t w = RoundNearest(5 * S());
  for (double p : {1.0, 1.5, 0.5, 2.25}) {
    SCOPED_TRACE(p);
    const TElementList list = Engrave(TPoint{}, "II", p);
    ASSERT_EQ(list.size(), 8u);
    // The second "I" starts at its origin plus (2, 0) scaled.
    EXPECT_EQ(list[5].P1.X, Mm(RoundNearest(w * p) + Trunc(2 * S())));
    EXPECT_EQ(Font->TextWidth("II", p), RoundNearest(2 * w * p));
  }
}

// The start becomes whole units of 0.02 mm rounded half to even; stroke points are truncated
// toward zero, so a stroke below the baseline ends as far down as the same stroke goes up.
TEST_F(Engraving, StartRoundsHalvesToEvenAndStrokesTruncateTowardZero) {
  Font->SetJustification(0, 0);
  const int64_t px = Trunc(2 * S());  // first point of "I": move (2, 0)
  const struct {
    double Mm;
    int64_t Units;
  } starts[] = {{0.01, 0}, {0.03, 2}, {0.05, 2}, {-0.01, 0}, {-0.03, -2}, {0.011, 1}};
  for (const auto& c : starts) {
    SCOPED_TRACE(c.Mm);
    const TElementList list = Engrave(TPoint{c.Mm, c.Mm, 0}, "I");
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[1].P1.X, Mm(c.Units + px));
    EXPECT_EQ(list[1].P1.Y, Mm(c.Units));
  }
  TChrWriter w = StandardTestFont();
  w.Glyphs['J'] = {6, {Move(1, 5), Draw(1, -5)}};
  Use(w);
  Font->SetJustification(0, 0);
  const TElementList list = Engrave(TPoint{}, "J");
  ASSERT_EQ(list.size(), 4u);
  ASSERT_NE(Trunc(5 * S()), 5 * S()) << "the case wants a fraction";
  EXPECT_EQ(list[1].P1.Y, Mm(Trunc(5 * S())));
  EXPECT_EQ(list[3].P1.Y, -list[1].P1.Y);
}

TEST_F(Engraving, JustificationShiftsTheOrigin) {
  const int64_t fh = Font->FontHeight();
  const int64_t tw = Font->TextWidth("I", 1.0);
  ASSERT_EQ(tw % 2, 1) << "the case wants an odd width";
  const int64_t px = Trunc(2 * S());  // first point of "I": move (2, 0)
  struct Case {
    int Dir, H, V;
    int64_t X, Y;  // expected first stroke point, units, from the origin (1000, 2000)
  };
  const Case cases[] = {
      {0, 0, 0, 1000 + px, 2000},
      {0, 1, 0, 1000 - (tw - 1) / 2 + px, 2000},
      {0, 2, 0, 1000 - tw + px, 2000},
      {0, 0, 1, 1000 + px, 2000 - fh / 2},
      {0, 0, 2, 1000 + px, 2000 - fh},
      {0, 3, -1, 1000 + px, 2000},
      {1, 0, 0, 1000, 2000 + px},
      {1, 1, 0, 1000, 2000 - (tw - 1) / 2 + px},
      {1, 2, 2, 1000 + fh, 2000 - tw + px},
      {1, 0, 1, 1000 + fh / 2, 2000 + px},
      {2, 1, 2, 1000 + px + fh, 2000 - (tw - 1) / 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Dir) + " " + std::to_string(c.H) + " " + std::to_string(c.V));
    ASSERT_EQ(Font->SetFont(4, c.Dir, 10.0), kFontOk);
    Font->SetJustification(c.H, c.V);
    const TElementList list = Engrave(TPoint{20, 40, 0}, "I");
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list[1].P1.X, Mm(c.X));
    EXPECT_EQ(list[1].P1.Y, Mm(c.Y));
  }
}

TEST_F(Engraving, DirectionOneTurnsCharactersAndRunsUpward) {
  const TElementList list = EngraveDashes(1);
  ASSERT_EQ(list.size(), 8u);
  const int64_t ten = Trunc(10 * S()), six = Trunc(6 * S()), adv = RoundNearest(7 * S());
  // "-" runs from (0, 10) to (6, 10); turned 90° counter-clockwise: (-10, 0) to (-10, 6).
  EXPECT_EQ(list[1].P1.X, Mm(-ten));
  EXPECT_EQ(list[1].P1.Y, 0.0);
  EXPECT_EQ(list[3].P1.X, Mm(-ten));
  EXPECT_EQ(list[3].P1.Y, Mm(six));
  EXPECT_EQ(list[5].P1.X, Mm(-ten));
  EXPECT_EQ(list[5].P1.Y, Mm(adv));
}

TEST_F(Engraving, OtherDirectionsRunUpwardWithoutTurning) {
  const TElementList list = EngraveDashes(2);
  ASSERT_EQ(list.size(), 8u);
  const int64_t ten = Trunc(10 * S()), six = Trunc(6 * S()), adv = RoundNearest(7 * S());
  EXPECT_EQ(list[1].P1, (TPoint{0.0, Mm(ten), 0.5}));
  EXPECT_EQ(list[3].P1, (TPoint{Mm(six), Mm(ten), -0.5}));
  EXPECT_EQ(list[5].P1, (TPoint{0.0, Mm(ten + adv), 0.5}));
}

TEST_F(Engraving, TextBeyondTheCoordinateRangeIsRefusedWhole) {
  TPoint end;
  EXPECT_TRUE(Engrave(TPoint{1e10, 0, 1}, "TI", 1.0, &end).empty());
  EXPECT_EQ(end, (TPoint{1e10, 0, 1}));
  EXPECT_TRUE(Engrave(TPoint{0, 0, 1}, "TI", 1e300, &end).empty());
  EXPECT_EQ(Messages, (TMessageList{"Error in program line 3: engraved text beyond the coordinate range",
                                    "Error in program line 3: engraved text beyond the coordinate range"}));
}

TEST_F(Engraving, WithoutAFontNothingIsEngraved) {
  TVectorFont none;
  TMessageList messages;
  TTempFolder empty;
  none.Init(FontFolder(empty), messages);
  messages.clear();
  TElementList list;
  const TPoint end = none.EngraveText(1, TPoint{1, 1, 1}, list, 1.0, 0.5, 0.5, "TIL");
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(end, (TPoint{1, 1, 1}));
  EXPECT_EQ(none.Status(), 11);
  EXPECT_EQ(messages, TMessageList{"falscher Font"});
  EXPECT_EQ(none.TextWidth("TIL", 1.0), 0);
  EXPECT_EQ(none.FontHeight(), 0);
}

}  // namespace
