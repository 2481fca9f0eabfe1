#include "tools/tool_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>

#include "base/convert.h"

const std::array<TToolFileField, 5> kToolFileFields = {{
    {kColumnName, "Name", "not specified"},
    {kColumnDiameter, "Diameter", "80"},
    {kColumnHeight, "Height", "20"},
    {kColumnFeed, "Feed", "2000"},
    {kColumnSpeed, "Speed", "10000"},
}};

std::string ToolLabel(int tool) { return "T" + TwoDigits(tool); }

TToolGrid LabelledToolGrid() {
  TToolGrid grid(kToolCount);
  for (int n = 0; n < kToolCount; ++n) grid[n][kColumnLabel] = ToolLabel(n);
  return grid;
}

std::string GridFloatText(double v) {
  char buf[512];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
  if (ec != std::errc()) return "0.0";
  std::string s(buf, end);
  if (s.find('.') == std::string::npos && std::isfinite(v)) s += ".0";
  return s;
}

TToolGrid GridFromTools(const TToolTable& tools) {
  TToolGrid grid = LabelledToolGrid();
  for (int n = 0; n < kToolCount; ++n) {
    const ToolParam& t = tools[n];
    grid[n][kColumnName] = t.Name;
    grid[n][kColumnDiameter] = GridFloatText(t.Diameter);
    grid[n][kColumnHeight] = GridFloatText(t.Height);
    grid[n][kColumnFeed] = std::to_string(t.Feed);
    grid[n][kColumnSpeed] = std::to_string(t.Speed);
  }
  return grid;
}

double CellToFloat(std::string_view text) {
  if (auto v = ParseFloat(text)) return *v;
  // A decimal comma, as typed on a German keyboard.
  if (std::count(text.begin(), text.end(), ',') == 1 && text.find('.') == std::string_view::npos) {
    std::string dotted(text);
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    return TextToFloat(dotted);
  }
  return 0.0;
}

int32_t CellToInt(std::string_view text) { return TextToInt(text); }

void TakeOverGrid(const TToolGrid& grid, TToolTable& tools) {
  const size_t rows = std::min<size_t>(grid.size(), kToolCount);
  for (size_t n = 0; n < rows; ++n) {
    ToolParam& t = tools[n];
    t.Name = grid[n][kColumnName];
    t.Diameter = CellToFloat(grid[n][kColumnDiameter]);
    t.Height = CellToFloat(grid[n][kColumnHeight]);
    t.Feed = CellToInt(grid[n][kColumnFeed]);
    t.Speed = CellToInt(grid[n][kColumnSpeed]);
  }
}

TIniResult ReadToolDefinition(const std::string& path, TToolGrid& grid) {
  TIniFile ini;
  if (TIniResult loaded = ini.Load(path); !loaded.Ok) return loaded;
  grid.resize(kToolCount);
  for (int n = 0; n < kToolCount; ++n)
    for (const TToolFileField& f : kToolFileFields)
      grid[n][f.Column] = ini.ReadString(kToolsSection, ToolKey(n, f.Key), f.Default);
  return {};
}

TIniResult WriteToolDefinition(const std::string& path, const TToolGrid& grid) {
  TIniFile ini;
  // A file that cannot be read is not replaced: what else it holds would be lost.
  if (TIniResult loaded = ini.Load(path); !loaded.Ok) return loaded;
  const size_t rows = std::min<size_t>(grid.size(), kToolCount);
  for (size_t n = 0; n < rows; ++n)
    for (const TToolFileField& f : kToolFileFields)
      ini.WriteString(kToolsSection, ToolKey(static_cast<int>(n), f.Key), grid[n][f.Column]);
  return ini.Save(path);
}

void ApplyImport(TToolGrid& grid, const std::vector<TToolRow>& rows) {
  grid.assign(kToolCount, TToolGridRow{});
  const size_t count = std::min(rows.size(), kMaxToolRows);
  for (size_t n = 0; n < count; ++n) {
    const TToolRow& r = rows[n];
    grid[n] = TToolGridRow{r.Tool, r.Name, r.Diameter, r.Height, r.Feed, r.Speed};
  }
}

std::string CompleteToolFileName(const std::string& name) {
  if (name.empty()) return name;
  if (std::filesystem::path(name).has_extension()) return name;
  return name + ".ini";
}
