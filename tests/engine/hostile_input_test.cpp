// Programs and files built to exhaust memory or time: the run stays within its element
// budget, messages stay bounded, and only regular files are read.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "engine/cnc_api.h"
#include "engine/instance.h"
#include "engine/instance_run.h"
#include "tests/platform/test_files.h"

namespace fs = std::filesystem;

namespace {

std::string Repeat(const std::string& line, size_t times) {
  std::string s;
  s.reserve(line.size() * times);
  for (size_t i = 0; i < times; ++i) s += line;
  return s;
}

struct TBudgetRun {
  std::unique_ptr<TCncInstance> Inst;
  int32_t Status = 0;
};

TBudgetRun RunWithLimit(const std::string& text, uint64_t limit) {
  TBudgetRun r;
  r.Inst = std::make_unique<TCncInstance>(1, "", VELQUOR_FONT_DIR);
  r.Inst->Budget.Limit = limit;
  r.Inst->Lines.Assign(text);
  r.Status = RunInstance(*r.Inst, TPoint{});
  return r;
}

std::string BudgetMessage(uint64_t limit, int line) {
  return "Error: the program makes more than " + std::to_string(limit) + " elements; the run stopped at program line " +
         std::to_string(line);
}

int CountOf(const TMessageList& messages, const std::string& text) {
  int n = 0;
  for (const std::string& m : messages) n += m == text;
  return n;
}

size_t Made(const TCncInstance& inst) {
  return inst.ContourList.size() + inst.RawPathList.size() + inst.PathList.size();
}

// The amplifying programs: each stops with the one budget message at the line where the
// lists outgrew the limit, keeping what was made.
struct TAmplifier {
  const char* Name;
  std::string Program;
  uint64_t Limit;
  int StopLine;
};

TEST(ElementBudget, AmplifyingProgramsStopAtTheLimitKeepingTheirLists) {
  const TAmplifier cases[] = {
      // One G79 makes 3 contour and 131,072 raw elements with 65,535 steps.
      {"drill steps", "G81 H65535\n" + Repeat("G79\n", 200), 200'000, 3},
      // 100,000 strokes of four moves a line, in both passes.
      {"scale strokes", Repeat("G89 C100000 D1 Q0 W360\n", 10), 1'000'000, 2},
  };
  for (const TAmplifier& c : cases) {
    SCOPED_TRACE(c.Name);
    const TBudgetRun r = RunWithLimit(c.Program, c.Limit);
    EXPECT_EQ(r.Status, CNC_ELEMENT_LIMIT);
    EXPECT_EQ(CountOf(r.Inst->Messages, BudgetMessage(c.Limit, c.StopLine)), 1);
    EXPECT_EQ(r.Inst->Messages.back(), BudgetMessage(c.Limit, c.StopLine));
    EXPECT_LE(Made(*r.Inst), c.Limit);
    EXPECT_GT(r.Inst->ContourList.size(), 0u);
    EXPECT_GT(r.Inst->RawPathList.size(), 0u);
  }
}

TEST(ElementBudget, ExactlyTheLimitRunsAndOneMoreStops) {
  // Three lines of one element each: contour 3, raw 3, path 3.
  const std::string program = "G01 X1\nG01 X2\nG01 X3\n";
  const TBudgetRun fits = RunWithLimit(program, 9);
  EXPECT_EQ(fits.Status, 0);
  EXPECT_EQ(Made(*fits.Inst), 9u);
  // The path stops at its last element: the N number is all the path knows of its line.
  const TBudgetRun over = RunWithLimit(program, 8);
  EXPECT_EQ(over.Status, CNC_ELEMENT_LIMIT);
  EXPECT_EQ(over.Inst->Messages.back(), BudgetMessage(8, 0));
  EXPECT_EQ(over.Inst->PathList.size(), 2u);
  // Stopped while interpreting: no milling path is computed.
  const TBudgetRun early = RunWithLimit(program, 4);
  EXPECT_EQ(early.Inst->Messages.back(), BudgetMessage(4, 3));
  EXPECT_TRUE(early.Inst->PathList.empty());
}

TEST(ElementBudget, ASecondRunHasTheWholeBudgetAgain) {
  TBudgetRun r = RunWithLimit("G01 X1\nG01 X2\n", 6);
  ASSERT_EQ(r.Status, 0);
  EXPECT_EQ(RunInstance(*r.Inst, TPoint{}), 0);
  EXPECT_EQ(Made(*r.Inst), 6u);
}

TEST(ElementBudget, BlankLinesReserveNothing) {
  const TBudgetRun r = RunWithLimit(std::string(3'000'000, '\n'), kDefaultElementLimit);
  EXPECT_EQ(r.Status, -5);
  EXPECT_EQ(r.Inst->Lines.Count(), 3'000'000u);
  // At most the fixed start reserve, not a place per line.
  EXPECT_LE(r.Inst->ContourList.capacity(), 2'000'000u);
  EXPECT_LE(r.Inst->RawPathList.capacity(), 2'000'000u);
}

TEST(MessageBound, ErrorsBeyondTheBoundAreCountedInOneClosingMessage) {
  // Each line gives its error in both passes.
  const size_t lines = 60'000;
  const TBudgetRun r = RunWithLimit(Repeat("G01\n", lines), kDefaultElementLimit);
  const size_t kept = TMessageList::kMaxKept;
  const uint64_t produced = 1 /* Init */ + 2 * lines + 1 /* Error -5 */;
  ASSERT_EQ(r.Inst->Messages.size(), kept + 1);
  EXPECT_EQ(r.Inst->Messages.back(), "Warning: " + std::to_string(produced - kept) +
                                         " more messages were left out; only the first 100000 are listed");
  EXPECT_EQ(r.Inst->Messages[kept - 1].rfind("Error in program line ", 0), 0u);
}

TEST(MessageBound, NoClosingMessageAtTheBound) {
  const size_t lines = (TMessageList::kMaxKept - 2) / 2;  // Init + 2 a line + Error -5 = the bound
  const TBudgetRun r = RunWithLimit(Repeat("G01\n", lines), kDefaultElementLimit);
  EXPECT_EQ(r.Inst->Messages.size(), TMessageList::kMaxKept);
  EXPECT_EQ(r.Inst->Messages.back(), "Error -5 no program code in Pre-command buffer available");
}

// ---- files -----------------------------------------------------------------------------

class ProgramFiles : public TTempFolderTest {
 protected:
  // Opens through the C interface; the open's result and its messages after "Init CNC-Dll".
  struct TOpened {
    int32_t Lines = -1;
    int32_t Handle = 0;
    std::string Message;
  };
  static TOpened Open(const std::string& file) {
    TOpened o;
    o.Lines = CncOpen(file.c_str(), &o.Handle);
    const TCncMessageList* list = CncGetMessages(o.Handle);
    if (CncMessageCount(list) > 1) o.Message = CncMessageText(list, CncMessageCount(list) - 1);
    CncClose(o.Handle);
    return o;
  }
};

TEST_F(ProgramFiles, OnlyRegularFilesAreReadAndEveryRefusalSaysWhy) {
  const std::string fifo = Folder.File("pipe.cnc");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  struct TCase {
    std::string File;
    std::string Reason;
  };
  const TCase cases[] = {
      {"/dev/zero", "is a device, not a regular file"},
      {fifo, "is a FIFO, not a regular file"},  // no writer: must not wait for one
      {Folder.Path(), "is a folder, not a file"},
      {Folder.File("missing.cnc"), "No such file or directory"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.File);
    const TOpened o = Open(c.File);
    EXPECT_EQ(o.Lines, 0);
    EXPECT_NE(o.Handle, 0);  // an instance that holds the message
    EXPECT_EQ(o.Message, "Error: cannot read program file " + c.File + ": " + c.Reason);
  }
}

TEST_F(ProgramFiles, AFileInAFolderWithoutPermissionGivesTheSystemsReason) {
  const fs::path locked = Folder.File("locked");
  fs::create_directories(locked);
  std::ofstream(locked / "a.cnc") << "G01 X1\n";
  fs::permissions(locked, fs::perms::none);
  const std::string file = (locked / "a.cnc").string();
  const std::optional<std::string> message = RunUnprivileged([&] { return Open(file).Message; });
  fs::permissions(locked, fs::perms::owner_all);
  if (!message) GTEST_SKIP() << "no unprivileged user to read as";
  EXPECT_EQ(*message, "Error: cannot read program file " + file + ": Permission denied");
}

TEST_F(ProgramFiles, ProgramsOf816And817LinesOpenWithTheirLineCount) {
  for (int lines : {816, 817}) {
    const std::string file = Folder.File("p.cnc");
    std::ofstream(file, std::ios::trunc) << Repeat("G01 X1\n", static_cast<size_t>(lines));
    int32_t handle = 0;
    EXPECT_EQ(CncOpen(file.c_str(), &handle), lines);
    EXPECT_NE(handle, 0);
    const TCncPoint start{0, 0, 0};
    EXPECT_EQ(CncRun(handle, &start), 0);
    EXPECT_EQ(CncGetCount(handle, 0), lines);
    CncClose(handle);
  }
}

TEST(CncBoundary, LimitIsSetPerInstance) {
  EXPECT_EQ(CncSetLimit(0, 10), 1);
  int32_t handle = 0;
  CncOpen("", &handle);
  ASSERT_NE(handle, 0);
  EXPECT_EQ(CncSetLimit(handle, 0), -2);
  EXPECT_EQ(CncSetLimit(handle, 1), 0);
  CncClose(handle);
}

TEST(CncBoundary, LineEndsOfEveryKindSplitTheProgram) {
  TProgramLines lines;
  lines.Assign("a\r\nb\rc\n\r\nd\r\re");
  ASSERT_EQ(lines.Count(), 7u);
  const char* expected[] = {"a", "b", "c", "", "d", "", "e"};
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(lines.Line(i), expected[i]) << i;
  lines.Assign("x\r");
  ASSERT_EQ(lines.Count(), 1u);
  EXPECT_EQ(lines.Line(0), "x");
}

}  // namespace
