// The tool window's grid as plain data, and what moves values in and out of it: the
// settings record, tool definition files and an accepted drill-file import.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_profile.h"
#include "platform/viewer_settings.h"
#include "tools/tool_block.h"

// Columns of the tool window's grid, left to right.
enum TToolColumn : int {
  kColumnLabel,
  kColumnName,
  kColumnDiameter,
  kColumnHeight,
  kColumnFeed,
  kColumnSpeed,
  kToolColumnCount
};

using TToolGridRow = std::array<std::string, kToolColumnCount>;
// Row n holds tool number n (the window's grid row n + 1).
using TToolGrid = std::vector<TToolGridRow>;

// "T" and the tool number with at least two digits: "T00", "T98", "T254".
std::string ToolLabel(int tool);

// A grid whose every row holds its label and nothing else.
TToolGrid LabelledToolGrid();

// The grid of a handed-over table. Diameter and height keep every digit they have, with at
// least one decimal ("80.0", "3.5", "0.6096"), so taking the grid over changes nothing.
TToolGrid GridFromTools(const TToolTable& tools);
std::string GridFloatText(double v);

// Cell text to number: the whole text a decimal number; "3,5" counts as 3.5; anything else 0.
double CellToFloat(std::string_view text);
// The whole text a 32-bit integer, else 0.
int32_t CellToInt(std::string_view text);

// Every row into the record of the same tool number; labels are not read.
void TakeOverGrid(const TToolGrid& grid, TToolTable& tools);

// Section and keys of a tool definition file (the tools part of the settings file).
struct TToolFileField {
  TToolColumn Column;
  const char* Key;      // key word after "Tnn "
  const char* Default;  // text a missing key reads as
};
// In the order the tool window writes them.
extern const std::array<TToolFileField, 5> kToolFileFields;
constexpr const char* kToolsSection = "Tools";

// Fills columns 1 to 5 of every row from the file's `Tools` section as text; missing keys
// (or a missing file) give the defaults. A file that exists but cannot be read leaves the
// grid as it was and gives the reason.
TIniResult ReadToolDefinition(const std::string& path, TToolGrid& grid);
// Writes columns 1 to 5 of every row as they stand, keeping the file's other contents.
TIniResult WriteToolDefinition(const std::string& path, const TToolGrid& grid);

// An accepted import: every cell emptied, then the imported tools from the first row on.
void ApplyImport(TToolGrid& grid, const std::vector<TToolRow>& rows);

// A file name without extension gets ".ini"; any other stays as given.
std::string CompleteToolFileName(const std::string& name);
