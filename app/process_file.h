// The processing run of the viewer: from a program file to engine messages in the
// information pane and contour and cutting path in the view. No window needed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/playback.h"
#include "display/pick_index.h"
#include "engine/cnc_api.h"
#include "platform/viewer_settings.h"

class TSimView;

// Where the run's messages go: the main window's information pane.
class TInfoPane {
 public:
  virtual ~TInfoPane() = default;
  virtual void Append(const std::string& line) = 0;
  // A message about line `fileLine` (from 1) of the program; 0 for none.
  virtual void AppendAbout(const std::string& line, int32_t /*fileLine*/) { Append(line); }
  // The pane's text becomes `text` followed by what it held.
  virtual void PutInFront(const std::string& text) = 0;
};

// What the main window keeps for the runs.
struct TViewerState {
  std::string CurrentFile;   // empty until a file is opened
  int32_t EngineHandle = 0;  // live engine instance, 0 when none
  TViewerSettings Settings;
  bool MachineViewOn = false;
  // Diameters of the settings file that could not be used; every run lists them again.
  std::vector<std::string> SettingsWarnings;
  // The moves of the last run's drawn lists, for picking with the mouse.
  TPickIndex Pick;
  // What the last run drew of the list that plays back.
  TPlayedList Played;
};

// The three display check boxes.
struct TDisplayChecks {
  bool PointOutEdges = false;
  bool ViewContour = true;
  bool ViewCuttingPath = false;
};

// Replays the run's elements into the machine-coordinate window (handle of the instance).
using TMachineViewRun = std::function<void(int32_t handle)>;

struct TProcessResult {
  bool Processed = false;   // false: no file chosen, nothing done
  bool NoInstance = false;  // CncOpen created no instance; the view stays empty
  int32_t OpenResult = 0;   // CncOpen: the line count, or 816/817 without an instance
  int32_t ContourCount = 0;
  int32_t PathCount = 0;
  double Milliseconds = 0.0;
  TCncPoint Start{0.0, 0.0, 0.0};  // where the run's first move started
};

inline const char* const kNoInputFile = "No input file specified \r\n";
inline const char* const kEnginePrefix = "Message from CAM processor: ";

// The spindle position in program coordinates; Z is minus the height of the current tool
// (0 for a tool number outside the table).
TCncPoint StartRecord(const TSimView& view, const TViewerSettings& settings);

// Closes the live instance, if any, and empties the view's display list.
void CloseEngine(TViewerState& state, TSimView& view);

// Processes state.CurrentFile; `name` is the text of the first message.
TProcessResult ProcessFile(const std::string& name, TViewerState& state, TSimView& view, const TDisplayChecks& checks,
                           TInfoPane& info, const TMachineViewRun& machineView = {});

// One line summing up a run for the status line: file, line count, both lists, time.
std::string RunSummary(const std::string& fileName, const TProcessResult& result);
