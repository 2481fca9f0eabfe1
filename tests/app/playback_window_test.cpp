// Playback in the main window: the picture at position k is the picture of the program cut
// after its first k elements, whichever list plays; F8 shows and hides the bar.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenuBar>
#include <QSlider>
#include <QTest>
#include <memory>
#include <sstream>
#include <vector>

#include "app/main_window.h"
#include "app/playback_bar.h"
#include "display/sim_box.h"
#include "tests/app/viewer_files.h"

namespace {

// No compensation, so the cutting path of a cut program is the cut path of the whole one.
const char* const kProgram =
    "T1\nN10 G00 X10 Y10\nN20 G01 X60 Y10 F600\nG01 X60 Y50\nN40 G02 X20 Y50 I-20 J0\nT2\n"
    "N60 G01 X20 Y20\nG00 X0 Y0\nN80 G03 X30 Y0 I15 J0\n";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TStartPaths Paths() {
  TStartPaths p = TStartPaths::BesideExecutable();
  p.SettingsFile = "/nonexistent/velquor.INI";
  return p;
}

QCheckBox* CheckBox(TForm1& form, const char* text) {
  for (QCheckBox* c : form.findChildren<QCheckBox*>())
    if (c->text() == text) return c;
  return nullptr;
}

void ShowLists(TForm1& form, bool contour, bool path) {
  if (CheckBox(form, "view contour")->isChecked() != contour) CheckBox(form, "view contour")->click();
  if (CheckBox(form, "view cutting path")->isChecked() != path) CheckBox(form, "view cutting path")->click();
}

QImage Picture(TForm1& form) {
  form.View().PaintView();
  return form.View().BackBuffer();
}

// Opens the file in the window and makes its playback bar active.
TPlaybackBar& OpenForPlayback(TForm1& form, const TTempFile& file) {
  form.OpenProgram(QString::fromStdString(file.Name()));
  form.Playback().SetActive(true);
  return form.Playback();
}

struct TLists {
  const char* Name;
  bool Contour, Path;
};

}  // namespace

TEST(PlaybackWindow, PositionKShowsTheProgramCutAfterItsFirstKElements) {
  const TKeepWindowOnOpen keep;  // the played and the cut program in one window
  const std::vector<std::string> lines = Lines(kProgram);
  const TTempFile whole(kProgram, ".cnc");
  for (const TLists lists : {TLists{"contour", true, false}, TLists{"cutting path", false, true}}) {
    TForm1 played(Paths()), cut(Paths());
    ShowLists(played, lists.Contour, lists.Path);
    ShowLists(cut, lists.Contour, lists.Path);
    played.OpenProgram(QString::fromStdString(whole.Name()));
    played.Playback().SetActive(true);
    ASSERT_EQ(played.Playback().Position(), 0u) << "playback starts from the start";
    size_t positions = 0;
    for (size_t n = 0; n <= lines.size(); ++n) {
      std::string text;
      for (size_t i = 0; i < n; ++i) text += lines[i] + "\n";
      const TTempFile part(text, ".cnc");
      cut.OpenProgram(QString::fromStdString(part.Name()));
      const size_t k = cut.State().Played.ObjectEnds.size();
      played.Playback().SetPosition(k);
      EXPECT_TRUE(Picture(played) == Picture(cut)) << lists.Name << ", program cut after line " << n;
      positions = k;
    }
    EXPECT_EQ(positions, played.Playback().Track().Count()) << lists.Name << ": the last cut is the whole program";
  }
}

TEST(PlaybackWindow, TheContourStaysWholeUnderAPlayedPath) {
  const TTempFile whole(kProgram, ".cnc");
  TForm1 played(Paths()), contour(Paths());
  ShowLists(played, true, true);
  played.OpenProgram(QString::fromStdString(whole.Name()));
  contour.OpenProgram(QString::fromStdString(whole.Name()));
  played.Playback().SetActive(true);
  EXPECT_TRUE(Picture(played) == Picture(contour));
  EXPECT_EQ(played.State().Played.Mode, 1);
}

TEST(PlaybackWindow, StepForwardThenBackGivesTheSamePictureAndTool) {
  const TTempFile whole(kProgram, ".cnc");
  TForm1 form(Paths());
  ShowLists(form, false, true);
  TPlaybackBar& bar = OpenForPlayback(form, whole);
  for (size_t k = 0; k < bar.Track().Count(); ++k) {
    bar.SetPosition(k);
    const QImage before = Picture(form);
    const auto tool = form.View().ToolCircle();
    ASSERT_TRUE(tool);
    bar.StepForward();
    EXPECT_EQ(bar.Position(), k + 1);
    Picture(form);
    bar.StepBack();
    EXPECT_TRUE(Picture(form) == before) << k;
    ASSERT_TRUE(form.View().ToolCircle());
    EXPECT_EQ(form.View().ToolCircle()->Centre, tool->Centre) << k;
    EXPECT_EQ(form.View().ToolCircle()->Radius, tool->Radius) << k;
  }
  bar.SetPosition(0);
  bar.StepBack();
  EXPECT_EQ(bar.Position(), 0u) << "no step before the start";
}

TEST(PlaybackWindow, PlaysToTheEndAtTheChosenSpeedAndNamesTheLine) {
  const TTempFile whole(kProgram, ".cnc");
  TForm1 form(Paths());
  TPlaybackBar& bar = OpenForPlayback(form, whole);
  const TPlaybackTrack& track = bar.Track();
  ASSERT_GT(track.Count(), 3u);
  bar.Play();
  EXPECT_TRUE(bar.Playing());
  bar.Advance(track.TimeAt(3) - track.TimeAt(0) + 1e-9);  // x1: the programmed time of three elements
  EXPECT_GE(bar.Position(), 3u);
  EXPECT_LT(bar.Position(), track.Count());
  const QLabel* status = form.findChild<QLabel*>(QStringLiteral("lblPlayback"));
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->text().toStdString(), PlaybackStatus(track, bar.Position()));
  bar.SetSpeed(TPlaySpeed::Times1000);
  bar.Advance(track.TotalSeconds() / 1000);
  EXPECT_EQ(bar.Position(), track.Count());
  EXPECT_FALSE(bar.Playing()) << "play stops at the end";
  EXPECT_EQ(form.findChild<QSlider*>(QStringLiteral("sldPosition"))->value(), static_cast<int>(track.Count()));
}

TEST(PlaybackWindow, F8ShowsTheBarAndHidingItDrawsEverythingAgain) {
  const TTempFile whole(kProgram, ".cnc");
  TForm1 form(Paths());
  form.OpenProgram(QString::fromStdString(whole.Name()));
  form.show();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  Picture(form);
  const size_t allDrawn = form.View().LastDrawnCount();
  QAction* entry = form.findChild<QAction*>(QStringLiteral("mnuPlayback"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->shortcut(), QKeySequence(Qt::Key_F8));
  EXPECT_FALSE(form.Playback().isVisible());

  QTest::keyClick(&form.View(), Qt::Key_F8);
  EXPECT_TRUE(form.Playback().Active());
  EXPECT_TRUE(form.Playback().isVisible());
  EXPECT_TRUE(form.findChild<QLabel*>(QStringLiteral("lblPlayback"))->isVisible());
  EXPECT_EQ(form.View().ObjectLimit(), form.Playback().Track().ObjectLimit(0));
  Picture(form);
  EXPECT_LT(form.View().LastDrawnCount(), allDrawn) << "the first element is not drawn yet";

  QTest::keyClick(&form.View(), Qt::Key_F8);
  QApplication::processEvents();  // the view takes back the bar's room
  EXPECT_FALSE(form.Playback().isVisible());
  EXPECT_EQ(form.View().ObjectLimit(), TSimView::kAllObjects);
  EXPECT_FALSE(form.View().ToolCircle());
  // The view got its room back, so its window may differ in the last bits: count instead.
  Picture(form);
  EXPECT_EQ(form.View().LastDrawnCount(), allDrawn);
}

TEST(PlaybackWindow, AReloadKeepsThePositionAndANewRunWithoutListsPlaysNothing) {
  const TTempFile whole(kProgram, ".cnc");
  TForm1 form(Paths());
  TPlaybackBar& bar = OpenForPlayback(form, whole);
  bar.SetPosition(4);
  form.btnRloadClick();
  EXPECT_EQ(bar.Position(), 4u);
  EXPECT_EQ(form.View().ObjectLimit(), bar.Track().ObjectLimit(4));
  ShowLists(form, false, false);  // nothing drawn: nothing to play
  EXPECT_EQ(bar.Track().Count(), 0u);
  EXPECT_EQ(form.View().ObjectLimit(), TSimView::kAllObjects);
  EXPECT_FALSE(form.findChild<QSlider*>(QStringLiteral("sldPosition"))->isEnabled());
}
