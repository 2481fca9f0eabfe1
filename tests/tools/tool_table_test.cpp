// The tool window's grid logic: hand-over, take-over, tool definition files, import.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "tests/platform/test_files.h"
#include "tools/tool_table.h"

namespace {

TToolTable SampleTools() {
  TToolTable tools = TCncType::DefaultTools();
  tools[0] = ToolParam{3.5, 12.25, "end mill", 18000, 300};
  tools[1] = ToolParam{0.6096, 20, "drill 0.024 in", 10000, 2000};
  tools[2] = ToolParam{1e-7, 1e15, "", -5, 0};
  tools[99] = ToolParam{6, 30, "first hidden", 1, 2};
  tools[254] = ToolParam{0.1, 0.2, "last", 3, 4};
  return tools;
}

TEST(ToolGrid, HandOverShowsLabelsAndEveryDigit) {
  const TToolGrid grid = GridFromTools(SampleTools());
  ASSERT_EQ(grid.size(), size_t{kToolCount});
  EXPECT_EQ(grid[0], (TToolGridRow{"T00", "end mill", "3.5", "12.25", "300", "18000"}));
  EXPECT_EQ(grid[1], (TToolGridRow{"T01", "drill 0.024 in", "0.6096", "20.0", "2000", "10000"}));
  EXPECT_EQ(grid[2], (TToolGridRow{"T02", "", "0.0000001", "1000000000000000.0", "0", "-5"}));
  EXPECT_EQ(grid[9][kColumnLabel], "T09");
  EXPECT_EQ(grid[10], (TToolGridRow{"T10", "not specified", "80.0", "20.0", "2000", "10000"}));
  EXPECT_EQ(grid[254][kColumnLabel], "T254");
}

TEST(ToolGrid, TakeOverAfterHandOverChangesNothing) {
  const TToolTable tools = SampleTools();
  TToolTable back{};
  TakeOverGrid(GridFromTools(tools), back);
  for (int n = 0; n < kToolCount; ++n) {
    SCOPED_TRACE(n);
    EXPECT_EQ(back[n].Name, tools[n].Name);
    EXPECT_EQ(back[n].Diameter, tools[n].Diameter);
    EXPECT_EQ(back[n].Height, tools[n].Height);
    EXPECT_EQ(back[n].Feed, tools[n].Feed);
    EXPECT_EQ(back[n].Speed, tools[n].Speed);
  }
}

TEST(ToolGrid, CellTextsToNumbers) {
  const struct {
    const char* Text;
    double Float;
    int32_t Int;
  } cases[] = {
      {"3.5", 3.5, 0},
      {"3,5", 3.5, 0},
      {"-2,25", -2.25, 0},
      {"80", 80, 80},
      {"", 0, 0},
      {"abc", 0, 0},
      {"3,5,1", 0, 0},
      {"1.000,5", 0, 0},
      {"3.5mm", 0, 0},
      {" 3.5", 0, 0},
      {"1e3", 1000, 0},
      {",", 0, 0},
      {"2000.0", 2000, 0},
      {"-7", -7, -7},
      {"2147483647", 2147483647.0, 2147483647},
      {"2147483648", 2147483648.0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CellToFloat(c.Text), c.Float) << c.Text;
    EXPECT_EQ(CellToInt(c.Text), c.Int) << c.Text;
  }
}

class ToolDefinitionFile : public testing::Test {
 protected:
  TTempFolder Dir;
  const std::string Path = Dir.File("ToolDef.ini");
};

TEST_F(ToolDefinitionFile, MissingKeysTakeTheDefaultsAndLabelsStay) {
  std::string text = "[Tools]\n";
  for (int n = 0; n <= 9; ++n) text += "T0" + std::to_string(n) + " Name=tool " + std::to_string(n) + "\n";
  text += "t05 DIAMETER = 2,5\nT03 Feed=oops\n";
  WriteBytes(Path, text);
  TToolGrid grid = LabelledToolGrid();
  grid[20][kColumnLabel] = "12";  // an imported label is not touched by reading
  ASSERT_TRUE(ReadToolDefinition(Path, grid).Ok);
  EXPECT_EQ(grid[5], (TToolGridRow{"T05", "tool 5", "2,5", "20", "2000", "10000"}));
  EXPECT_EQ(grid[3][kColumnFeed], "oops");  // shown as read
  for (int n = 10; n < kToolCount; ++n)
    EXPECT_EQ(grid[n], (TToolGridRow{n == 20 ? "12" : ToolLabel(n), "not specified", "80", "20", "2000", "10000"}))
        << n;
}

TEST_F(ToolDefinitionFile, AMissingFileGivesTheDefaultsAnUnreadableOneChangesNothing) {
  TToolGrid grid = GridFromTools(SampleTools());
  ASSERT_TRUE(ReadToolDefinition(Dir.File("missing.ini"), grid).Ok);
  EXPECT_EQ(grid[0], (TToolGridRow{"T00", "not specified", "80", "20", "2000", "10000"}));

  const TToolGrid before = GridFromTools(SampleTools());
  grid = before;
  const TIniResult r = ReadToolDefinition(Dir.Path(), grid);  // a folder
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Error, "");
  EXPECT_EQ(grid, before);
}

TEST_F(ToolDefinitionFile, WritesTheCellTextsInTheWindowsKeyOrder) {
  TToolGrid grid = GridFromTools(SampleTools());
  grid[0][kColumnDiameter] = "3,5";  // written as it stands
  ASSERT_TRUE(WriteToolDefinition(Path, grid).Ok);
  const std::string text = ReadBytes(Path);
  EXPECT_TRUE(
      text.starts_with("[Tools]\nT00 Name=end mill\nT00 Diameter=3,5\nT00 Height=12.25\nT00 Feed=300\n"
                       "T00 Speed=18000\nT01 Name="))
      << text.substr(0, 200);
  EXPECT_NE(text.find("\nT254 Speed=3\n"), std::string::npos);

  TToolGrid back = LabelledToolGrid();
  ASSERT_TRUE(ReadToolDefinition(Path, back).Ok);
  EXPECT_EQ(back, grid);
}

TEST_F(ToolDefinitionFile, WritingKeepsTheFilesOtherContents) {
  WriteBytes(Path, "; hand made\n[Vorschub]\nBoostFeed=55\n[Tools]\nT00 Name=old\nX=1\n");
  ASSERT_TRUE(WriteToolDefinition(Path, GridFromTools(SampleTools())).Ok);
  const std::string text = ReadBytes(Path);
  EXPECT_TRUE(text.starts_with("; hand made\n[Vorschub]\nBoostFeed=55\n[Tools]\nT00 Name=end mill\nX=1\n")) << text;

  // The settings reader finds what the tool window wrote.
  TCncType settings;
  ASSERT_TRUE(ReadSettings(Path, settings).Ok);
  EXPECT_EQ(settings.BoostFeed, 55);
  EXPECT_EQ(settings.Tools[1].Diameter, 0.6096);
  EXPECT_EQ(settings.Tools[99].Name, "first hidden");
  EXPECT_EQ(settings.Tools[254].Feed, 4);
}

TEST_F(ToolDefinitionFile, AFileThatCannotBeReadIsNotReplaced) {
  const TIniResult r = WriteToolDefinition(Dir.Path(), GridFromTools(SampleTools()));
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Error, "");
}

TEST(ToolImport, AcceptedRowsReplaceTheWholeGrid) {
  std::vector<TToolRow> rows;
  for (int t = 1; t <= 12; ++t)
    rows.push_back(TToolRow{std::to_string(t), "n" + std::to_string(t), "0.50", "20.00", "speed", "feed"});
  TToolGrid grid = GridFromTools(SampleTools());
  ApplyImport(grid, rows);
  ASSERT_EQ(grid.size(), size_t{kToolCount});
  EXPECT_EQ(grid[0], (TToolGridRow{"1", "n1", "0.50", "20.00", "feed", "speed"}));
  EXPECT_EQ(grid[11][kColumnLabel], "12");
  for (int n = 12; n < kToolCount; ++n) EXPECT_EQ(grid[n], TToolGridRow{}) << n;

  TToolTable tools = SampleTools();
  TakeOverGrid(grid, tools);
  EXPECT_EQ(tools[11].Diameter, 0.5);
  for (int n = 12; n < kToolCount; ++n) {
    EXPECT_EQ(tools[n].Name, "");
    EXPECT_EQ(tools[n].Diameter, 0.0);
    EXPECT_EQ(tools[n].Height, 0.0);
    EXPECT_EQ(tools[n].Feed, 0);
    EXPECT_EQ(tools[n].Speed, 0);
  }
}

TEST(ToolFileName, WithoutExtensionGetsIni) {
  EXPECT_EQ(CompleteToolFileName("/home/u/ToolDef"), "/home/u/ToolDef.ini");
  EXPECT_EQ(CompleteToolFileName("/home/u.d/mill"), "/home/u.d/mill.ini");
  EXPECT_EQ(CompleteToolFileName("/home/u/mill.ini"), "/home/u/mill.ini");
  EXPECT_EQ(CompleteToolFileName("/home/u/mill.INI"), "/home/u/mill.INI");
  EXPECT_EQ(CompleteToolFileName("/home/u/mill.txt"), "/home/u/mill.txt");
  EXPECT_EQ(CompleteToolFileName(""), "");
}

}  // namespace
