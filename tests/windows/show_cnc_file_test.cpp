#include "windows/show_cnc_file.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>
#include <optional>
#include <vector>

#include "tests/platform/test_files.h"
#include "tests/windows/modal_answer.h"

namespace {

class ShowCncFileTest : public testing::Test {
 protected:
  QString File(const std::string& name, const std::string& bytes) {
    WriteBytes(Folder.File(name), bytes);
    return QString::fromStdString(Folder.File(name));
  }
  std::string Bytes(const QString& path) { return ReadBytes(path.toStdString()); }
  QToolButton* Button(const char* name) { return Window.findChild<QToolButton*>(name); }
  void Type(const QString& text) {
    Window.Memo()->moveCursor(QTextCursor::End);
    QTest::keyClicks(Window.Memo(), text);
  }

  TTempFolder Folder;
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

TEST_F(ShowCncFileTest, CloseWithAChangedTextAndNoHidesWithoutWriting) {
  const QString path = File("a.cnc", "G01 X5\n");
  Window.show();
  ASSERT_TRUE(Window.Load(path));
  Type("G02");
  TMessageSeen seen;
  AnswerNextMessageBox(&Window, QMessageBox::No, &seen);
  Button("btnClose")->click();
  EXPECT_EQ(seen.Count, 1);
  EXPECT_EQ(seen.Title, "Info");
  EXPECT_EQ(seen.Text, "program has been changed - Save?");
  EXPECT_FALSE(Window.isVisible());
  EXPECT_EQ(Bytes(path), "G01 X5\n");
}

TEST_F(ShowCncFileTest, CloseWithYesSavesKeepingLineEndsAndEncoding) {
  const QString path = File("a.cnc", "(Fr\xE4ser)\r\nG01 X5\r\n");
  Window.show();
  ASSERT_TRUE(Window.Load(path));
  Type("M30");
  AnswerNextMessageBox(&Window, QMessageBox::Yes);
  Window.close();
  EXPECT_FALSE(Window.isVisible());
  EXPECT_EQ(Bytes(path), "(Fr\xE4ser)\r\nG01 X5\r\nM30");
  EXPECT_FALSE(Window.Changed());
}

TEST_F(ShowCncFileTest, CreateNumbersWritesTheFileAndMarksTheText) {
  const QString path = File("a.cnc", "G00 X0\nG01 X5\nM30\n");
  ASSERT_TRUE(Window.Load(path));
  Button("btnCreateNumbers")->click();
  EXPECT_EQ(Bytes(path), "N00000 G00 X0\r\nN00010 G01 X5\r\nN00020 M30\r\n");
  EXPECT_EQ(Window.Memo()->toPlainText(), "N00000 G00 X0\nN00010 G01 X5\nN00020 M30\n");
  EXPECT_TRUE(Window.Changed());
  // Clearing gives the lines back, in the window only.
  Button("btnClearNumbers")->click();
  EXPECT_EQ(Window.Memo()->toPlainText(), "G00 X0\nG01 X5\nM30\n");
  EXPECT_EQ(Bytes(path), "N00000 G00 X0\r\nN00010 G01 X5\r\nN00020 M30\r\n");
  EXPECT_TRUE(Window.Changed());
  Button("btnSave")->click();
  EXPECT_EQ(Bytes(path), "G00 X0\r\nG01 X5\r\nM30\r\n");
  EXPECT_FALSE(Window.Changed());
}

TEST_F(ShowCncFileTest, NumberingAnEmptyTextDoesNothing) {
  const QString path = File("empty.cnc", "");
  ASSERT_TRUE(Window.Load(path));
  Button("btnCreateNumbers")->click();
  Button("btnClearNumbers")->click();
  EXPECT_EQ(Bytes(path), "");
  EXPECT_EQ(Window.Memo()->toPlainText(), "");
  EXPECT_FALSE(Window.Changed());
}

TEST_F(ShowCncFileTest, AFileThatCannotBeReadKeepsTheText) {
  ASSERT_TRUE(Window.Load(File("a.cnc", "G01 X5\n")));
  Type("G02");
  TMessageSeen seen;
  AnswerNextMessageBox(&Window, QMessageBox::Ok, &seen);
  EXPECT_FALSE(Window.Load(File("binary.cnc", std::string("\0\1\2", 3))));
  EXPECT_EQ(seen.Count, 1);
  EXPECT_TRUE(seen.Text.contains("binary.cnc")) << seen.Text.toStdString();
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
  TMessageSeen error;
  AnswerNextMessageBox(&Window, QMessageBox::Yes);  // save? yes
  OnNextModal<QMessageBox>(&Window, [&](QMessageBox* box) {
    if (box->text().startsWith("program")) return false;  // the question, not the failure
    error.Text = box->text();
    box->button(QMessageBox::Ok)->click();
    return true;
  });
  Window.close();
  EXPECT_TRUE(error.Text.contains("a.cnc")) << error.Text.toStdString();
  EXPECT_TRUE(Window.isVisible());
  EXPECT_TRUE(Window.Changed());
}

TEST_F(ShowCncFileTest, OpenAsksForAChangedTextThenLoadsTheChosenFile) {
  const QString first = File("a.cnc", "G01 X5\n");
  const QString second = File("b.cnc", "M30\n");
  ASSERT_TRUE(Window.Load(first));
  Type("G02");
  AnswerNextMessageBox(&Window, QMessageBox::No);
  int dialogs = 0;
  OnNextModal<QFileDialog>(&Window, [&](QFileDialog* d) {
    ++dialogs;
    d->selectFile(second);
    static_cast<QDialog*>(d)->accept();
    return true;
  });
  Button("btnOpen")->click();
  EXPECT_EQ(dialogs, 1);
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

TEST_F(ShowCncFileTest, DoubleClickOnALineSelectsItAndNamesItsBlockNumber) {
  ASSERT_TRUE(Window.Load(File("d.cnc", "N10 G00 X0\r\nG01 X5 Y7\r\nN30 M30\r\n")));
  Window.show();
  QApplication::processEvents();
  std::vector<std::pair<int, std::optional<int32_t>>> seen;
  QObject::connect(&Window, &TfrmShowCncFile::LineDoubleClicked,
                   [&](int line, std::optional<int32_t> block) { seen.emplace_back(line, block); });
  QPlainTextEdit& memo = *Window.Memo();
  const auto lineCentre = [&](int line) {
    QTextCursor c(memo.document()->findBlockByNumber(line));
    return memo.cursorRect(c).center() + QPoint(4, 0);
  };
  QTest::mouseDClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, lineCentre(2));
  QTest::mouseDClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, lineCentre(1));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::make_pair(2, std::optional<int32_t>(30)));
  EXPECT_EQ(seen[1], std::make_pair(1, std::optional<int32_t>()));
  EXPECT_EQ(memo.textCursor().selectedText(), "G01 X5 Y7") << "the whole line, not a word";
  EXPECT_FALSE(Window.Changed());
}
