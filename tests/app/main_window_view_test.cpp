// What a new user meets first in the main window: the wheel, the window a program opens in,
// the title, the menus and keys.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <memory>

#include "app/info_pane.h"
#include "app/main_window.h"
#include "app/playback_bar.h"
#include "display/sim_box.h"
#include "tests/app/viewer_files.h"
#include "tests/command_runner.h"
#include "tests/support/scripted_dialogs.h"
#include "windows/real_point_view.h"

namespace {

class TMainWindowViewTest : public testing::Test {
 protected:
  TMainWindowViewTest() : Form(std::make_unique<TForm1>(Paths())) { Form->SetDialogs(Script.Dialogs()); }

  static TStartPaths Paths() {
    TStartPaths p = TStartPaths::BesideExecutable();
    p.SettingsFile = "/nonexistent/velquor.INI";
    return p;
  }

  void Wheel(QPointF at, QPoint angleDelta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWheelEvent e(at, Form->View().mapToGlobal(at), QPoint(), angleDelta, Qt::NoButton, modifiers, Qt::NoScrollPhase,
                  false);
    QApplication::sendEvent(&Form->View(), &e);
  }

  QScrollBar* Bar(Qt::Orientation o) {
    for (QScrollBar* b : Form->View().parentWidget()->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly))
      if (b->orientation() == o) return b;
    return nullptr;
  }

  TScriptedDialogs Script;
  std::unique_ptr<TForm1> Form;
};

TEST_F(TMainWindowViewTest, WheelZoomsAboutThePointerInEveryMouseMode) {
  TSimBox& view = Form->View();
  const QPointF pixel(123, 345);
  const struct {
    int32_t Mode;
    QPoint Delta;
    int Events;
    double Factor;  // of the window's width after all events
  } cases[] = {{TMouseMode::Idle, {0, 120}, 1, 1 / 1.25},
               {TMouseMode::Pan, {0, -120}, 1, 1.25},
               {TMouseMode::ZoomWindow, {0, 240}, 1, 1 / (1.25 * 1.25)},
               {TMouseMode::Pick, {0, 30}, 4, 1 / 1.25}};  // a touchpad's fine steps
  for (const auto& c : cases) {
    view.SetMouseMode(c.Mode);
    const TRealXY before = view.PixelToReal(0, 0);
    const double x = view.BildXToRealX(pixel.x()), y = view.BildYToRealY(pixel.y());
    const double width = view.XMax - view.XMin;
    for (int i = 0; i < c.Events; ++i) Wheel(pixel, c.Delta);
    EXPECT_NEAR(view.XMax - view.XMin, width * c.Factor, 1e-9) << "mode " << c.Mode;
    const double halfPixel = 0.5 / view.Scale;
    EXPECT_NEAR(view.BildXToRealX(pixel.x()), x, halfPixel) << "mode " << c.Mode;
    EXPECT_NEAR(view.BildYToRealY(pixel.y()), y, halfPixel) << "mode " << c.Mode;
    EXPECT_NEAR(view.PixelXExact(x), pixel.x(), 0.5);
    EXPECT_NEAR(view.PixelYExact(y), pixel.y(), 0.5);
    EXPECT_NE(view.PixelToReal(0, 0), before);
    EXPECT_EQ(view.MouseMode, c.Mode) << "the wheel leaves the mouse mode alone";
  }
  EXPECT_EQ(Bar(Qt::Horizontal)->value(), std::lround(view.XMin)) << "the scroll bars follow";
  EXPECT_EQ(Bar(Qt::Vertical)->value(), std::lround(-view.YMin));
  const TWindowRect zoomed = view.Rect();

  // Shift and the wheel scroll sideways at the same scale; the bar follows without moving the
  // window again.
  const double scale = view.Scale;
  Wheel(pixel, {0, -120}, Qt::ShiftModifier);
  EXPECT_EQ(view.Scale, scale);
  EXPECT_NEAR(view.XMin - zoomed.XMin, 0.1 * view.Width / scale, 1e-9);
  EXPECT_EQ(view.YMin, zoomed.YMin);
  EXPECT_EQ(Bar(Qt::Horizontal)->value(), std::lround(view.XMin));
}

TEST_F(TMainWindowViewTest, TitleNamesTheProgram) {
  EXPECT_EQ(Form->windowTitle(), "Velquor");
  TTempFile program("G01 X10 Y10\n", ".cnc");
  Form->OpenProgram(QString::fromStdString(program.Name()));
  EXPECT_EQ(Form->windowTitle(), QString::fromUtf8("program.cnc \u2014 Velquor"));
}

// Alt+F opens the File menu and types no character; every key of the window is listed.
TEST_F(TMainWindowViewTest, AltFOpensTheFileMenuAndTheShortcutListNamesEveryKey) {
  Form->show();
  QApplication::setActiveWindow(Form.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  Form->InfoPane().setFocus();
  const int lines = Form->InfoPane().toPlainText().split('\n').size();
  QTest::keyClick(&Form->InfoPane(), Qt::Key_F, Qt::AltModifier);
  QMenu* file = Form->menuBar()->actions().front()->menu();
  EXPECT_TRUE(QTest::qWaitFor([&] { return file->isVisible(); }, 2000)) << "Alt+F opens the File menu";
  file->hide();
  EXPECT_EQ(Form->InfoPane().toPlainText().split('\n').size(), lines) << "no Key line for Alt+F";

  std::vector<std::string> keys;
  for (const TShortcutRow& r : Form->KeyboardShortcuts()) keys.push_back(r.Keys + " " + r.What);
  for (const char* expected :
       {"F2 Pan", "F3 Zoom all", "F4 Zoom Window", "F5 Zoom varia", "F9 Refresh", "Alt+F Open the File menu",
        "Ctrl+F File > Open", "F8 View > Playback", "Ctrl+S Tools > Show/Close simulation", "Wheel Zoom"})
    EXPECT_TRUE(std::any_of(keys.begin(), keys.end(), [&](const std::string& k) { return k.starts_with(expected); }))
        << expected;
}

// Closed by its close box, the machine-coordinate window no longer follows the runs.
TEST_F(TMainWindowViewTest, ClosedMachineWindowIsNotDrawnByLaterRuns) {
  auto* machine = new TfrmRealPointView(Form.get());
  Form->SetMachineView(*machine);
  TTempFile first("G01 X1 Y2\n", ".cnc");
  Form->OpenProgram(QString::fromStdString(first.Name()));
  Form->mnuSimulationClick();
  ASSERT_TRUE(machine->isVisible());
  EXPECT_EQ(machine->CounterLabels[0]->text(), "100");
  machine->close();  // the window frame's close box
  EXPECT_FALSE(machine->isVisible());
  EXPECT_FALSE(Form->State().MachineViewOn);
  TTempFile second("G01 X7 Y8\n", ".cnc");
  Form->OpenProgram(QString::fromStdString(second.Name()));
  Form->ProcessCurrentFile();
  EXPECT_EQ(machine->CounterLabels[0]->text(), "100") << "no steps for a closed window";
  EXPECT_FALSE(machine->isVisible());
}

// A first start copies the example tool table into the new settings file, so the demo runs
// without an error there, as it does with velquor-cnc's own default tools.
TEST(MainWindowFirstStart, SeedsTheSettingsFileAndTheDemoRunsCleanly) {
  const std::string demo = VELQUOR_SOURCE_DIR "/examples/demo.cnc";
  TTempFolder home;
  TStartPaths paths = TStartPaths::BesideExecutable();
  paths.SettingsFile = home.File("config/velquor/velquor.INI");
  paths.SeedFile = VELQUOR_SOURCE_DIR "/examples/tools.INI";
  for (bool first : {true, false}) {
    TForm1 form(paths);
    const QString pane = form.InfoPane().toPlainText();
    EXPECT_EQ(pane.contains("Settings file created from " + QString::fromStdString(paths.SeedFile)), first);
    EXPECT_EQ(form.State().Settings.Tools[1].Diameter, 6.0);
    form.OpenProgram(QString::fromStdString(demo));
    EXPECT_FALSE(form.InfoPane().toPlainText().contains("Error")) << form.InfoPane().toPlainText().toStdString();
  }
  const TCommandResult check = RunShellCommand("'" VELQUOR_CLI "' check '" + demo + "' 2>&1");
  EXPECT_EQ(check.Status, 0) << check.Output;
}

// Playback's total and the job figures' time are one figure: the demo, and an inch program.
TEST(MainWindowFigures, PlaybackTotalIsTheJobsCuttingTime) {
  TStartPaths paths = TStartPaths::BesideExecutable();
  paths.SettingsFile = VELQUOR_SOURCE_DIR "/examples/tools.INI";
  TForm1 form(paths);
  form.mnuPlaybackClick(true);
  TTempFile inches("G20\nF10\nG00 X0 Y0\nG01 X1 Y0\nG01 X1 Y1\n", ".cnc");  // 2 in at 10 in/min
  const struct {
    std::string File;
    const char* Time;  // none: not worked out by hand
  } cases[] = {{VELQUOR_SOURCE_DIR "/examples/demo.cnc", nullptr}, {inches.Name(), "0:12"}};
  for (const auto& c : cases) {
    for (bool path : {false, true}) {
      form.OpenProgram(QString::fromStdString(c.File));
      if (path != form.State().Played.Mode) form.btnCuttingPathClick();
      const QString figures = form.FiguresText();
      const QString played = form.Playback().StatusLabel().text();
      const QString total = played.section(QStringLiteral(" of "), -1);
      EXPECT_TRUE(figures.endsWith(", " + total)) << figures.toStdString() << " | " << played.toStdString();
      if (c.Time) {
        EXPECT_EQ(total, c.Time) << played.toStdString();
      }
    }
  }
}

}  // namespace
