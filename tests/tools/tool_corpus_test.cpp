// Real drill files: every one parses, and for a selection the rows are known by hand.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/tool_block.h"

namespace fs = std::filesystem;

namespace {

const fs::path kDrillFolder = fs::path(VELQUOR_SHARED_DIR) / "corpus" / "drill";

// Tool number and diameter of each row; name and height are the defaults in these files.
struct TExpectedTool {
  const char* Tool;
  const char* Diameter;
  const char* Speed = "";
  const char* Feed = "";
};

struct TCorpusCase {
  const char* File;
  std::vector<TExpectedTool> Tools;
  const char* Oldest = nullptr;  // the first log entry, when it is not a tool
};

// Diameters worked out by hand: inch values times 25.4, rounded to two decimals.
const TCorpusCase kCorpusCases[] = {
    // metric, compact, LF, "METRIC,TZ" header line
    {"kicad_mchck_metric.drl", {{"1", "0.30"}, {"2", "1.02"}, {"3", "3.40"}}, "Line 2 ignored: METRIC,TZ"},
    // inch by a bare "INCH" line, CR LF, two-digit tool numbers
    {"diptrace_fd1_keyboard.drl",
     {{"01", "0.55"}, {"02", "0.70"}, {"03", "0.90"}, {"04", "1.10"}, {"05", "1.70"}, {"06", "3.20"}}},
    // metric, feed and speed inside the compact word (T1F00S00C0.300)
    {"target3001_irnas_iotbank.drl",
     {{"1", "0.30", "00", "00"},
      {"2", "0.40", "00", "00"},
      {"3", "0.50", "00", "00"},
      {"4", "0.80", "00", "00"},
      {"5", "0.90", "00", "00"},
      {"6", "1.00", "00", "00"},
      {"7", "1.10", "00", "00"},
      {"8", "3.10", "00", "00"}},
     "Line 2 ignored: METRIC"},
    // inch by M72 after a "%" line before M48
    {"eagle_freeduino.drd",
     {{"01", "0.60"},
      {"02", "0.80"},
      {"03", "0.81"},
      {"04", "0.95"},
      {"05", "1.02"},
      {"06", "1.20"},
      {"07", "2.30"},
      {"08", "3.20"},
      {"09", "3.30"}}},
    // inch, tools numbered downward
    {"geda_stepper_controller.cnc", {{"47", "3.00"}, {"46", "0.76"}, {"45", "0.99"}, {"44", "0.79"}}},
    // metric, three-digit tool numbers
    {"fritzing_gyro.txt",
     {{"01", "3.20"},
      {"100", "0.76"},
      {"101", "0.89"},
      {"102", "0.80"},
      {"103", "0.97"},
      {"104", "0.90"},
      {"105", "0.50"}},
     "Line 3 ignored: METRIC,000.000"},
    // "M71,TZ" metric; 0.635 rounds up
    {"upverter_sportiduino.drl",
     {{"1", "0.64"}, {"2", "0.85"}, {"3", "0.90"}, {"4", "1.00"}, {"5", "1.02"}, {"6", "1.10"}, {"7", "1.15"}}},
    // M72 before M48, a tool 0
    {"gerbv_ekf2_drill0.exc",
     {{"0", "0.15"},
      {"1", "0.30"},
      {"3", "0.51"},
      {"4", "0.61"},
      {"5", "0.71"},
      {"6", "0.79"},
      {"7", "0.89"},
      {"8", "0.99"},
      {"9", "1.09"},
      {"10", "1.19"},
      {"14", "1.60"},
      {"16", "1.80"},
      {"18", "2.01"},
      {"19", "2.11"},
      {"20", "2.21"},
      {"21", "2.31"},
      {"23", "2.49"},
      {"25", "2.79"},
      {"27", "3.20"}}},
    // a header without tools
    {"kicad5_empty_npth.drl", {}, "Line 8 ignored: METRIC,TZ"},
};

class CorpusToolBlocks : public testing::TestWithParam<TCorpusCase> {};

TEST_P(CorpusToolBlocks, GiveTheRowsWorkedOutByHand) {
  const fs::path path = kDrillFolder / GetParam().File;
  if (!fs::exists(path)) GTEST_SKIP() << "no corpus beside the repository";
  const TToolBlock b = ParseToolBlockFile(path.string());
  EXPECT_EQ(b.Result, kToolBlockParsed);
  const std::vector<TExpectedTool>& tools = GetParam().Tools;
  ASSERT_EQ(b.Rows.size(), tools.size());
  for (size_t i = 0; i < tools.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(b.Rows[i].Tool, tools[i].Tool);
    EXPECT_EQ(b.Rows[i].Name, "");
    EXPECT_EQ(b.Rows[i].Diameter, tools[i].Diameter);
    EXPECT_EQ(b.Rows[i].Height, "20.00");
    EXPECT_EQ(b.Rows[i].Speed, tools[i].Speed);
    EXPECT_EQ(b.Rows[i].Feed, tools[i].Feed);
  }
  if (GetParam().Oldest) {
    EXPECT_TRUE(b.Log.ends_with("\r\n" + std::string(GetParam().Oldest))) << b.Log;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, CorpusToolBlocks, testing::ValuesIn(kCorpusCases),
                         [](const testing::TestParamInfo<TCorpusCase>& testInfo) {
                           std::string name = testInfo.param.File;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

// Lines of the file's M48 block that begin with T and a digit: one row each.
size_t ToolLinesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  bool inBlock = false;
  size_t count = 0;
  while (std::getline(in, line)) {
    if (line.starts_with("M48")) inBlock = true;
    else if (inBlock && line.starts_with("%")) break;
    else if (inBlock && line.size() > 1 && line[0] == 'T' && std::isdigit(static_cast<unsigned char>(line[1]))) ++count;
  }
  return count;
}

bool IsTwoDecimalNumber(const std::string& s) {
  const size_t point = s.find('.');
  if (point == 0 || point == std::string::npos || s.size() != point + 3) return false;
  for (size_t i = 0; i < s.size(); ++i)
    if (i != point && !std::isdigit(static_cast<unsigned char>(s[i]))) return false;
  return true;
}

TEST(CorpusToolBlocks, EveryDrillFileParses) {
  if (!fs::is_directory(kDrillFolder)) GTEST_SKIP() << "no corpus beside the repository";
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kDrillFolder)) {
    if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
    SCOPED_TRACE(entry.path().string());
    const TToolBlock b = ParseToolBlockFile(entry.path().string());
    EXPECT_EQ(b.Result, kToolBlockParsed);
    EXPECT_EQ(b.Rows.size(), ToolLinesOf(entry.path()));
    for (const TToolRow& r : b.Rows) {
      EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(r.Tool[0]))) << r.Tool;
      EXPECT_TRUE(IsTwoDecimalNumber(r.Diameter)) << r.Diameter;
      EXPECT_NE(r.Diameter, "0.00");
      EXPECT_LT(std::stod(r.Diameter), 10.0) << "a drill beyond 10 mm means a unit mix-up";
    }
    ++files;
  }
  EXPECT_GE(files, 30);
}

}  // namespace
