// Following the program file on disk, dropped files and the recent-files list, with the real
// main window offscreen and real files. The user's configuration is the test's own (qt_main).
#include <gtest/gtest.h>

#include <QAction>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "app/desktop_open.h"
#include "app/file_follower.h"
#include "app/info_pane.h"
#include "app/main_window.h"
#include "app/viewer_preferences.h"
#include "display/sim_box.h"
#include "tests/app/navigation_fixtures.h"
#include "tests/app/viewer_files.h"
#include "tests/platform/test_files.h"

namespace {

constexpr int kWaitMs = 10000;  // a loaded machine may be slow to deliver the watcher's news
// Long enough after a change for a second, wrong run to have come.
constexpr int kQuietMs = 4 * kFollowSettleMs;

QString Q(const std::string& s) { return QString::fromStdString(s); }

int PaneCount(TForm1& form, const QString& start) {
  int n = 0;
  for (const QString& l : form.InfoPane().toPlainText().split('\n')) n += l.startsWith(start);
  return n;
}
int Runs(TForm1& form) { return PaneCount(form, "Try to open CNC-file : "); }

QAction* MenuAction(TForm1& form, const char* name) { return form.menuBar()->findChild<QAction*>(name); }

// Starts every test with no kept list and following on.
class DesktopTest : public testing::Test {
 protected:
  DesktopTest() { ViewerPreferences().clear(); }
  TTempFolder Dir;
};

}  // namespace

TEST(WithRecent, NewestFirstWithoutDuplicatesAtMostEight) {
  const QStringList seven{"1", "2", "3", "4", "5", "6", "7"};
  const struct {
    const char* Name;
    QStringList List;
    QString Added;
    QStringList Expected;
  } cases[] = {
      {"empty", {}, "a", {"a"}},
      {"in front", {"a", "b"}, "c", {"c", "a", "b"}},
      {"again moves to the front", {"a", "b", "c"}, "b", {"b", "a", "c"}},
      {"already first", {"a", "b"}, "a", {"a", "b"}},
      {"seven and one make eight", seven, "8", {"8", "1", "2", "3", "4", "5", "6", "7"}},
      {"eight and one drop the oldest", seven + QStringList{"8"}, "9", {"9", "1", "2", "3", "4", "5", "6", "7"}},
      {"a duplicate at the end of nine", seven + QStringList{"8"}, "8", {"8", "1", "2", "3", "4", "5", "6", "7"}},
  };
  for (const auto& c : cases) EXPECT_EQ(WithRecent(c.List, c.Added), c.Expected) << c.Name;
}

TEST(FollowStep, ProcessesNewVersionsAndTellsAVanishingOnce) {
  const TFileStamp v1{true, 10, 1000, 7}, v2{true, 12, 2000, 7}, renamed{true, 12, 2000, 8}, v3{true, 12, 2001, 8};
  const TFileStamp gone{};
  TFollowState s;
  s.Processed = v1;
  const struct {
    TFileStamp Now;
    TFollowAction Expected;
  } steps[] = {
      {v1, TFollowAction::None},     // unchanged: the folder changed for another file
      {v2, TFollowAction::Process},  // written
      {v2, TFollowAction::None},
      {renamed, TFollowAction::Process},  // same size and time, but another file renamed over it
      {gone, TFollowAction::Vanished},
      {gone, TFollowAction::None},     // told once
      {renamed, TFollowAction::None},  // back as it was: the picture shows it already
      {v3, TFollowAction::Process},
      {gone, TFollowAction::Vanished},  // a second vanishing is told again
  };
  for (size_t i = 0; i < std::size(steps); ++i)
    EXPECT_EQ(FollowStep(s, steps[i].Now), steps[i].Expected) << "step " << i;
}

TEST_F(DesktopTest, AFileRewrittenOnDiskIsProcessedOnceKeepingTheWindow) {
  const std::string file = Dir.File("part.cnc");
  WriteBytes(file, "N10 G00 X0 Y0\nN20 G01 X100 Y0\n");
  TForm1 form(NoSettings());
  form.OpenProgram(Q(file));
  ASSERT_EQ(Runs(form), 1);
  const size_t before = form.State().Pick.Count();
  TSimBox& view = form.View();
  view.SetRect({-10, 290, -10, 190});
  view.UpdateScale();
  const TWindowRect window = view.Rect();

  {  // written in pieces, as a slow program writes
    std::ofstream out(file, std::ios::trunc);
    out << "N10 G00 X0 Y0\nN20 G01 X100 Y0\n" << std::flush;
    QTest::qWait(50);
    out << "N30 G01 X100 Y50\nN40 G01 X0 Y50\n" << std::flush;
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return Runs(form) == 2; }, kWaitMs));
  QTest::qWait(kQuietMs);
  EXPECT_EQ(Runs(form), 2) << "once, after the writes settled";
  EXPECT_EQ(PaneCount(form, "File changed on disk, processing it again: " + Q(file)), 1);
  EXPECT_EQ(form.State().Pick.Count(), before + 2) << "the new moves are drawn";
  EXPECT_EQ(view.Rect(), window);

  // Saved the way editors save: a new file renamed over the old one, then once more.
  WriteBytes(Dir.File("part.cnc.tmp"), "N10 G01 X5 Y5\n");
  std::filesystem::rename(Dir.File("part.cnc.tmp"), file);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Runs(form) == 3; }, kWaitMs));
  WriteBytes(file, "N10 G01 X5 Y5\nN20 G01 X6 Y6\n");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Runs(form) == 4; }, kWaitMs)) << "watched again after the rename";
  QTest::qWait(kQuietMs);
  EXPECT_EQ(Runs(form), 4);
  EXPECT_EQ(view.Rect(), window);
}

TEST_F(DesktopTest, AVanishedFileLeavesThePictureAndSaysSoOnce) {
  const std::string file = Dir.File("gone.cnc");
  WriteBytes(file, "N10 G00 X0 Y0\nN20 G01 X100 Y0\n");
  TForm1 form(NoSettings());
  form.OpenProgram(Q(file));
  const size_t drawn = form.View().Objects.Count();
  ASSERT_GT(drawn, 0u);
  const QString told = "File vanished from disk, the picture stays as it was: " + Q(file);

  std::filesystem::remove(file);
  ASSERT_TRUE(QTest::qWaitFor([&] { return PaneCount(form, told) == 1; }, kWaitMs));
  WriteBytes(Dir.File("other.cnc"), "G01 X1\n");  // the folder changes again
  QTest::qWait(kQuietMs);
  EXPECT_EQ(PaneCount(form, told), 1);
  EXPECT_EQ(Runs(form), 1);
  EXPECT_EQ(form.View().Objects.Count(), drawn);

  WriteBytes(file, "N10 G00 X0 Y0\n");  // back again: processed
  ASSERT_TRUE(QTest::qWaitFor([&] { return Runs(form) == 2; }, kWaitMs));
}

TEST_F(DesktopTest, FollowingCanBeTurnedOffAndTheChoiceIsKept) {
  const std::string file = Dir.File("off.cnc");
  WriteBytes(file, "N10 G01 X1\n");
  {
    TForm1 form(NoSettings());
    QAction* follow = MenuAction(form, "mnuFollow");
    ASSERT_NE(follow, nullptr);
    EXPECT_EQ(follow->text(), "&Follow file changes");
    EXPECT_TRUE(follow->isCheckable());
    EXPECT_TRUE(follow->isChecked()) << "on until the user turns it off";
    form.OpenProgram(Q(file));
    follow->trigger();
    EXPECT_FALSE(follow->isChecked());
    WriteBytes(file, "N10 G01 X2\n");
    QTest::qWait(kQuietMs);
    EXPECT_EQ(Runs(form), 1);
    follow->trigger();  // on again: the version written meanwhile is processed
    ASSERT_TRUE(QTest::qWaitFor([&] { return Runs(form) == 2; }, kWaitMs));
    follow->trigger();
  }
  EXPECT_FALSE(ReadFollowFileChanges());
  TForm1 again(NoSettings());
  EXPECT_FALSE(MenuAction(again, "mnuFollow")->isChecked()) << "remembered between runs";
}

TEST_F(DesktopTest, ADroppedFileIsProcessedAndListedFirstAmongRecentFiles) {
  const std::string a = Dir.File("a.cnc"), b = Dir.File("b.cnc"), gone = Dir.File("gone.cnc");
  for (const std::string& f : {a, b, gone}) WriteBytes(f, "N10 G01 X1\n");
  TForm1 form(NoSettings());
  form.OpenProgram(Q(gone));
  form.OpenProgram(Q(a));
  std::filesystem::remove(gone);

  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(Q(b))});
  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&form, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&form, &drop);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_EQ(form.State().CurrentFile, b);
  EXPECT_EQ(Runs(form), 3);

  QMimeData text, folder;  // drags that bring no program file are not taken
  text.setText("G01 X5");
  folder.setUrls({QUrl::fromLocalFile(Q(Dir.Path()))});
  for (const QMimeData* refused : {&text, &folder}) {
    QDragEnterEvent refusedEnter(QPoint(100, 100), Qt::CopyAction, refused, Qt::LeftButton, Qt::NoModifier);
    refusedEnter.setAccepted(false);
    QCoreApplication::sendEvent(&form, &refusedEnter);
    EXPECT_FALSE(refusedEnter.isAccepted());
  }

  EXPECT_EQ(ReadRecentFiles(), (QStringList{Q(b), Q(a), Q(gone)}));
  auto* recent = form.menuBar()->findChild<QMenu*>("mnuRecent");
  ASSERT_NE(recent, nullptr);
  EXPECT_EQ(recent->title(), "&Recent files");
  emit recent->aboutToShow();
  const QList<QAction*> entries = recent->actions();
  ASSERT_EQ(entries.size(), 3);
  EXPECT_EQ(entries[0]->text(), "&1 " + Q(b));
  EXPECT_EQ(entries[2]->text(), "&3 " + Q(gone));
  EXPECT_TRUE(entries[1]->isEnabled());
  EXPECT_FALSE(entries[2]->isEnabled()) << "no longer on disk";
  entries[1]->trigger();  // opens a.cnc as File > Open would
  EXPECT_EQ(form.State().CurrentFile, a);
  EXPECT_EQ(Runs(form), 4);
  EXPECT_EQ(ReadRecentFiles().first(), Q(a));
}
