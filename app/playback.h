// Playing a run back: the first k elements of the played list drawn, the tool at the end of
// the last of them, the program line it came from, and the clock that moves k on while
// playing. No Qt, no window: the playback bar wires this to the view.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/job_figures.h"
#include "base/records.h"
#include "display/view_window.h"

enum class TPlaySpeed { Times1, Times10, Times100, Times1000 };

struct TPlaySpeedRow {
  TPlaySpeed Speed;
  const char* Caption;
  double Factor;  // play seconds per wall-clock second
};
inline constexpr std::array<TPlaySpeedRow, 4> kPlaySpeeds{{{TPlaySpeed::Times1, "x1", 1.0},
                                                           {TPlaySpeed::Times10, "x10", 10.0},
                                                           {TPlaySpeed::Times100, "x100", 100.0},
                                                           {TPlaySpeed::Times1000, "x1000", 1000.0}}};

// Moves without a time of their own (rapids, feed moves before any usable F) play at this
// rate at x1, so a program without feeds still plays.
inline constexpr double kFallbackElementsPerSecond = 20.0;

double SpeedFactor(TPlaySpeed speed);
// Play time after `wallSeconds` more of playing at `speed` from `playSeconds`.
double AdvancePlayTime(double playSeconds, double wallSeconds, TPlaySpeed speed);

// What a run drew of the list that plays back: the cutting path when it is shown, else the
// contour. ProcessFile keeps it; the objects before ObjectsBefore (the contour under a
// played path) stay drawn whatever the position.
struct TPlayedList {
  uint8_t Mode = 0;                 // 0 contour, 1 cutting path
  int32_t StartTool = 0;            // tool in force when the list's drawing began
  TCncPoint ProgramStart{0, 0, 0};  // where its first move starts, in program coordinates
  TRealXY W0;                       // the work origin the list was drawn with
  size_t ObjectsBefore = 0;
  std::vector<size_t> ObjectEnds;  // display objects after each element
  bool Empty() const { return ObjectEnds.empty(); }
};

// The tool circle to show: centre in view coordinates; radius 0 draws none.
struct TToolMark {
  TRealXY Centre;
  double Radius = 0.0;
  int32_t Tool = 0;
};

// The N number an element came from: its own, or the last one before it (0: none yet).
struct TLineAt {
  int32_t Number = 0;
  bool Own = false;
};

class TPlaybackTrack {
 public:
  TPlaybackTrack() = default;
  TPlaybackTrack(const TPlayedList& played, TFeedUnit unit);
  // The played list's elements, in list order, each with the file line it came from.
  void Add(const TCncElementData& e, int32_t fileLine = 0);

  size_t Count() const { return Steps.size(); }
  // Display objects shown at position k (k elements done; k beyond the end counts as the end).
  size_t ObjectLimit(size_t k) const;
  // The tool after the first k elements: at the end of the last move among them.
  TToolMark ToolAt(size_t k, const TToolTable& tools) const;
  // The line of the last element done (element k - 1); nothing at position 0.
  TLineAt LineAt(size_t k) const;
  // The file line (from 1) of the last element done; 0 at position 0 or when not known.
  int32_t FileLineAt(size_t k) const;
  // Play seconds when the first k elements are done.
  double TimeAt(size_t k) const;
  // Elements done at play time `seconds`: the last position whose time has come.
  size_t PositionAt(double seconds) const;
  double TotalSeconds() const { return TimeAt(Count()); }

 private:
  struct TStep {
    double EndSeconds;
    TRealXY Tool;
    TLineAt Line;
    int32_t FileLine;
  };
  struct TToolChange {
    size_t Element;
    int32_t Tool;
  };
  size_t Clamp(size_t k) const { return k < Steps.size() ? k : Steps.size(); }

  TJobFigureSum Clock{{0, 0, 0}, TFeedUnit::Millimetre};
  TRealXY W0, Start;
  int32_t StartTool = 0;
  size_t ObjectsBefore = 0;
  std::vector<size_t> ObjectEnds;
  std::vector<TStep> Steps;
  std::vector<TToolChange> ToolChanges;
};

// The track of a run instance's played list, read through the C entry points.
TPlaybackTrack PlaybackTrackOfRun(int32_t handle, const TPlayedList& played, TFeedUnit unit);

// The status area's playback line: "Element 1234 of 100000, N50, 0:42 of 1:50"
std::string PlaybackStatus(const TPlaybackTrack& track, size_t k);
