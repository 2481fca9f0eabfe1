// The tool window with its preview and help windows, driven as a user would, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "tests/platform/test_files.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/tools/modal_helper.h"
#include "tools/info_tool_def_window.h"
#include "tools/tool_preview_window.h"
#include "tools/tool_table.h"
#include "tools/tools_window.h"

namespace {

class ToolsWindow : public testing::Test {
 protected:
  ToolsWindow() {
    Tools.SetToolWindows(&Help, &Preview);
    Tools.SetDialogs(Script.Dialogs());
  }

  QString Cell(int gridRow, int column) const { return Tools.Grid()->item(gridRow - 1, column)->text(); }
  void SetCell(int gridRow, int column, const QString& text) { Tools.Grid()->item(gridRow - 1, column)->setText(text); }
  QAction* Action(const char* name) const { return Tools.findChild<QAction*>(name); }

  // Shows the window modally and leaves it through the menu entry `exit`.
  bool ExecuteAndLeave(const char* exit) {
    bool left = false;
    WhenModal<TfrmTools>([&](TfrmTools* w) {
      w->findChild<QAction*>(exit)->trigger();
      left = true;
    });
    const bool saved = Tools.Execute(Settings);
    EXPECT_TRUE(left);
    return saved;
  }

  std::string DrillFile(int tools) {
    std::string text = "M48\nMETRIC,TZ\n";
    for (int t = 1; t <= tools; ++t) text += "T" + std::to_string(t) + "C0." + std::to_string(t) + "\n";
    text += "%\nT1\nX1Y1\n";
    const std::string path = Dir.File("board" + std::to_string(tools) + ".drl");
    WriteBytes(path, text);
    return path;
  }

  // Imports through the preview and leaves it with `button`.
  void Import(const std::string& path, bool accept) {
    bool shown = false;
    WhenModal<TfrmToolPreview>([&](TfrmToolPreview* p) {
      shown = true;
      (accept ? p->AcceptButton() : p->RejectButton())->click();
    });
    Tools.ImportToolDefinition(path);
    EXPECT_TRUE(shown);
  }

  TTempFolder Dir;
  TScriptedDialogs Script;
  TCncType Settings;
  TfrmTools Tools;
  TfrmInfoToolDef Help;
  TfrmToolPreview Preview;
};

TEST_F(ToolsWindow, AFileWithToolsT00ToT09FillsTheOtherRowsWithDefaults) {
  std::string text = "[Tools]\n";
  for (int n = 0; n <= 9; ++n) text += "T0" + std::to_string(n) + " Name=cutter " + std::to_string(n) + "\n";
  WriteBytes(Dir.File("ten.ini"), text);
  Tools.HandOver(Settings.Tools);
  SetCell(11, 1, "edited");
  Tools.OpenToolDefinition(Dir.File("ten.ini"));
  EXPECT_EQ(Cell(10, 1), "cutter 9");
  EXPECT_EQ(Cell(10, 2), "80");
  for (int row = 11; row <= 255; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(Cell(row, 0), QString::fromStdString(ToolLabel(row - 1)));
    EXPECT_EQ(Cell(row, 1), "not specified");
    EXPECT_EQ(Cell(row, 2), "80");
    EXPECT_EQ(Cell(row, 3), "20");
    EXPECT_EQ(Cell(row, 4), "2000");
    EXPECT_EQ(Cell(row, 5), "10000");
  }
}

TEST_F(ToolsWindow, ToolsFromT99OnSurviveHandOverFilesAndTakeOver) {
  Settings.Tools[99] = ToolParam{6.35, 31, "quarter inch", 24000, 450};
  Settings.Tools[254] = ToolParam{0.6096, 5, "last", 1, 2};
  const std::string path = Dir.File("deep");
  WhenModal<TfrmTools>([&](TfrmTools* w) {
    EXPECT_EQ(Cell(100, 0), "T99");
    EXPECT_EQ(Cell(100, 2), "6.35");
    EXPECT_EQ(Cell(255, 2), "0.6096");

    EXPECT_TRUE(w->SaveToolDefinition(path));  // ".ini" is added
    std::string text = ReadBytes(path + ".ini");
    EXPECT_NE(text.find("T99 Name=quarter inch\nT99 Diameter=6.35\nT99 Height=31.0\nT99 Feed=450\nT99 Speed=24000\n"),
              std::string::npos);
    EXPECT_NE(text.find("T254 Diameter=0.6096\n"), std::string::npos);

    text.replace(text.find("T200 Name=not specified"), 23, "T200 Name=from the file");
    WriteBytes(path + ".ini", text);
    SetCell(100, 1, "overwritten by the file");
    w->OpenToolDefinition(path + ".ini");
    EXPECT_EQ(Cell(100, 1), "quarter inch");
    EXPECT_EQ(Cell(201, 1), "from the file");
    Settings.Tools[99] = ToolParam{};  // the window writes only on take-over
    w->findChild<QAction*>("mnuSaveAndClose")->trigger();
  });
  EXPECT_TRUE(Tools.Execute(Settings));
  EXPECT_EQ(Settings.Tools[99].Name, "quarter inch");
  EXPECT_EQ(Settings.Tools[99].Diameter, 6.35);
  EXPECT_EQ(Settings.Tools[99].Height, 31.0);
  EXPECT_EQ(Settings.Tools[99].Feed, 450);
  EXPECT_EQ(Settings.Tools[99].Speed, 24000);
  EXPECT_EQ(Settings.Tools[200].Name, "from the file");
  EXPECT_EQ(Settings.Tools[254].Diameter, 0.6096);
}

TEST_F(ToolsWindow, AnsweringNoLeavesAnExistingFileAsItWas) {
  const std::string path = Dir.File("keep.ini");
  WriteBytes(path, "[Tools]\nT00 Name=precious\n");
  Tools.HandOver(Settings.Tools);
  for (const bool yes : {false, true}) {
    Script.Answers = {yes};
    EXPECT_EQ(Tools.SaveToolDefinition(path), yes);
    EXPECT_EQ(Script.YesNoQuestions.back().Title, "Datei existiert bereits");
    EXPECT_EQ(Script.YesNoQuestions.back().Text,
              "Eine Datei mit diesem Namen existiert bereits. Soll diese überschrieben werden?");
    EXPECT_FALSE(Script.YesNoQuestions.back().DefaultYes);
    EXPECT_EQ(ReadBytes(path).find("precious") != std::string::npos, !yes);
  }
}

TEST_F(ToolsWindow, OnlyCloseAndSaveAnswersYes) {
  EXPECT_TRUE(ExecuteAndLeave("mnuSaveAndClose"));
  EXPECT_TRUE(Tools.ClosedWithSave());
  Settings.Tools[3].Name = "changed after the save";
  EXPECT_FALSE(ExecuteAndLeave("mnuCloseWithoutSave"));
  EXPECT_EQ(Settings.Tools[3].Name, "changed after the save");

  // The close box.
  WhenModal<TfrmTools>([](TfrmTools* w) { w->close(); });
  Tools.HandOver(Settings.Tools);
  SetCell(4, 1, "lost");
  EXPECT_FALSE(Tools.Execute(Settings));
  EXPECT_EQ(Settings.Tools[3].Name, "changed after the save");
}

TEST_F(ToolsWindow, TakeOverReadsDecimalCommasAndTheCellBeingTyped) {
  WhenModal<TfrmTools>([](TfrmTools* w) {
    QTableWidget* grid = w->Grid();
    grid->item(0, 2)->setText("3,5");
    grid->item(0, 3)->setText("abc");
    // Typing into a cell and pressing Ctrl+F4 before leaving it.
    grid->setCurrentCell(1, 1);
    grid->editItem(grid->item(1, 1));
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    EXPECT_NE(editor, nullptr);
    if (editor) editor->setText("typed");
    w->findChild<QAction*>("mnuSaveAndClose")->trigger();
  });
  EXPECT_TRUE(Tools.Execute(Settings));
  EXPECT_EQ(Settings.Tools[0].Diameter, 3.5);
  EXPECT_EQ(Settings.Tools[0].Height, 0.0);
  EXPECT_EQ(Settings.Tools[1].Name, "typed");
}

TEST_F(ToolsWindow, ImportOfTwelveToolsThenAcceptReplacesTheGrid) {
  Tools.HandOver(Settings.Tools);
  Import(DrillFile(20), true);  // an earlier, longer import must leave nothing behind
  EXPECT_EQ(Cell(20, 0), "20");
  Import(DrillFile(12), true);
  for (int row = 1; row <= 12; ++row) {
    EXPECT_EQ(Cell(row, 0), QString::number(row));
    EXPECT_EQ(Cell(row, 1), "");
    EXPECT_EQ(Cell(row, 3), "20.00");
  }
  EXPECT_EQ(Cell(1, 2), "0.10");
  EXPECT_EQ(Cell(12, 2), "0.12");
  for (int row = 13; row <= 255; ++row)
    for (int c = 0; c < 6; ++c) EXPECT_EQ(Cell(row, c), "") << row << " " << c;
  EXPECT_TRUE(Preview.Log()->toPlainText().contains("Line 2 ignored: METRIC,TZ"));

  EXPECT_TRUE(ExecuteAndLeave("mnuSaveAndClose"));
  // Execute hands the table over again: the import was in the grid of the earlier showing.
  EXPECT_EQ(Settings.Tools[12].Name, "not specified");
}

TEST_F(ToolsWindow, ImportTakenOverEmptiesTheToolsBeyondIt) {
  const std::string path = DrillFile(12);
  WhenModal<TfrmTools>([&](TfrmTools* w) {
    bool shown = false;
    WhenModal<TfrmToolPreview>([&](TfrmToolPreview* p) {
      shown = true;
      p->AcceptButton()->click();
    });
    w->ImportToolDefinition(path);
    EXPECT_TRUE(shown);
    w->findChild<QAction*>("mnuSaveAndClose")->trigger();
  });
  EXPECT_TRUE(Tools.Execute(Settings));
  EXPECT_EQ(Settings.Tools[0].Diameter, 0.1);
  EXPECT_EQ(Settings.Tools[11].Diameter, 0.12);
  for (int n = 12; n < kToolCount; ++n) {
    EXPECT_EQ(Settings.Tools[n].Name, "");
    EXPECT_EQ(Settings.Tools[n].Diameter, 0.0);
    EXPECT_EQ(Settings.Tools[n].Height, 0.0);
    EXPECT_EQ(Settings.Tools[n].Feed, 0);
    EXPECT_EQ(Settings.Tools[n].Speed, 0);
  }
}

TEST_F(ToolsWindow, RejectedOrFailedImportsKeepTheGrid) {
  Tools.HandOver(Settings.Tools);
  Import(DrillFile(3), false);
  EXPECT_EQ(Cell(1, 0), "T00");
  EXPECT_EQ(Cell(1, 1), "not specified");
  EXPECT_EQ(Preview.Result(), "");

  Tools.ImportToolDefinition(Dir.File("missing.drl"));  // no preview is shown
  EXPECT_EQ(Cell(1, 0), "T00");
  EXPECT_TRUE(Tools.Memo()->toPlainText().startsWith("Failure on reading Tool definition\n"));
  EXPECT_TRUE(Tools.Memo()->toPlainText().contains("Failure on open/close file"));
}

TEST_F(ToolsWindow, SaveMenuAsksForANameAndAddsIni) {
  Tools.HandOver(Settings.Tools);
  Script.Files = {QString::fromStdString(Dir.File("mine"))};
  Action("mnuSave")->trigger();
  ASSERT_EQ(Script.FileQuestions.size(), 1u);
  const TFileQuestion& asked = Script.FileQuestions[0];
  EXPECT_EQ(asked.Title, "Save tool definiton");
  EXPECT_EQ(asked.Action, TFileAction::Save);
  EXPECT_EQ(asked.Start, Tools.StartFolder() + "ToolDef");
  EXPECT_FALSE(asked.ConfirmOverwrite) << "the window asks itself, after adding .ini";
  EXPECT_NE(ReadBytes(Dir.File("mine.ini")).find("T00 Name=not specified"), std::string::npos);
}

TEST_F(ToolsWindow, OpenAndImportMenusAskForAFile) {
  Tools.HandOver(Settings.Tools);
  WriteBytes(Dir.File("one.ini"), "[Tools]\nT00 Name=from the menu\n");
  Script.Files = {QString::fromStdString(Dir.File("one.ini")), QString()};
  Action("mnuOpen")->trigger();
  EXPECT_EQ(Cell(1, 1), "from the menu");
  Action("mnuImport")->trigger();  // cancelled: nothing is read, no preview shows
  EXPECT_EQ(Cell(1, 0), "T00");
  ASSERT_EQ(Script.FileQuestions.size(), 2u);
  EXPECT_EQ(Script.FileQuestions[0].Title, "Open tool definition");
  EXPECT_EQ(Script.FileQuestions[0].Start, Tools.StartFolder());
  EXPECT_EQ(Script.FileQuestions[1].Title, "Import tool definition form Gerber file");
  EXPECT_EQ(Script.FileQuestions[1].Action, TFileAction::Open);
}

TEST_F(ToolsWindow, UnreadableAndUnwritableFilesAreReported) {
  Tools.HandOver(Settings.Tools);
  SetCell(1, 1, "kept");
  Tools.OpenToolDefinition(Dir.Path());  // a folder
  EXPECT_EQ(Cell(1, 1), "kept");
  EXPECT_TRUE(Tools.Memo()->toPlainText().startsWith("Cannot read tool definition"));

  EXPECT_FALSE(Tools.SaveToolDefinition(Dir.File("no such folder/x.ini")));
  EXPECT_TRUE(Tools.Memo()->toPlainText().contains("Cannot write tool definition"));
}

TEST(ToolWindows, CreatedTogetherTheyWorkTogether) {
  QWidget owner;
  const TToolWindows w = CreateToolWindows(&owner);
  EXPECT_EQ(w.Tools->parentWidget(), &owner);
  EXPECT_FALSE(w.Tools->isVisible());
  bool helpShown = false;
  WhenModal<TfrmTools>([&](TfrmTools* tools) {
    WhenModal<TfrmInfoToolDef>([&](TfrmInfoToolDef* help) {
      helpShown = help == w.Help;
      help->CloseButton()->click();
    });
    tools->findChild<QAction*>("mnuToolDef")->trigger();
    tools->findChild<QAction*>("mnuCloseWithoutSave")->trigger();
  });
  TCncType settings;
  EXPECT_FALSE(w.Tools->Execute(settings));
  EXPECT_TRUE(helpShown);
  EXPECT_FALSE(w.Tools->isVisible());  // hidden, not destroyed
}

}  // namespace
