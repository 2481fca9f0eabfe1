#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/prefault.h"
#include "base/program_reader.h"
#include "tests/support/temp_folder.h"

namespace {

std::vector<std::string> Words(std::string_view line) {
  const TSplitResult r = SplitLine(line);
  std::vector<std::string> out;
  for (size_t i = 0; i < r.Count; ++i) out.push_back(std::string(1, r.Words[i].First) + std::string(r.Words[i].Rest));
  return out;
}

struct SplitCase {
  const char* Line;
  std::vector<std::string> Expected;
  bool Unbalanced;
};

class SplitterTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitterTest, SplitsAsTheDialectSays) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(Words(c.Line), c.Expected) << c.Line;
  EXPECT_EQ(SplitLine(c.Line).UnbalancedQuote, c.Unbalanced) << c.Line;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SplitterTest,
    ::testing::Values(SplitCase{"; a comment", {}, false}, SplitCase{"G01 X10 ; remark", {"G01", "X10"}, false},
                      SplitCase{"   G01    X10   ", {"G01", "X10"}, false}, SplitCase{"X10Y20", {"X10Y20"}, false},
                      SplitCase{"", {}, false}, SplitCase{"@\"Hello World\" G66", {"@Hello World", "G66"}, false},
                      SplitCase{"@\"Hello;World\"", {"@Hello"}, true}, SplitCase{"@\"open text", {"@open text"}, true},
                      SplitCase{"@\"ab\"C", {"@ab", "C"}, false}, SplitCase{"G01\tX1", {"G01\tX1"}, false},
                      SplitCase{"@", {"@"}, true}));

TEST(Splitter, KeepsSixteenWordsAndSaysSo) {
  std::string line;
  for (int i = 0; i < 20; ++i) line += "X" + std::to_string(i) + " ";
  const TSplitResult r = SplitLine(line);
  EXPECT_EQ(r.Count, 16u);
  EXPECT_TRUE(r.TooManyWords);
  EXPECT_EQ(r.Words[15].Rest, "15");
}

TEST(Splitter, CutsLinesAt255Characters) {
  const std::string line = "G01 X" + std::string(300, '1');
  const TSplitResult r = SplitLine(line);
  EXPECT_TRUE(r.TooLong);
  ASSERT_EQ(r.Count, 2u);
  EXPECT_EQ(r.Words[1].Rest.size(), 255u - 5u);
}

TEST(ProgramLines, SplitsOnEveryKindOfLineBreak) {
  TProgramLines lines;
  lines.Assign("a\r\nb\nc\rd");
  ASSERT_EQ(lines.Count(), 4u);
  EXPECT_EQ(lines.Line(0), "a");
  EXPECT_EQ(lines.Line(2), "c");
  EXPECT_EQ(lines.Line(3), "d");
  EXPECT_EQ(lines.Line(4), "");
  lines.Assign("");
  EXPECT_EQ(lines.Count(), 0u);
  lines.Assign("x\n\n");
  EXPECT_EQ(lines.Count(), 2u);
}

// Breaks of every kind, far apart and close together, over many blocks of the break count.
std::string MixedBreaks() {
  std::string text;
  for (int i = 0; i < 600; ++i)
    text += "G01 X" + std::to_string(i) + (i % 97 == 0 ? "\r\n" : i % 89 == 0 ? "\r" : i % 7 == 0 ? "\n\n" : "\n");
  return text + "\r\r";
}

// The streamed lines are those of the loaded file, whatever the breaks and wherever the
// reads of 64 KB cut them.
TEST(ProgramLines, ScanningAFileGivesTheLinesLoadingGives) {
  const std::string chunk(65535, 'x');
  const std::string texts[] = {
      "a\r\nb\nc\rd",
      "",
      "x\n\n",
      "\r\r\n\n",
      "last line without a break",
      chunk + "\r\nnext",            // CR ends the first read, its LF begins the second
      chunk + "\rnext",              // a lone CR at the end of a read
      chunk + "y\nnext\r",           // LF first in the second read
      chunk + chunk + chunk + "\n",  // a line longer than a read
      MixedBreaks(),
  };
  const TTempFolder folder;
  const std::string file = folder.File("lines.cnc");
  for (const std::string& text : texts) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    TProgramLines loaded;
    loaded.Assign(text);
    std::vector<std::string> scanned;
    std::string error;
    ASSERT_EQ(ScanLines(file, error, [&](std::string_view line) { return scanned.emplace_back(line), false; }),
              TProgramLines::LoadResult::Loaded);
    ASSERT_EQ(scanned.size(), loaded.Count()) << text.substr(0, 40);
    for (size_t i = 0; i < scanned.size(); ++i) EXPECT_EQ(scanned[i], loaded.Line(i)) << i;
  }
}

TEST(ProgramLines, ScanningStopsAtTheLineThatAnswers) {
  const TTempFolder folder;
  const std::string file = folder.Write("stop.cnc", "one\ntwo\nthree\n");
  std::vector<std::string> seen;
  std::string error;
  EXPECT_EQ(ScanLines(file, error, [&](std::string_view line) { return seen.emplace_back(line) == "two"; }),
            TProgramLines::LoadResult::Loaded);
  EXPECT_EQ(seen, (std::vector<std::string>{"one", "two"}));
  std::filesystem::remove(file);
  EXPECT_EQ(ScanLines(file, error, [](std::string_view) { return false; }), TProgramLines::LoadResult::Unreadable);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ScanLines(folder.Path(), error, [](std::string_view) { return false; }),
            TProgramLines::LoadResult::Unreadable);
  EXPECT_EQ(error, "is a folder, not a file");
}

// The VmFlags line of the mapping that holds `address`, from /proc/self/smaps.
std::string VmFlagsAt(const void* address) {
  std::ifstream smaps("/proc/self/smaps");
  const auto at = reinterpret_cast<uintptr_t>(address);
  bool inside = false;
  for (std::string line; std::getline(smaps, line);) {
    unsigned long from = 0, to = 0;
    if (std::sscanf(line.c_str(), "%lx-%lx ", &from, &to) == 2) inside = from <= at && at < to;
    else if (inside && line.rfind("VmFlags:", 0) == 0) return line;
  }
  return "";
}

TEST(ProgramStorage, HugePagesAreAskedForFromTheirThresholdOn) {
  if (!std::filesystem::exists("/sys/kernel/mm/transparent_hugepage/enabled"))
    GTEST_SKIP() << "the system has no transparent huge pages";
  for (const size_t bytes : {kHugePageWorthy - 4096, kHugePageWorthy}) {
    void* storage = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(storage, MAP_FAILED);
    AdviseHugePages(storage, bytes);
    EXPECT_EQ(VmFlagsAt(storage).find(" hg") != std::string::npos, bytes >= kHugePageWorthy) << bytes;
    ::munmap(storage, bytes);
  }
}

}  // namespace
