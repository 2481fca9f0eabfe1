#include "tools/tool_grid_view.h"

#include <algorithm>

#include <QHeaderView>
#include <QStringList>
#include <QTableWidget>

void SetUpToolGrid(QTableWidget* grid, const TGridHeadings& headings, bool editable) {
  grid->setColumnCount(kToolColumnCount);
  grid->setRowCount(kToolCount);
  QStringList labels;
  for (const char* h : headings) labels << QString::fromUtf8(h);
  grid->setHorizontalHeaderLabels(labels);
  // Every heading readable: a column narrower than its heading grows, and the name column
  // takes what width is left, so the grid needs no sideways scrolling.
  QHeaderView* header = grid->horizontalHeader();
  for (int c = 0; c < kToolColumnCount; ++c)
    grid->setColumnWidth(c, std::max(kToolGridColumnWidths[c], header->sectionSizeHint(c)));
  header->setSectionResizeMode(QHeaderView::Fixed);
  header->setSectionResizeMode(kColumnName, QHeaderView::Stretch);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  header->setSectionsMovable(false);
  grid->horizontalHeader()->setHighlightSections(false);
  grid->verticalHeader()->setVisible(false);
  grid->verticalHeader()->setMinimumSectionSize(kToolGridRowHeight);
  grid->verticalHeader()->setDefaultSectionSize(kToolGridRowHeight);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                                       QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                                 : QAbstractItemView::NoEditTriggers);
  ShowGridCells(grid, TToolGrid(kToolCount));
}

void ShowGridCells(QTableWidget* grid, const TToolGrid& cells) {
  for (int r = 0; r < grid->rowCount(); ++r) {
    for (int c = 0; c < kToolColumnCount; ++c) {
      const QString text = r < static_cast<int>(cells.size()) ? QString::fromStdString(cells[r][c]) : QString();
      if (QTableWidgetItem* item = grid->item(r, c)) {
        item->setText(text);
        continue;
      }
      auto* item = new QTableWidgetItem(text);
      // Labels are for reading only.
      if (c == kColumnLabel) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
      grid->setItem(r, c, item);
    }
  }
}

TToolGrid GridCells(const QTableWidget* grid) {
  TToolGrid cells(grid->rowCount());
  for (int r = 0; r < grid->rowCount(); ++r)
    for (int c = 0; c < kToolColumnCount; ++c)
      if (const QTableWidgetItem* item = grid->item(r, c)) cells[r][c] = item->text().toStdString();
  return cells;
}

void CommitGridEdit(QTableWidget* grid) {
  if (QWidget* editor = grid->indexWidget(grid->currentIndex()))
    QMetaObject::invokeMethod(grid, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, editor));
}
