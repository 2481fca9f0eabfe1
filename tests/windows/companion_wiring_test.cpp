// The main window opens the program text window, the about window and the splash.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTimer>

#include "app/main_window.h"
#include "tests/platform/test_files.h"
#include "tests/support/scripted_dialogs.h"
#include "windows/about_box.h"
#include "windows/show_cnc_file.h"
#include "windows/startup_window.h"

namespace {

class CompanionWiringTest : public testing::Test {
 protected:
  CompanionWiringTest() {
    TStartPaths paths = TStartPaths::BesideExecutable();
    paths.SettingsFile = Folder.File("velquor.INI");
    Form = std::make_unique<TForm1>(paths);
    Form->SetCompanions({&About, &Startup, &Text});
    Form->SetDialogs(Script.Dialogs());
    Text.SetDialogs(Script.Dialogs());
    Form->show();
  }

  TTempFolder Folder;
  TScriptedDialogs Script;
  TAboutBox About;
  TfrmStartup Startup;
  TfrmShowCncFile Text;
  std::unique_ptr<TForm1> Form;
};

TEST_F(CompanionWiringTest, EditCncFileLoadsTheChosenFileIntoTheTextWindow) {
  WriteBytes(Folder.File("a.cnc"), "G01 X5\r\n");
  Script.Files = {QString::fromStdString(Folder.File("a.cnc"))};
  Form->btnEditClick();
  EXPECT_TRUE(Text.isVisible());
  EXPECT_EQ(Text.Memo()->toPlainText(), "G01 X5\n");
  EXPECT_TRUE(Form->State().CurrentFile.empty()) << "editing does not process the file";
}

TEST_F(CompanionWiringTest, CancelledEditLeavesTheTextWindowHidden) {
  Script.Files = {QString()};
  Form->btnEditClick();
  EXPECT_FALSE(Text.isVisible());
}

TEST_F(CompanionWiringTest, AboutShowsTheAboutWindowNotModal) {
  Form->mnuAboutClick();
  EXPECT_TRUE(About.isVisible());
  EXPECT_FALSE(About.isModal());
}

TEST_F(CompanionWiringTest, CloseProgramAsksForTheChangedTextThenShowsTheSplash) {
  WriteBytes(Folder.File("a.cnc"), "G01 X5\n");
  ASSERT_TRUE(Text.EditFile(QString::fromStdString(Folder.File("a.cnc"))));
  Text.Memo()->appendPlainText("M30");
  Script.Answers = {false};
  QSignalSpy ticks(Startup.FadeOutTimer(), &QTimer::timeout);
  Form->mnuCloseClick();
  EXPECT_EQ(Script.YesNoQuestions.size(), 1u);
  EXPECT_EQ(ticks.count(), TSplashCountdown::kTicks);
  EXPECT_FALSE(Startup.isVisible());
  EXPECT_FALSE(Form->isVisible());
  EXPECT_EQ(ReadBytes(Folder.File("a.cnc")), "G01 X5\n");
}

TEST_F(CompanionWiringTest, AFailedSaveKeepsTheProgramOpen) {
  std::filesystem::create_directory(Folder.File("gone"));
  WriteBytes(Folder.File("gone/a.cnc"), "G01 X5\n");
  ASSERT_TRUE(Text.EditFile(QString::fromStdString(Folder.File("gone/a.cnc"))));
  Text.Memo()->appendPlainText("M30");
  std::filesystem::remove_all(Folder.File("gone"));
  Script.Answers = {true};
  Form->close();
  EXPECT_EQ(Script.Warnings.size(), 1u);
  EXPECT_TRUE(Form->isVisible());
  EXPECT_TRUE(Text.isVisible());
  EXPECT_FALSE(Startup.isVisible());
}

}  // namespace
