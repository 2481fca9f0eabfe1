// What the tool windows show when created: captions, sizes, grids, menus, help text.
#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "tools/info_tool_def_window.h"
#include "tools/tool_preview_window.h"
#include "tools/tools_window.h"

namespace {

QStringList Headings(const QTableWidget* grid) {
  QStringList h;
  for (int c = 0; c < grid->columnCount(); ++c) h << grid->horizontalHeaderItem(c)->text();
  return h;
}

// Columns as wide as given or as their heading needs; the name column fills the rest.
void ExpectToolGrid(QWidget* window, const QTableWidget* grid) {
  window->show();
  EXPECT_EQ(grid->rowCount(), 255);
  const int widths[] = {70, 250, 80, 80, 80, 80};
  int total = 0;
  for (int c = 0; c < 6; ++c) {
    total += grid->columnWidth(c);
    if (c == 1) continue;
    EXPECT_GE(grid->columnWidth(c), widths[c]) << c;
    EXPECT_GE(grid->columnWidth(c), grid->horizontalHeader()->sectionSizeHint(c)) << c;
  }
  EXPECT_GE(grid->columnWidth(1), 150);
  EXPECT_LE(total, grid->viewport()->width());
  EXPECT_EQ(grid->rowHeight(0), 18);
  EXPECT_EQ(grid->rowHeight(254), 18);
  EXPECT_FALSE(grid->horizontalHeader()->sectionsMovable());
  EXPECT_FALSE(grid->verticalHeader()->isVisible());
}

TEST(ToolWindowsLook, ToolWindow) {
  TfrmTools w;
  EXPECT_EQ(w.windowTitle(), "Tools");
  EXPECT_EQ(w.width(), 665);
  EXPECT_EQ(w.height() - w.MenuBar()->sizeHint().height(), 447);
  EXPECT_EQ(Headings(w.Grid()),
            QStringList({"Tool number", "Tool name", "Diameter [mm]", "Height [mm]", "Feed [mm/s]", "Speed [rpm]"}));
  ExpectToolGrid(&w, w.Grid());
  EXPECT_EQ(w.Grid()->item(0, 0)->text(), "T00");
  EXPECT_EQ(w.Grid()->item(98, 0)->text(), "T98");
  EXPECT_EQ(w.Grid()->item(254, 0)->text(), "T254");
  EXPECT_FALSE(w.Grid()->item(3, 0)->flags() & Qt::ItemIsEditable);
  EXPECT_TRUE(w.Grid()->item(254, 5)->flags() & Qt::ItemIsEditable);
  EXPECT_EQ(w.Memo()->toPlainText(), "");
  EXPECT_TRUE(w.Memo()->isReadOnly());
  EXPECT_EQ(w.Memo()->height(), 127);
  EXPECT_TRUE(w.StartFolder().endsWith("/ToolDefinition/"));
}

TEST(ToolWindowsLook, ToolWindowMenus) {
  TfrmTools w;
  const struct {
    const char* Name;
    const char* Menu;
    const char* Caption;
    const char* Shortcut;
  } entries[] = {
      {"mnuOpen", "&File", "&Open tool definition to file", "Ctrl+F"},
      {"mnuSave", "&File", "&Save tool definition to file", "Ctrl+S"},
      {"mnuImport", "Import", "Import tool definition form Gerber file", "Ctrl+I"},
      {"mnuSaveAndClose", "&File", "Close and save tool defintion for current job", "Ctrl+F4"},
      {"mnuCloseWithoutSave", "&File", "Close without save tool definition to current job", "Ctrl+F5"},
      {"mnuToolDef", "&Info", "&Tool definition", "Ctrl+T"},
      {"mnuInfoOrvik", "&Info", "Info about ORVIK CNC controller", ""},
  };
  for (const auto& e : entries) {
    SCOPED_TRACE(e.Name);
    const QAction* a = w.findChild<QAction*>(e.Name);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(), e.Caption);
    EXPECT_EQ(a->shortcut(), QKeySequence(e.Shortcut));
    bool inMenu = false;
    for (const QMenu* m : w.findChildren<QMenu*>())
      if (m->title() == e.Menu && m->actions().contains(a)) inMenu = true;
    EXPECT_TRUE(inMenu);
  }
  QStringList menus;
  for (const QAction* a : w.MenuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, QStringList({"&File", "&Info"}));
}

TEST(ToolWindowsLook, Preview) {
  TfrmToolPreview p;
  EXPECT_EQ(p.windowTitle(), "New tool definition");
  EXPECT_EQ(p.size(), QSize(673, 556));
  EXPECT_EQ(Headings(p.Grid()),
            QStringList({"Tool number", "Tool name", "Diameter [mm]", "Height [mm]", "Speed [rpm]", "Feed [mm/s]"}));
  ExpectToolGrid(&p, p.Grid());
  EXPECT_EQ(p.AcceptButton()->text(), "accept");
  EXPECT_EQ(p.RejectButton()->text(), "reject");
  EXPECT_EQ(p.Result(), "");
  EXPECT_EQ(p.Log()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(p.Log()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST(ToolWindowsLook, HelpWindowTextLineByLine) {
  TfrmInfoToolDef h;
  EXPECT_EQ(h.windowTitle(), "Tool definition");
  EXPECT_EQ(h.size(), QSize(393, 482));
  EXPECT_EQ(h.CloseButton()->text(), "Close");
  EXPECT_TRUE(h.Text()->isReadOnly());
  const QStringList lines = h.Text()->toPlainText().split('\n');
  ASSERT_EQ(lines.size(), 33);
  const std::pair<int, const char*> expected[] = {
      {0, "Format for Gerber tool definition:"},
      {1, "M72   ; eigther M72 = diameter as inch-value, M71 diameter as metric value"},
      {2, "M48   ; start of tool definition "},
      {3, "T1 F00 S00 C0.024 N\"Bohrer 3 mm\" H1000"},
      {11, "T9 F00 S00C 0.043"},
      {12, "T1 0F00 S00 C0.044"},
      {15, "%"},
      {19, " X08101"},
      {27, "F    feed"},
      {29, ";    comment "},
      {30, ""},
      {31, "Comments are allowed, all characters after \";\"-characters are ignored"},
      {32, "optional parametes for tool definition"},
  };
  for (const auto& [line, text] : expected) EXPECT_EQ(lines[line], text) << "line " << line;
}

}  // namespace
