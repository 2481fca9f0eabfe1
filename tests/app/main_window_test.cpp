#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <memory>

#include "app/info_pane.h"
#include "display/sim_box.h"
#include "tests/app/viewer_files.h"
#include "tests/support/scripted_dialogs.h"
#include "windows/real_point_view.h"

namespace {

QStringList PaneLines(TForm1& form) { return form.InfoPane().toPlainText().split(QLatin1Char('\n')); }

int CountLines(TForm1& form, const QString& line) { return static_cast<int>(PaneLines(form).count(line)); }

int CountStarting(TForm1& form, const QString& head) {
  int n = 0;
  for (const QString& l : PaneLines(form)) n += l.startsWith(head);
  return n;
}

QAction* ToolButton(TForm1& form, const QString& hint) {
  for (QAction* a : form.findChild<QToolBar*>(QStringLiteral("ToolBar"))->actions())
    if (!a->isSeparator() && a->toolTip() == hint) return a;
  return nullptr;
}

template <typename T>
T* Control(TForm1& form, const QString& text) {
  for (T* c : form.findChildren<T*>())
    if (c->text() == text) return c;
  return nullptr;
}

// A main window whose settings file is missing, as on a first start.
class TMainWindowTest : public testing::Test {
 protected:
  TMainWindowTest() : Form(std::make_unique<TForm1>(Paths())) { Form->SetDialogs(Script.Dialogs()); }

  static TStartPaths Paths() {
    TStartPaths p = TStartPaths::BesideExecutable();
    p.SettingsFile = "/nonexistent/velquor.INI";
    return p;
  }

  TScriptedDialogs Script;
  std::unique_ptr<TForm1> Form;
};

TEST_F(TMainWindowTest, StartsWithItsMessagesWindowAndGrid) {
  const QStringList lines = PaneLines(*Form);
  ASSERT_GE(lines.size(), 3);
  EXPECT_EQ(lines[0], "Starup Velquor");
  EXPECT_EQ(lines[1], QString::fromStdString("Set font path to .." + Form->FontPath()));
  EXPECT_EQ(lines[2], QString::fromStdString("Settings file: " + Form->SettingsFile()));
  EXPECT_TRUE(QString::fromStdString(Form->FontPath()).endsWith("/Fonts/"));
  EXPECT_EQ(Form->windowTitle(), "Velquor");
  EXPECT_EQ(Form->size(), QSize(TForm1::kClientWidth, TForm1::kClientHeight));

  const TSimBox& view = Form->View();
  EXPECT_EQ(view.Width, view.width());
  EXPECT_GT(view.Height, 500);
  EXPECT_EQ(view.XMin, -40.0);
  EXPECT_EQ(view.XMax, 560.0);
  EXPECT_EQ(view.YMin, -40.0);
  EXPECT_EQ(view.YMax, std::nearbyint(600.0 * view.Height / view.Width - 40.0));
  EXPECT_EQ(view.Scale, view.Width / 600.0);
  EXPECT_EQ(view.GridSize, 10);
  EXPECT_EQ(view.Cursor, TViewCursor::Crosshair);
  EXPECT_TRUE(Form->State().CurrentFile.empty());
  EXPECT_EQ(Form->State().EngineHandle, 0);
  EXPECT_EQ(Form->State().Settings.Tools[0].Height, 20.0);
  EXPECT_EQ(Form->SettingsFile(), "/nonexistent/velquor.INI");
  EXPECT_TRUE(QString::fromStdString(TStartPaths::BesideExecutable().SettingsFile).endsWith("/viewer_tests.INI"));
}

TEST_F(TMainWindowTest, ToolBarAndMenusOfferEveryCommand) {
  QStringList hints;
  for (QAction* a : Form->findChild<QToolBar*>(QStringLiteral("ToolBar"))->actions())
    if (!a->isSeparator()) hints << a->toolTip();
  EXPECT_EQ(hints, (QStringList{"Exit program", "Open CNC file", "Edit CNC file", "Refresh", "Zoom all", "Zoom Window",
                                "Zoom varia", "Pan (F2)", "Zoom to part", "Pick element", "Set W0",
                                "Set Spindle Position", "Show/hide edges", "Show/hide contour",
                                "Show/hide cutting path", "Set up tools", "Show Orvik simulation path", "About"}));
  QStringList entries;
  for (QAction* menu : Form->menuBar()->actions())
    for (QAction* a : menu->menu()->actions())
      entries << menu->text() + " " + a->text() + " " + a->shortcut().toString();
  EXPECT_EQ(entries,
            (QStringList{"&File &Open Ctrl+F", "&File &Recent files ",
                         QString::fromUtf8("&File &Export picture\u2026 Ctrl+E"), "&File &Close Velquor Ctrl+F4",
                         "&View Zoom to &part F7", "&View P&ick element F6", "&View &Follow file changes ",
                         "&View Fit program on &open ", "&View Play&back F8", "&View Result Ctrl+R",
                         QString::fromUtf8("&View Stock\u2026 "), "&View Result in 3D Ctrl+Shift+R",
                         "&View Section Ctrl+L", "&Tools Tools Ctrl+T", "&Tools Show/Close simulation Ctrl+S",
                         "&Info About Ctrl+A", "&Info &Keyboard shortcuts "}));
  const TFileQuestion open = Form->OpenQuestion();
  EXPECT_EQ(open.Title, "Open CNC-File");
  QStringList filters;
  for (const TFileFilter& f : open.Filters) filters << f.Name;
  EXPECT_EQ(filters, (QStringList{"CNC programs (*.cnc *.txt *.nc *.ngc *.tap *.gcode)", "CNC-File (*.txt)",
                                  "CNC-File (*.cnc)", "Gerber-File (*.grb)", "all (*)"}));
  std::unique_ptr<QFileDialog> dialog(MakeFileDialog(nullptr, open));
  EXPECT_EQ(dialog->selectedNameFilter(), filters.front()) << "the first filter is the one selected";
}

TEST_F(TMainWindowTest, ViewScrollBarsStartAndScroll) {
  QList<QScrollBar*> bars = Form->View().parentWidget()->findChildren<QScrollBar*>(Qt::FindDirectChildrenOnly);
  ASSERT_EQ(bars.size(), 2);
  QScrollBar* h = bars[0]->orientation() == Qt::Horizontal ? bars[0] : bars[1];
  QScrollBar* v = h == bars[0] ? bars[1] : bars[0];
  EXPECT_EQ(std::make_tuple(h->minimum(), h->maximum(), h->value()), std::make_tuple(-100, 400, 0));
  EXPECT_EQ(std::make_tuple(v->minimum(), v->maximum(), v->value()), std::make_tuple(-100, 300, -2));
  EXPECT_EQ(Form->View().XMin, -40.0) << "the start positions do not scroll";
  h->setValue(100);
  EXPECT_EQ(Form->View().XMin, 100.0);
  EXPECT_EQ(Form->View().XMax, 700.0);
  v->setValue(20);
  EXPECT_EQ(Form->View().YMin, -20.0);
}

TEST_F(TMainWindowTest, GridScrollBarSetsTheGridInStepsOfFive) {
  auto* grid = Form->findChild<QScrollBar*>(QStringLiteral("sbGrid"));
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(std::make_tuple(grid->minimum(), grid->maximum(), grid->value(), grid->pageStep()),
            std::make_tuple(1, 20, 2, 5));
  grid->setValue(20);
  EXPECT_EQ(Form->View().GridSize, 100);
  grid->setValue(1);
  EXPECT_EQ(Form->View().GridSize, 5);
}

TEST_F(TMainWindowTest, FunctionKeysWhateverTheModifier) {
  Form->show();
  TSimBox& view = Form->View();
  const TWindowRect home = view.HomeWindow;
  struct TCase {
    Qt::Key Key;
    int32_t Mode;
  } const cases[] = {{Qt::Key_F2, TMouseMode::Pan},
                     {Qt::Key_F4, TMouseMode::ZoomWindow},
                     {Qt::Key_F5, TMouseMode::ZoomVaria}};
  for (Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
                                     Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier)}) {
    for (const auto& c : cases) {
      view.SetMouseMode(TMouseMode::Idle);
      QTest::keyClick(&Form->InfoPane(), c.Key, mods);
      EXPECT_EQ(view.MouseMode, c.Mode) << c.Key << " " << mods;
    }
    view.ScrollToX(200);
    QTest::keyClick(&view, Qt::Key_F3, mods);
    EXPECT_EQ(view.XMin, home.XMin);
    EXPECT_EQ(view.XMax, home.XMin + std::nearbyint(home.XMax - home.XMin));
  }
  QTest::keyClick(&view, Qt::Key_F9);
  EXPECT_EQ(CountStarting(*Form, "No input file specified"), 1);
  EXPECT_EQ(CountStarting(*Form, "Key "), 0) << "function keys type nothing";
}

TEST_F(TMainWindowTest, TypedCharactersAreReportedOnceInAnyControl) {
  Form->show();
  QTest::keyClick(&Form->InfoPane(), Qt::Key_A);
  EXPECT_EQ(PaneLines(*Form).last(), "Key a");
  QTest::keyClicks(Control<QCheckBox>(*Form, "view contour"), "b7");
  QTest::keyClicks(&Form->View(), "Z");
  const QStringList lines = PaneLines(*Form);
  EXPECT_EQ(lines.mid(lines.size() - 4), (QStringList{"Key a", "Key b", "Key 7", "Key Z"}));
  QTest::keyClick(&Form->InfoPane(), Qt::Key_Left);
  EXPECT_EQ(PaneLines(*Form).size(), lines.size()) << "keys without a character add nothing";
}

TEST_F(TMainWindowTest, MenuShortcutsWinOverThePane) {
  Form->show();
  QApplication::setActiveWindow(Form.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  Form->InfoPane().setFocus();
  QAction* about = nullptr;
  for (QAction* menu : Form->menuBar()->actions())
    for (QAction* a : menu->menu()->actions())
      if (a->text() == "About") about = a;
  ASSERT_NE(about, nullptr);
  int shown = 0;
  QObject::connect(about, &QAction::triggered, [&shown] { ++shown; });
  QTest::keyClick(&Form->InfoPane(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(shown, 1);
  QTest::keyClick(&Form->InfoPane(), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(Form->State().MachineViewOn);
}

TEST_F(TMainWindowTest, ZoomAllRestoresHomeWithTheCrosshair) {
  TSimBox& view = Form->View();
  view.SetMouseMode(TMouseMode::SetW0);
  ASSERT_EQ(view.Cursor, TViewCursor::Hand);
  view.ZoomPoint({10, 10}, 0.5);
  ToolButton(*Form, "Zoom all")->trigger();
  EXPECT_EQ(view.Cursor, TViewCursor::Crosshair);
  EXPECT_EQ(view.XMin, view.HomeWindow.XMin);
  EXPECT_EQ(view.XMax, view.HomeWindow.XMax);
  EXPECT_EQ(view.cursor().shape(), Qt::CrossCursor);
}

TEST_F(TMainWindowTest, ReloadBeforeAnyFilePutsTheMessageInFrontEachTime) {
  QPushButton* reload = Control<QPushButton>(*Form, "reload current CNC-File and redraw");
  ASSERT_NE(reload, nullptr);
  reload->click();
  reload->click();
  const QStringList lines = PaneLines(*Form);
  EXPECT_EQ(lines.mid(0, 3), (QStringList{"No input file specified ", "No input file specified ", "Starup Velquor"}));
  Control<QPushButton>(*Form, "clear info window")->click();
  EXPECT_EQ(Form->InfoPane().toPlainText(), "");
}

// From 800 pixels wide up to a full HD screen every control of the row and the status bar
// keeps its size inside the window, none on another; the run summary is cut only when narrow.
TEST_F(TMainWindowTest, ControlRowAndStatusBarFitFrom800To1920Wide) {
  TTempFile program(kSmallProgram, ".cnc");
  Form->OpenProgram(QString::fromStdString(program.Name()));
  Form->show();
  const auto* row = Form->findChild<QWidget*>(QStringLiteral("ControlRow"));
  const auto* status = Form->findChild<QLabel*>(QStringLiteral("lblStatus"));
  ASSERT_TRUE(row && status);
  for (const QSize size : {QSize(800, 600), QSize(994, 885), QSize(1920, 1080)}) {
    Form->resize(size);
    QApplication::processEvents();
    for (const QWidget* parent : {row, static_cast<const QWidget*>(Form->statusBar())}) {
      std::vector<QRect> taken;
      for (const QWidget* c : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!c->isVisible() || c->inherits("QSizeGrip")) continue;
        const QRect g = c->geometry();
        EXPECT_TRUE(parent->rect().contains(g)) << size.width() << " " << c->metaObject()->className();
        EXPECT_GE(g.width(), c->minimumSizeHint().width()) << size.width() << " " << c->metaObject()->className();
        for (const QRect& other : taken) EXPECT_FALSE(other.intersects(g)) << size.width();
        taken.push_back(g);
      }
    }
    const bool cut = status->text() != Form->StatusText();
    EXPECT_EQ(cut, status->toolTip() == Form->StatusText()) << size.width();
    if (size.width() == 1920) {
      EXPECT_FALSE(cut) << status->text().toStdString();
    }
  }
}

TEST(InfoPane, BatchedLinesKeepTheirOrder) {
  TInfoMemo pane;
  pane.Append("first");
  pane.BeginBatch();
  pane.Append("a");
  EXPECT_EQ(pane.toPlainText(), "first") << "shown when the batch ends";
  pane.PutInFront("x\r\n");
  pane.Append("b");
  pane.EndBatch();
  EXPECT_EQ(pane.toPlainText(), "x\nfirst\na\nb");
}

TEST_F(TMainWindowTest, OpenDialogCancelledBeforeAnyFileDoesNothing) {
  const QString before = Form->InfoPane().toPlainText();
  Script.Files = {QString()};
  Form->mnuOpenClick();
  EXPECT_EQ(Form->InfoPane().toPlainText(), before);
  EXPECT_TRUE(Form->State().CurrentFile.empty());
}

TEST_F(TMainWindowTest, OpenProcessesAndCancellingLaterProcessesTheEarlierFileAgain) {
  TTempFile program(kSmallProgram, ".cnc");
  const QString name = QString::fromStdString(program.Name());
  Script.Files = {name};
  Form->mnuOpenClick();
  EXPECT_EQ(Form->State().CurrentFile, program.Name());
  EXPECT_EQ(CountLines(*Form, "Try to open CNC-file : " + name), 1);
  EXPECT_EQ(CountLines(*Form, "Message from CAM processor: Init CNC-Dll"), 1);
  EXPECT_EQ(Form->View().Objects.Count(), 2u);
  EXPECT_TRUE(Form->StatusText().startsWith(QFileInfo(name).fileName() + ": 4 lines, contour "));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait cursor ends with the run";

  Script.Files = {QString()};
  Form->mnuOpenClick();
  EXPECT_EQ(CountLines(*Form, "Try to open CNC-file : " + name), 2);
  EXPECT_EQ(Script.FileQuestions.back().Start, name) << "the dialog starts at the current program";

  // Without a current program the dialog starts in the folder last used, in a later run too.
  TForm1 later(Paths());
  later.SetDialogs(Script.Dialogs());
  EXPECT_EQ(later.OpenQuestion().Start, QFileInfo(name).absolutePath());

  // Edit file never changes the current file nor processes.
  Script.Files = {QString()};
  Form->btnEditClick();
  EXPECT_EQ(CountLines(*Form, "Try to open CNC-file : " + name), 2);
}

TEST_F(TMainWindowTest, ShowHideContourUnchecksAndProcessesTwice) {
  TTempFile program(kSmallProgram, ".cnc");
  Form->OpenProgram(QString::fromStdString(program.Name()));
  ASSERT_EQ(CountStarting(*Form, "Try to open CNC-file : "), 1);
  ToolButton(*Form, "Show/hide contour")->trigger();
  EXPECT_FALSE(Control<QCheckBox>(*Form, "view contour")->isChecked());
  EXPECT_EQ(CountStarting(*Form, "Try to open CNC-file : "), 3);
  EXPECT_EQ(CountLines(*Form, "Message from CAM processor: Init CNC-Dll"), 3);
  EXPECT_EQ(Form->View().Objects.Count(), 0u);

  Control<QCheckBox>(*Form, "view cutting path")->click();
  EXPECT_EQ(CountStarting(*Form, "Try to open CNC-file : "), 4);
  EXPECT_GT(Form->View().Objects.Count(), 0u);
}

TEST_F(TMainWindowTest, MachineViewToggleFollowsTheState) {
  EXPECT_FALSE(Form->State().MachineViewOn);
  ToolButton(*Form, "Show Orvik simulation path")->trigger();
  EXPECT_TRUE(Form->State().MachineViewOn);
  ToolButton(*Form, "Show Orvik simulation path")->trigger();
  EXPECT_FALSE(Form->State().MachineViewOn);
}

// The real machine-coordinate window behind the toggle, Ctrl+S and the processing run.
TEST_F(TMainWindowTest, MachineViewIsShownDrawnAndProcessesTheFileAgain) {
  auto* machine = new TfrmRealPointView(Form.get());
  Form->SetMachineView(*machine);
  QAction* menuEntry = nullptr;
  for (QAction* a : Form->menuBar()->findChildren<QAction*>())
    if (a->text() == "Show/Close simulation") menuEntry = a;
  ASSERT_NE(menuEntry, nullptr);
  EXPECT_EQ(menuEntry->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));

  // No program yet: the window opens on an empty list.
  menuEntry->trigger();
  EXPECT_TRUE(Form->State().MachineViewOn);
  EXPECT_TRUE(machine->isVisible());
  EXPECT_EQ(CountLines(*Form, "Empty list, no data to process"), 1);

  TTempFile program("G01 X1 Y2\nG01 X3 Y-4 Z0.5\n", ".cnc");
  Form->OpenProgram(QString::fromStdString(program.Name()));
  EXPECT_EQ(machine->CounterLabels[0]->text(), "300");
  EXPECT_EQ(machine->CounterLabels[1]->text(), "-400");
  EXPECT_EQ(machine->CounterLabels[2]->text(), "50");

  const int runs = CountStarting(*Form, "Try to open CNC-file : ");
  machine->HorzBar->setValue(10);
  EXPECT_EQ(CountStarting(*Form, "Try to open CNC-file : "), runs + 1) << "a control of the window processes again";

  machine->CloseButton->click();
  EXPECT_FALSE(Form->State().MachineViewOn);
  EXPECT_FALSE(machine->isVisible());
  ToolButton(*Form, "Show Orvik simulation path")->trigger();
  EXPECT_TRUE(machine->isVisible());
  ToolButton(*Form, "Show Orvik simulation path")->trigger();
  EXPECT_FALSE(machine->isVisible());
  EXPECT_FALSE(Form->State().MachineViewOn);
}

TEST_F(TMainWindowTest, ResizingShowsMoreOfThePlaneAtTheSameScale) {
  Form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
  TSimBox& view = Form->View();
  const double scale = view.Scale;
  const double xMin = view.XMin, yMax = view.YMax;
  const int width = view.width();
  Form->resize(TForm1::kClientWidth + 200, TForm1::kClientHeight + 100);
  QApplication::processEvents();
  EXPECT_EQ(view.width(), width + 200);
  EXPECT_EQ(view.Width, view.width());
  EXPECT_EQ(view.Scale, scale);
  EXPECT_EQ(view.XMin, xMin);
  EXPECT_EQ(view.YMax, yMax);
  EXPECT_DOUBLE_EQ(view.XMax - view.XMin, view.Width / scale);
  EXPECT_EQ(Form->InfoPane().height(), TForm1::kInfoPaneHeight);
}

TEST(MainWindowSettings, UnreadableSettingsFileIsReportedAndDefaultsUsed) {
  TTempFile folder("", ".INI");
  std::filesystem::remove(folder.Name());
  std::filesystem::create_directory(folder.Name());
  TStartPaths paths = TStartPaths::BesideExecutable();
  paths.SettingsFile = folder.Name();
  TForm1 form(paths);
  const QStringList lines = PaneLines(form);
  ASSERT_GE(lines.size(), 4);
  EXPECT_EQ(lines[2].toStdString(), "Settings file: " + folder.Name());
  EXPECT_TRUE(lines[3].contains(QString::fromStdString(folder.Name()))) << lines[3].toStdString();
  EXPECT_TRUE(lines[3].contains("folder")) << lines[3].toStdString();
  EXPECT_EQ(form.State().Settings.Tools[7].Diameter, 80.0);
}

TEST(MainWindowLifetime, DestructionClosesTheEngine) {
  TTempFile program(kSmallProgram, ".cnc");
  int32_t handle = 0;
  {
    TForm1 form;
    form.OpenProgram(QString::fromStdString(program.Name()));
    handle = form.State().EngineHandle;
    ASSERT_GT(handle, 0);
  }
  EXPECT_EQ(CncClose(handle), 1) << "no instance is left behind";
}

}  // namespace
