#include "app/process_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/file_look.h"
#include "app/viewer_start.h"
#include "display/sim_view.h"
#include "tests/app/viewer_files.h"

namespace {

class TProcessFileTest : public testing::Test {
 protected:
  TProcessFileTest() {
    CncSetFontPath(VELQUOR_FONT_DIR);
    View.Resize(994, 628);
  }
  ~TProcessFileTest() override { CloseEngine(State, View); }

  TProcessResult Process(const std::string& file) {
    State.CurrentFile = file;
    return ProcessFile(file, State, View, Checks, Pane, [this](int32_t handle) { MachineRuns.push_back(handle); });
  }

  TSimView View;
  TViewerState State;
  TDisplayChecks Checks;
  TPaneLines Pane;
  std::vector<int32_t> MachineRuns;
};

TEST(StartRecordTest, SpindleMinusW0AndMinusToolHeight) {
  TSimView view;
  TCncType settings;
  ASSERT_TRUE(ReadSettings("/nonexistent/velquor.INI", settings).Ok);
  TCncPoint start = StartRecord(view, settings);
  EXPECT_EQ(start.Z, -20.0);  // no settings file: every tool 20 mm high

  view.SetSpindlePos(30, 40);
  view.SetW0X(10);
  view.SetW0Y(5);
  settings.CurrentTool = 3;
  settings.Tools[3].Height = 42.5;
  start = StartRecord(view, settings);
  EXPECT_EQ(start.X, 20.0);
  EXPECT_EQ(start.Y, 35.0);
  EXPECT_EQ(start.Z, -42.5);

  for (int32_t outside : {-1, 255, 1000}) {
    settings.CurrentTool = outside;
    EXPECT_EQ(StartRecord(view, settings).Z, 0.0) << outside;
  }
}

TEST_F(TProcessFileTest, MessagesInOrderWithTheEnginePrefix) {
  TTempFile program(kSmallProgram, ".cnc");
  const TProcessResult r = Process(program.Name());
  ASSERT_GE(Pane.Lines.size(), 2u);
  EXPECT_EQ(Pane.Lines[0], "Try to open CNC-file : " + program.Name());
  EXPECT_EQ(Pane.Lines[1], "Message from CAM processor: Init CNC-Dll");
  EXPECT_TRUE(r.Processed);
  EXPECT_FALSE(r.NoInstance);
  EXPECT_EQ(r.OpenResult, 4);
  EXPECT_GT(State.EngineHandle, 0);
  EXPECT_EQ(r.ContourCount, CncGetCount(State.EngineHandle, 0));
  EXPECT_EQ(r.PathCount, CncGetCount(State.EngineHandle, 1));
  EXPECT_EQ(View.Objects.Count(), 2u);  // the two G01 lines; the rapid move draws nothing in the contour
  EXPECT_EQ(State.Settings.CurrentTool, 5);

  // Re-processing replaces the instance and echoes every message again.
  const int32_t first = State.EngineHandle;
  Process(program.Name());
  EXPECT_EQ(Pane.Count("Message from CAM processor: Init CNC-Dll"), 2u);
  EXPECT_EQ(State.EngineHandle, first) << "the earlier instance was closed first, freeing its handle";
  EXPECT_EQ(View.Objects.Count(), 2u);
}

TEST_F(TProcessFileTest, NoFileChosenPutsTheMessageInFrontEveryTime) {
  Pane.Append("earlier line");
  for (int i = 0; i < 2; ++i) {
    const TProcessResult r = ProcessFile("", State, View, Checks, Pane);
    EXPECT_FALSE(r.Processed);
  }
  EXPECT_EQ(Pane.Lines, (std::vector<std::string>{kNoInputFile, kNoInputFile, "earlier line"}));
  EXPECT_EQ(State.EngineHandle, 0);
}

TEST_F(TProcessFileTest, MissingFileReportsEachCheckedListEmpty) {
  struct TCase {
    bool Contour, Path;
    size_t Empty;
  } const cases[] = {{true, false, 1}, {true, true, 2}, {false, true, 1}, {false, false, 0}};
  for (const auto& c : cases) {
    Pane.Lines.clear();
    Checks.ViewContour = c.Contour;
    Checks.ViewCuttingPath = c.Path;
    const TProcessResult r = Process("/nonexistent/velquor_missing.cnc");
    EXPECT_EQ(Pane.Count("Empty list, no data to process"), c.Empty);
    EXPECT_EQ(r.OpenResult, 0);
    EXPECT_GT(State.EngineHandle, 0) << "the instance exists and its messages are read";
    EXPECT_EQ(View.Objects.Count(), 0u);
  }
}

TEST_F(TProcessFileTest, BothListsUncheckedStillRunsAndListsTheMessages) {
  TTempFile program("N10 G01 X10 Y10\nN20 G01\n", ".cnc");
  Checks.ViewContour = false;
  Checks.ViewCuttingPath = false;
  Process(program.Name());
  EXPECT_EQ(View.Objects.Count(), 0u);
  EXPECT_EQ(Pane.Count("Message from CAM processor: Init CNC-Dll"), 1u);
  EXPECT_EQ(Pane.Count("Message from CAM processor: Error in program line 20: at least one xyz-parameter for G01 has "
                       "to be specified"),
            2u)
      << "once from each interpretation of the program, contour and tool path";
}

TEST_F(TProcessFileTest, SpindleMovesTakeEffectAtTheNextRun) {
  TTempFile program("G01 X10 Y0\n", ".cnc");
  Process(program.Name());
  ASSERT_EQ(View.Objects.Count(), 1u);
  const size_t before = View.Objects.Count();
  View.SetSpindlePos(-20, 30);
  View.SetW0X(5);
  EXPECT_EQ(View.Objects.Count(), before);
  Process(program.Name());
  ASSERT_EQ(View.Objects.Count(), 1u);
  const TGraphObject& line = View.Objects[0];
  EXPECT_EQ(line.P1.X, -20.0);
  EXPECT_EQ(line.P1.Y, 30.0);
  EXPECT_EQ(line.P2.X, 15.0);  // the programmed end shifted by W0
}

TEST_F(TProcessFileTest, ToolDiameterFromTheSettingsFileReachesTheEngine) {
  TTempFile settingsFile("[Tools]\nT05 Diameter=6\n", ".INI");
  ASSERT_TRUE(ReadSettings(settingsFile.Name(), State.Settings).Ok);
  EXPECT_EQ(ToolRadiusThousandths(State.Settings.Tools[5].Diameter), 3000);
  // Tool left of a move along +Y: 3 mm to the left of the contour.
  TTempFile program("T5\nG00 X0 Y0\nG41\nG01 X0 Y10\nG01 X0 Y50\nG40\nG01 X20 Y60\n", ".cnc");
  Checks.ViewCuttingPath = true;
  Process(program.Name());
  bool found = false;
  const int32_t n = CncGetCount(State.EngineHandle, 1);
  for (int32_t i = 0; i < n; ++i) {
    TCncElementData e{};
    ASSERT_EQ(CncGetElement(State.EngineHandle, i, 1, &e), 0);
    if (e.Code == 0x4701 && e.P1.Y == 10.0) {
      EXPECT_EQ(e.P1.X, -3.0);
      found = true;
    }
  }
  EXPECT_TRUE(found);
}

TEST_F(TProcessFileTest, UnusableDiametersAreListedWithEveryRunBeforeTheEngineMessages) {
  TTempFile settingsFile("[Tools]\nT05 Diameter=-6\nT06 Diameter=6\n", ".INI");
  const TSettingsResult read = ReadSettings(settingsFile.Name(), State.Settings);
  ASSERT_EQ(read.Warnings.size(), 1u);
  State.SettingsWarnings = read.Warnings;
  EXPECT_EQ(State.Settings.Tools[5].Diameter, 80.0);
  TTempFile program(kSmallProgram, ".cnc");
  for (int run = 1; run <= 2; ++run) {
    Process(program.Name());
    EXPECT_EQ(Pane.Count(read.Warnings[0]), static_cast<size_t>(run));
  }
  const auto at = [this](const std::string& line) {
    return std::find(Pane.Lines.begin(), Pane.Lines.end(), line) - Pane.Lines.begin();
  };
  EXPECT_LT(at(read.Warnings[0]), at("Message from CAM processor: Init CNC-Dll"));
}

TEST_F(TProcessFileTest, MachineViewFollowsEachRunOnlyWhenShown) {
  TTempFile program(kSmallProgram, ".cnc");
  Process(program.Name());
  EXPECT_TRUE(MachineRuns.empty());
  State.MachineViewOn = true;
  Process(program.Name());
  EXPECT_EQ(MachineRuns, std::vector<int32_t>{State.EngineHandle});
}

// Holds every free engine handle, so that the next CncOpen finds none.
class THandleHog {
 public:
  explicit THandleHog(const std::string& file) {
    for (;;) {
      int32_t h = 0;
      CncOpen(file.c_str(), &h);
      if (h <= 0) break;
      Handles.push_back(h);
    }
  }
  ~THandleHog() {
    for (int32_t h : Handles) CncClose(h);
  }
  std::vector<int32_t> Handles;
};

TEST_F(TProcessFileTest, NoFreeInstanceIsToldByTheHandleNotTheNumber) {
  TTempFile program(kSmallProgram, ".cnc");
  {
    THandleHog hog(program.Name());
    ASSERT_FALSE(hog.Handles.empty());
    View.AddLine({0, 0, 0}, {10, 10, 0}, kPenSolid, 1, QColor(255, 255, 0));
    const TProcessResult r = Process(program.Name());
    EXPECT_TRUE(r.NoInstance);
    EXPECT_EQ(r.OpenResult, CNC_NO_FREE_HANDLE);
    EXPECT_EQ(Pane.Lines, (std::vector<std::string>{"Try to open CNC-file : " + program.Name(),
                                                    "Error: no engine instance available (code 816)"}));
    EXPECT_EQ(State.EngineHandle, 0);
    EXPECT_EQ(View.Objects.Count(), 0u);
    EXPECT_EQ(RunSummary("p.cnc", r), "p.cnc: no engine instance available (code 816)");
  }
  // Programs of 816 and 817 lines are programs like any other.
  for (int lines : {816, 817}) {
    std::string text;
    for (int i = 0; i < lines; ++i) text += "G01 X" + std::to_string(i % 100) + " Y0\n";
    TTempFile big(text, ".cnc");
    Pane.Lines.clear();
    const TProcessResult r = Process(big.Name());
    EXPECT_FALSE(r.NoInstance);
    EXPECT_EQ(r.OpenResult, lines);
    EXPECT_EQ(Pane.Count("Message from CAM processor: Init CNC-Dll"), 1u);
    EXPECT_EQ(View.Objects.Count(), static_cast<size_t>(lines));
  }
}

TEST(SettingsProblemTest, NamesThePathOnceAndTheReason) {
  EXPECT_EQ(SettingsProblem("/a/v.INI", ""), "");
  EXPECT_EQ(SettingsProblem("/a/v.INI", "cannot read /a/v.INI: it is a folder"),
            "Settings file not read (cannot read /a/v.INI: it is a folder); the default settings are used");
  EXPECT_EQ(SettingsProblem("/a/v.INI", "permission denied"),
            "Settings file not read (/a/v.INI: permission denied); the default settings are used");
}

TEST(BinaryFileWarningTest, NulOrMoreThanOnePercentOfControlBytesInTheFirst64KB) {
  const auto text = [](size_t size, size_t controls, char control = '\x01') {
    std::string t(size, 'G');
    for (size_t i = 0; i < controls; ++i) t[i * 7 % size] = control;
    return t;
  };
  const struct {
    const char* Name;
    std::string Head;
    bool Binary;
    size_t Unexpected;
  } cases[] = {
      {"1 % exactly", text(1000, 10), false, 10},
      {"just above 1 %", text(1000, 11), true, 11},
      {"one NUL", text(1000, 1, '\0'), true, 1},
      {"line ends, tabs, form feeds, umlauts", "G01\tX1\r\n\f\x84\x94\xe4\xc3\xa4\n", false, 0},
      {"DEL counts", text(100, 2, '\x7f'), true, 2},
      {"only the first 64 KB count", std::string(kLookedAtBytes, 'G') + std::string(100, '\0'), false, 0},
      {"empty", "", false, 0},
  };
  for (const auto& c : cases) {
    const TTextLook look = LookAtText(c.Head);
    EXPECT_EQ(look.LooksBinary, c.Binary) << c.Name;
    EXPECT_EQ(look.Unexpected, c.Unexpected) << c.Name;
    EXPECT_EQ(BinaryFileWarning("p.cnc", look).has_value(), c.Binary) << c.Name;
  }
  EXPECT_EQ(BinaryFileWarning("p.cnc", LookAtText(text(1000, 11))),
            "Warning: p.cnc does not look like a text file (11 unexpected bytes in the first 64 KB)");
}

// A binary file still runs, after the warning; a missing one says so in the status line.
TEST_F(TProcessFileTest, BinaryFileWarnsFirstAndAnUnreadableFileIsNamedInTheSummary) {
  TTempFile binary(std::string("G01 X10 Y10\n\0\0PK\x03\x04\n", 19), ".cnc");
  const TProcessResult r = Process(binary.Name());
  ASSERT_GE(Pane.Lines.size(), 3u);
  EXPECT_EQ(Pane.Lines[1],
            "Warning: " + binary.Name() + " does not look like a text file (4 unexpected bytes in the first 64 KB)");
  EXPECT_EQ(Pane.Lines[2], "Message from CAM processor: Init CNC-Dll");
  EXPECT_TRUE(r.ReadProblem.empty());
  EXPECT_TRUE(RunSummary("program.cnc", r).starts_with("program.cnc: ")) << RunSummary("program.cnc", r);

  const std::string missing = binary.Name() + ".gone";
  const TProcessResult gone = Process(missing);
  EXPECT_EQ(RunSummary("program.cnc.gone", gone), "cannot read " + missing + ": no such file");
}

TEST(RunSummaryTest, NamesFileLinesBothListsAndTime) {
  TProcessResult r;
  EXPECT_EQ(RunSummary("a.cnc", r), "No input file specified");
  r.Processed = true;
  r.OpenResult = 51;
  r.ContourCount = 487;
  r.PathCount = 497;
  r.Milliseconds = 2.4;
  EXPECT_EQ(RunSummary("demo.cnc", r), "demo.cnc: 51 lines, contour 487 elements, cutting path 497 elements, 2 ms");
}

}  // namespace
