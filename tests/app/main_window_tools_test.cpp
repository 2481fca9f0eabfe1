// The main window's Tools command with the real tool table window.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <fstream>
#include <memory>

#include "app/info_pane.h"
#include "app/main_window.h"
#include "tests/app/viewer_files.h"
#include "tests/platform/test_files.h"
#include "tests/tools/modal_helper.h"
#include "tools/tools_window.h"

namespace {

class TToolsCommandTest : public testing::Test {
 protected:
  void Start(const std::string& settingsFile) {
    TStartPaths paths = TStartPaths::BesideExecutable();
    paths.SettingsFile = settingsFile;
    paths.FontPath = VELQUOR_FONT_DIR;
    Form = std::make_unique<TForm1>(paths);
    Windows = CreateToolWindows(Form.get());
    Form->SetToolWindow(Windows.Tools);
    Form->OpenProgram(QString::fromStdString(Program.Name()));
  }

  int Runs() const {
    int n = 0;
    for (const QString& l : Form->InfoPane().toPlainText().split('\n')) n += l.startsWith("Try to open CNC-file : ");
    return n;
  }

  // Tools > Tools, leaving the tool window through `exit` after setting tool 5's diameter.
  void RunToolsCommand(const char* exit) {
    bool shown = false;
    WhenModal<TfrmTools>([&](TfrmTools* w) {
      shown = true;
      EXPECT_EQ(w->parentWidget(), Form.get());
      w->Grid()->item(5, 2)->setText("6");
      w->findChild<QAction*>(exit)->trigger();
    });
    QAction* tools = nullptr;
    for (QAction* menu : Form->menuBar()->actions())
      if (menu->text() == "&Tools")
        for (QAction* a : menu->menu()->actions())
          if (a->text() == "Tools") tools = a;
    ASSERT_NE(tools, nullptr);
    tools->trigger();
    EXPECT_TRUE(shown);
  }

  TTempFolder Dir;
  TTempFile Program{kSmallProgram, ".cnc"};
  std::unique_ptr<TForm1> Form;
  TToolWindows Windows;
};

TEST_F(TToolsCommandTest, CloseAndSaveWritesTheSettingsAndProcessesAgain) {
  const std::string ini = Dir.File("velquor.INI");
  WriteBytes(ini, "[Vorschub]\nBoostFeed=55\n");
  Start(ini);
  ASSERT_EQ(Runs(), 1);
  RunToolsCommand("mnuSaveAndClose");
  EXPECT_EQ(Form->State().Settings.Tools[5].Diameter, 6.0);
  EXPECT_EQ(Runs(), 2);
  TCncType written;
  ASSERT_TRUE(ReadSettings(ini, written).Ok);
  EXPECT_EQ(written.Tools[5].Diameter, 6.0);
  EXPECT_EQ(written.BoostFeed, 55);
}

TEST_F(TToolsCommandTest, CloseWithoutSaveChangesNothing) {
  const std::string ini = Dir.File("velquor.INI");
  Start(ini);
  RunToolsCommand("mnuCloseWithoutSave");
  EXPECT_EQ(Form->State().Settings.Tools[5].Diameter, 80.0);
  EXPECT_EQ(Runs(), 1);
  EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(TToolsCommandTest, ASettingsFileThatCannotBeWrittenIsReported) {
  // A settings folder that cannot be made: a plain file stands where it would be.
  const std::string blocker = Dir.File("not a folder");
  std::ofstream(blocker) << "x";
  const std::string ini = blocker + "/velquor.INI";
  Start(ini);
  RunToolsCommand("mnuSaveAndClose");
  EXPECT_EQ(Form->State().Settings.Tools[5].Diameter, 6.0);
  EXPECT_EQ(Runs(), 2);
  bool reported = false;
  for (const QString& l : Form->InfoPane().toPlainText().split('\n'))
    reported |= l.startsWith("Settings file not written (") && l.contains(QString::fromStdString(ini));
  EXPECT_TRUE(reported) << Form->InfoPane().toPlainText().toStdString();
}

}  // namespace
