// From a line of the program text to the view: which moves, which window, and the main
// window with the real program text window.
#include "app/line_in_view.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

#include "app/info_pane.h"
#include "app/main_window.h"
#include "app/playback_bar.h"
#include "app/view_navigation.h"
#include "display/sim_box.h"
#include "tests/app/navigation_fixtures.h"
#include "tests/app/viewer_files.h"
#include "windows/show_cnc_file.h"

namespace {

TPickElement Move(int32_t fileLine, TPickList list, TPoint a, TPoint b) {
  TPickElement e;
  e.Start = a;
  e.End = b;
  e.FileLine = fileLine;
  e.List = list;
  return e;
}

TPickElement Arc(TPickShape shape, TPoint a, TPoint b, TPoint centre) {
  TPickElement e = Move(1, TPickList::Contour, a, b);
  e.Shape = shape;
  e.Centre = centre;
  return e;
}

void ExpectRect(const TWindowRect& r, const TWindowRect& e, const char* name) {
  EXPECT_NEAR(r.XMin, e.XMin, 1e-9) << name;
  EXPECT_NEAR(r.XMax, e.XMax, 1e-9) << name;
  EXPECT_NEAR(r.YMin, e.YMin, 1e-9) << name;
  EXPECT_NEAR(r.YMax, e.YMax, 1e-9) << name;
}

}  // namespace

TEST(ElementsOfLine, TakesTheLinesMovesFromBothLists) {
  TPickIndex index;
  index.Add(Move(10, TPickList::Contour, {0, 0, 0}, {10, 0, 0}));
  index.Add(Move(20, TPickList::Contour, {10, 0, 0}, {10, 10, 0}));
  index.Add(Move(10, TPickList::Path, {0, 1, 0}, {10, 1, 0}));
  index.Add(Move(20, TPickList::Path, {11, 0, 0}, {11, 10, 0}));
  index.Add(Move(20, TPickList::Path, {11, 10, 0}, {12, 10, 0}));
  index.Build();
  const std::vector<TPickElement> line20 = ElementsOfLine(index, 20);
  ASSERT_EQ(line20.size(), 3u);
  EXPECT_EQ(line20[0].List, TPickList::Contour);
  EXPECT_EQ(line20[1].List, TPickList::Path);
  EXPECT_EQ(line20[2].End.X, 12.0) << "in index order";
  EXPECT_TRUE(ElementsOfLine(index, 30).empty());
}

TEST(ElementsBox, ArcsCountByTheirTrueExtremes) {
  const TPoint o{0, 0, 0}, east{10, 0, 0}, north{0, 10, 0}, west{-10, 0, 0};
  const struct {
    const char* Name;
    std::vector<TPickElement> Elements;
    TWindowRect Expected;
  } cases[] = {
      {"line", {Move(1, TPickList::Contour, {0, 0, 0}, {10, -5, 0})}, {0, 10, -5, 0}},
      {"quarter ccw", {Arc(TPickShape::ArcCCW, east, north, o)}, {0, 10, 0, 10}},
      {"half ccw over the top", {Arc(TPickShape::ArcCCW, east, west, o)}, {-10, 10, 0, 10}},
      {"half cw under the bottom", {Arc(TPickShape::ArcCW, east, west, o)}, {-10, 10, -10, 0}},
      {"full circle", {Arc(TPickShape::ArcCW, east, east, o)}, {-10, 10, -10, 10}},
      {"two apart",
       {Move(1, TPickList::Contour, {0, 0, 0}, {1, 1, 0}), Move(1, TPickList::Path, {50, 60, 0}, {70, 80, 0})},
       {0, 70, 0, 80}},
  };
  for (const auto& c : cases) {
    const auto box = ElementsBox(c.Elements);
    ASSERT_TRUE(box) << c.Name;
    ExpectRect(*box, c.Expected, c.Name);
  }
  EXPECT_FALSE(ElementsBox({}));
}

TEST(WindowShowing, KeepsMovesOrFramesAsTheyFit) {
  const TViewWindow view = View600x400();  // 600 x 400 mm; room for 540 x 360 inside the margins
  const double roomX = 600 * (1 - 2 * kPartMargin);
  const struct {
    const char* Name;
    TWindowRect Box;
    TSightMove Move;
    TWindowRect Expected;
  } cases[] = {
      {"inside", {0, 100, 0, 50}, TSightMove::Kept, view.Rect()},
      {"on the edges", {-40, 560, -40, 360}, TSightMove::Kept, view.Rect()},
      {"far off, small", {1000, 1100, 0, 50}, TSightMove::Moved, {750, 1350, -175, 225}},
      {"half out", {500, 600, 0, 50}, TSightMove::Moved, {250, 850, -175, 225}},
      {"just fits",
       {1000, 1000 + roomX - 0.01, 0, 0},
       TSightMove::Moved,
       {1000 + (roomX - 0.01) / 2 - 300, 1000 + (roomX - 0.01) / 2 + 300, -200, 200}},
      {"just too wide",
       {1000, 1000 + roomX + 0.01, 0, 0},
       TSightMove::Framed,
       *PartWindow({1000, 1000 + roomX + 0.01, 0, 0}, 600, 400)},
      {"too high", {0, 10, 400, 400 + 360.01}, TSightMove::Framed, *PartWindow({0, 10, 400, 760.01}, 600, 400)},
  };
  for (const auto& c : cases) {
    const TSightWindow s = WindowShowing(view, c.Box);
    EXPECT_EQ(s.Move, c.Move) << c.Name;
    ExpectRect(s.Window, c.Expected, c.Name);
  }
  TViewWindow blind;  // no pixels: nothing to bring into sight
  EXPECT_EQ(WindowShowing(blind, {1000, 1100, 0, 50}).Move, TSightMove::Kept);
}

TEST(LineInView, SaysWhyNothingIsShown) {
  TPickIndex index;
  index.Add(Move(20, TPickList::Contour, {0, 0, 0}, {10, 0, 0}));
  index.Build();
  const TViewWindow view = View600x400();
  EXPECT_EQ(LineInView(index, view, 19, false).Message,
            "Text line 20: the view shows another program; open this one to see its moves");
  const TLineInView none = LineInView(index, view, 29, true);
  EXPECT_EQ(none.Message, "Line 30: no drawn moves");
  EXPECT_TRUE(none.Elements.empty());
  const TLineInView one = LineInView(index, view, 19, true);
  EXPECT_EQ(one.Message, "Line 20: 1 move highlighted");
  EXPECT_EQ(one.Elements.size(), 1u);
  EXPECT_FALSE(one.Window) << "already in sight";
}

namespace {

// Double-clicks line `line` (from 0) of the program text window.
void DoubleClickLine(TfrmShowCncFile& text, int line) {
  QPlainTextEdit& memo = *text.Memo();
  const QTextCursor c(memo.document()->findBlockByNumber(line));
  QTest::mouseDClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, memo.cursorRect(c).center() + QPoint(4, 0));
}

QString LastPaneLine(TForm1& form) { return form.InfoPane().toPlainText().split(QLatin1Char('\n')).last(); }

}  // namespace

TEST(MainWindowLineInView, DoubleClickHighlightsTheLinesMovesAndBringsThemIntoSight) {
  TForm1 form(NoSettings());
  TTempFile program("N10 G00 X0 Y0 Z0\nN20 G01 X100 Y0 F500\nN30 G01 X900 Y0\nN40 G01 X900 Y50\nG01 X0\nM30\n", ".cnc");
  TfrmShowCncFile text;
  form.SetCompanions({nullptr, nullptr, &text});
  form.OpenProgram(QString::fromStdString(program.Name()));
  form.btnCuttingPathClick();  // both lists drawn
  ASSERT_TRUE(text.EditFile(QString::fromStdString(program.Name())));
  TSimBox& view = form.View();
  const TWindowRect start = view.Rect();
  const double scale = view.Scale;

  DoubleClickLine(text, 1);  // N20, in sight at the start
  std::vector<TPickElement> lit = view.Highlights();
  ASSERT_EQ(lit.size(), 2u);
  EXPECT_EQ(lit[0].List, TPickList::Contour);
  EXPECT_EQ(lit[1].List, TPickList::Path);
  EXPECT_EQ(lit[0].Line, 20);
  EXPECT_EQ(LastPaneLine(form), "Line 2 (N20): 2 moves highlighted");
  EXPECT_EQ(view.Rect(), start);

  DoubleClickLine(text, 3);  // N40 lies right of the start window: moved there, same zoom
  lit = view.Highlights();
  ASSERT_EQ(lit.size(), 2u);
  EXPECT_EQ(lit[0].Line, 40);
  EXPECT_EQ(view.Scale, scale);
  EXPECT_LE(view.XMin, lit[0].Start.X);
  EXPECT_GE(view.XMax, lit[0].Start.X);
  EXPECT_NEAR((view.XMin + view.XMax) / 2, lit[0].Start.X, 1e-9) << "centred on the moves";

  DoubleClickLine(text, 2);  // N30 is 800 mm long: wider than the window, framed
  ASSERT_EQ(view.Highlights().size(), 2u);
  EXPECT_LT(view.Scale, scale);
  EXPECT_LE(view.XMin, view.Highlights()[0].Start.X);
  EXPECT_GE(view.XMax, view.Highlights()[0].End.X);

  DoubleClickLine(text, 4);  // no N number: found by its line all the same
  EXPECT_EQ(view.Highlights().size(), 2u);
  EXPECT_EQ(LastPaneLine(form), "Line 5: 2 moves highlighted");

  TTempFile other("N20 G01 X5\n", ".cnc");
  ASSERT_TRUE(text.EditFile(QString::fromStdString(other.Name())));
  DoubleClickLine(text, 0);
  EXPECT_TRUE(view.Highlights().empty());
  EXPECT_EQ(LastPaneLine(form), "Text line 1: the view shows another program; open this one to see its moves");
}

namespace {

// Double-clicks the first pane row holding `part`; false when none does.
bool DoubleClickPaneRow(TInfoMemo& pane, const QString& part) {
  for (QTextBlock b = pane.document()->firstBlock(); b.isValid(); b = b.next()) {
    if (!b.text().contains(part)) continue;
    pane.setTextCursor(QTextCursor(b));
    pane.ensureCursorVisible();
    QTest::mouseDClick(pane.viewport(), Qt::LeftButton, Qt::NoModifier,
                       pane.cursorRect(QTextCursor(b)).center() + QPoint(4, 0));
    return true;
  }
  return false;
}

}  // namespace

TEST(MainWindowLineInView, DoubleClickOnAMessageOpensItsLineAndPlaybackFollowsTheLines) {
  TForm1 form(NoSettings());
  // Lines 2 and 3 share an N number; only the message's own line is meant.
  const std::string longLine = "N10 G01 X10 Y10 (" + std::string(300, 'c') + ")";
  TTempFile program("G00 X0 Y0 Z0\nN10 G01 X10 Y0 F500\n" + longLine + "\nG01 X0 Y10\n", ".cnc");
  TfrmShowCncFile text;
  form.SetCompanions({nullptr, nullptr, &text});
  form.resize(800, 600);
  form.show();
  form.OpenProgram(QString::fromStdString(program.Name()));
  ASSERT_FALSE(text.isVisible());
  ASSERT_TRUE(DoubleClickPaneRow(form.InfoPane(), QStringLiteral("longer than 255 characters")));
  EXPECT_TRUE(text.isVisible());
  EXPECT_EQ(text.Memo()->textCursor().selectedText().toStdString(), longLine);
  const std::vector<TPickElement> lit = form.View().Highlights();
  ASSERT_EQ(lit.size(), 1u);
  EXPECT_EQ(lit[0].FileLine, 3);
  EXPECT_EQ(lit[0].End.Y - form.View().W0Y(), 10.0);
  // A row that names no line leaves the text window where it is.
  ASSERT_TRUE(DoubleClickPaneRow(form.InfoPane(), QStringLiteral("Try to open CNC-file")));
  EXPECT_EQ(text.Memo()->textCursor().blockNumber(), 2);

  // Playing back, the text window follows the line of the element reached.
  form.Playback().SetActive(true);
  form.Playback().SetPosition(1);
  EXPECT_EQ(text.Memo()->textCursor().blockNumber(), 0);
  form.Playback().SetPosition(5);  // G00, F, G01 of line 2, G01 of line 3, G01 of line 4
  EXPECT_EQ(text.Memo()->textCursor().blockNumber(), 3);
  EXPECT_EQ(text.Memo()->textCursor().selectedText(), "G01 X0 Y10");
}
