#include "windows/show_cnc_file.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>
#include <optional>
#include <tuple>
#include <vector>

#include "tests/platform/test_files.h"
#include "tests/support/scripted_dialogs.h"

namespace {

class ShowCncFileTest : public testing::Test {
 protected:
  ShowCncFileTest() { Window.SetDialogs(Script.Dialogs()); }
  QString File(const std::string& name, const std::string& bytes) {
    WriteBytes(Folder.File(name), bytes);
    return QString::fromStdString(Folder.File(name));
  }
  std::string Bytes(const QString& path) { return ReadBytes(path.toStdString()); }
  // The file's bytes, the window's text and its changed mark.
  std::tuple<std::string, std::string, bool> Shown(const QString& path) {
    return {Bytes(path), Window.Memo()->toPlainText().toStdString(), Window.Changed()};
  }
  QToolButton* Button(const char* name) { return Window.findChild<QToolButton*>(name); }
  void Type(const QString& text) {
    Window.Memo()->moveCursor(QTextCursor::End);
    QTest::keyClicks(Window.Memo(), text);
  }

  TTempFolder Folder;
  TScriptedDialogs Script;
  TfrmShowCncFile Window;
};

TEST_F(ShowCncFileTest, CaptionButtonsAndStartText) {
  EXPECT_EQ(Window.windowTitle(), "Cnc-File view[*]");  // shown as "Cnc-File view", "*" when changed
  EXPECT_EQ(Window.size(), QSize(771, 756));
  EXPECT_EQ(Window.Memo()->toPlainText(), "Memo1");
  Window.show();
  QApplication::processEvents();
  const struct {
    const char* Name;
    const char* Caption;
    const char* Tip;
  } buttons[] = {
      {"btnClose", "Close", "Close window"},
      {"btnOpen", "Open CNC file", "Open CNC file"},
      {"btnSave", "Save", "Save program"},
      {"btnCreateNumbers", "Create program number", "Create program numbers"},
      {"btnClearNumbers", "Clear program number", "Clear program numbers"},
      {"btnOpenVelquor", "", "Open Velquor"},
  };
  int left = -1;
  for (const auto& b : buttons) {
    QToolButton* button = Button(b.Name);
    ASSERT_NE(button, nullptr) << b.Name;
    EXPECT_EQ(button->text(), b.Caption);
    EXPECT_EQ(button->toolTip(), b.Tip);
    EXPECT_FALSE(button->icon().isNull()) << b.Name;
    EXPECT_GT(button->x(), left) << b.Name << " left to right";
    left = button->x();
  }
}

TEST_F(ShowCncFileTest, LoadShowsTheTextAndTypingMarksItChanged) {
  ASSERT_TRUE(Window.Load(File("a.cnc", "G01 X5\r\nM30\r\n")));
  EXPECT_EQ(Window.Memo()->toPlainText(), "G01 X5\nM30\n");
  EXPECT_FALSE(Window.Changed());
  Type("G00");
  EXPECT_TRUE(Window.Changed());
  EXPECT_TRUE(Window.isWindowModified());
  // Loading another file clears the mark.
  ASSERT_TRUE(Window.Load(File("b.cnc", "M30\n")));
  EXPECT_FALSE(Window.Changed());
}

// No hides the window without writing; yes saves, keeping the line ends and the encoding.
TEST_F(ShowCncFileTest, CloseWithAChangedTextAsksThenHidesSavingOnYesOnly) {
  const std::string original = "(Fr\xE4ser)\r\nG01 X5\r\n";
  for (const bool yes : {false, true}) {
    SCOPED_TRACE(yes ? "yes" : "no");
    const QString path = File("a.cnc", original);
    Window.show();
    ASSERT_TRUE(Window.Load(path));
    Type("M30");
    Script.Answers = {yes};
    Button("btnClose")->click();
    ASSERT_FALSE(Script.YesNoQuestions.empty());
    EXPECT_EQ(Script.YesNoQuestions.back().Title, "Info");
    EXPECT_EQ(Script.YesNoQuestions.back().Text, "program has been changed - Save?");
    EXPECT_TRUE(Script.YesNoQuestions.back().DefaultYes);
    EXPECT_FALSE(Window.isVisible());
    EXPECT_EQ(Bytes(path), yes ? original + "M30" : original);
    EXPECT_EQ(Window.Changed(), !yes);
  }
  EXPECT_EQ(Script.YesNoQuestions.size(), 2u);
}

TEST_F(ShowCncFileTest, CreateNumbersWritesTheFileAndMarksTheText) {
  const QString path = File("a.cnc", "G00 X0\nG01 X5\nM30\n");
  ASSERT_TRUE(Window.Load(path));
  const std::string numbered = "N00000 G00 X0\r\nN00010 G01 X5\r\nN00020 M30\r\n";
  Button("btnCreateNumbers")->click();
  EXPECT_EQ(Shown(path), std::make_tuple(numbered, "N00000 G00 X0\nN00010 G01 X5\nN00020 M30\n", true));
  // Clearing gives the lines back, in the window only.
  Button("btnClearNumbers")->click();
  EXPECT_EQ(Shown(path), std::make_tuple(numbered, "G00 X0\nG01 X5\nM30\n", true));
  Button("btnSave")->click();
  EXPECT_EQ(Shown(path), std::make_tuple("G00 X0\r\nG01 X5\r\nM30\r\n", "G00 X0\nG01 X5\nM30\n", false));
}

TEST_F(ShowCncFileTest, NumberingAnEmptyTextDoesNothing) {
  const QString path = File("empty.cnc", "");
  ASSERT_TRUE(Window.Load(path));
  Button("btnCreateNumbers")->click();
  Button("btnClearNumbers")->click();
  EXPECT_EQ(Shown(path), std::make_tuple("", "", false));
}

TEST_F(ShowCncFileTest, AFileThatCannotBeReadKeepsTheText) {
  ASSERT_TRUE(Window.Load(File("a.cnc", "G01 X5\n")));
  Type("G02");
  EXPECT_FALSE(Window.Load(File("binary.cnc", std::string("\0\1\2", 3))));
  ASSERT_EQ(Script.Warnings.size(), 1u);
  EXPECT_TRUE(Script.Warnings[0].contains("binary.cnc")) << Script.Warnings[0].toStdString();
  EXPECT_EQ(Window.Memo()->toPlainText(), "G01 X5\nG02");
  EXPECT_TRUE(Window.FileName().endsWith("a.cnc"));
  EXPECT_TRUE(Window.Changed());
}

TEST_F(ShowCncFileTest, AFailedSaveKeepsTheWindowOpenAndTheTextChanged) {
  std::filesystem::create_directory(Folder.File("gone"));
  const QString path = File("gone/a.cnc", "G01 X5\n");
  Window.show();
  ASSERT_TRUE(Window.Load(path));
  Type("G02");
  std::filesystem::remove_all(Folder.File("gone"));
  Script.Answers = {true};  // save? yes
  Window.close();
  ASSERT_EQ(Script.Warnings.size(), 1u);
  EXPECT_TRUE(Script.Warnings[0].contains("a.cnc")) << Script.Warnings[0].toStdString();
  EXPECT_TRUE(Window.isVisible());
  EXPECT_TRUE(Window.Changed());
}

TEST_F(ShowCncFileTest, OpenAsksForAChangedTextThenLoadsTheChosenFile) {
  const QString first = File("a.cnc", "G01 X5\n");
  const QString second = File("b.cnc", "M30\n");
  ASSERT_TRUE(Window.Load(first));
  Type("G02");
  Script.Answers = {false};
  Script.Files = {second};
  Button("btnOpen")->click();
  ASSERT_EQ(Script.FileQuestions.size(), 1u);
  EXPECT_EQ(Script.FileQuestions[0].Title, "Open CNC file");
  EXPECT_EQ(Script.FileQuestions[0].Start, first) << "the dialog starts at the file shown";
  EXPECT_EQ(Script.YesNoQuestions.size(), 1u);
  EXPECT_EQ(Window.FileName(), second);
  EXPECT_EQ(Window.Memo()->toPlainText(), "M30\n");
  EXPECT_FALSE(Window.Changed());
  EXPECT_EQ(Bytes(first), "G01 X5\n");
}

TEST_F(ShowCncFileTest, EditFileFromTheViewerShowsTheWindow) {
  ASSERT_TRUE(Window.EditFile(File("a.cnc", "G01 X5\n")));
  EXPECT_TRUE(Window.isVisible());
  EXPECT_EQ(Window.Memo()->toPlainText(), "G01 X5\n");
}

}  // namespace

TEST_F(ShowCncFileTest, SelectBlockSelectsTheLineWithThatNumber) {
  ASSERT_TRUE(Window.Load(File("n.cnc", "N10 G00 X0\r\nN20 G01 X5 Y7\r\nN30 M30\r\n")));
  EXPECT_TRUE(Window.SelectBlock(20));
  EXPECT_EQ(Window.Memo()->textCursor().selectedText(), "N20 G01 X5 Y7");
  EXPECT_FALSE(Window.SelectBlock(40));
  EXPECT_EQ(Window.Memo()->textCursor().selectedText(), "N20 G01 X5 Y7") << "kept when no line has it";
}

TEST_F(ShowCncFileTest, DoubleClickOnALineSelectsItAndNamesIt) {
  // Lines ended by CR alone are lines here as they are to the engine.
  ASSERT_TRUE(Window.Load(File("d.cnc", "N10 G00 X0\rG01 X5 Y7\rN30 M30\r")));
  Window.show();
  QApplication::processEvents();
  std::vector<int> seen;
  QObject::connect(&Window, &TfrmShowCncFile::LineDoubleClicked, [&](int line) { seen.push_back(line); });
  QPlainTextEdit& memo = *Window.Memo();
  const auto lineCentre = [&](int line) {
    QTextCursor c(memo.document()->findBlockByNumber(line));
    return memo.cursorRect(c).center() + QPoint(4, 0);
  };
  QTest::mouseDClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, lineCentre(2));
  QTest::mouseDClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, lineCentre(1));
  EXPECT_EQ(seen, (std::vector<int>{2, 1}));
  EXPECT_EQ(memo.textCursor().selectedText(), "G01 X5 Y7") << "the whole line, not a word";
  EXPECT_FALSE(Window.Changed());
}
