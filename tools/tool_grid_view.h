// The grid both tool windows show: six text columns, one row per tool, every row reachable.
#pragma once

#include <Qt>
#include <array>

#include "tools/tool_table.h"

class QTableWidget;

// The tool windows' frame: title with system menu, minimize and close box.
constexpr Qt::WindowFlags kToolWindowFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                             Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                             Qt::WindowCloseButtonHint;

using TGridHeadings = std::array<const char*, kToolColumnCount>;

constexpr std::array<int, kToolColumnCount> kToolGridColumnWidths = {70, 250, 80, 80, 80, 80};
constexpr int kToolGridRowHeight = 18;

// Headings, widths (at least those above), row heights and kToolCount rows; columns stay
// where they are, because they are read back by position.
void SetUpToolGrid(QTableWidget* grid, const TGridHeadings& headings, bool editable);

// Cell texts (UTF-8) into the grid and back, row n of `cells` in grid row n.
void ShowGridCells(QTableWidget* grid, const TToolGrid& cells);
TToolGrid GridCells(const QTableWidget* grid);
// A cell the user is still typing into counts: its text goes into the cell now.
void CommitGridEdit(QTableWidget* grid);
