// Job figures of a run: extents, feed and rapid lengths and the estimated cutting time,
// from the cutting path (or the contour when the path is empty). No Qt, no window.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/program_reader.h"
#include "engine/cnc_api.h"

enum class TFigureList { Path, Contour };
// Which moves count in the extents: all (the job), or only those the view draws of a list.
enum class TExtentMoves { All, FeedOnly };

inline constexpr double kMillimetresPerInch = 25.4;
inline constexpr double kSecondsPerMinute = 60.0;

struct TAxisRange {
  double Min = std::numeric_limits<double>::infinity();
  double Max = -std::numeric_limits<double>::infinity();
  void Take(double v) {
    if (v < Min) Min = v;
    if (v > Max) Max = v;
  }
};

struct TJobFigures {
  TFigureList List = TFigureList::Path;
  bool AnyMove = false;  // without moves the extents are empty
  TAxisRange X, Y, Z;
  double FeedLength = 0.0;   // mm
  double RapidLength = 0.0;  // mm
  // Seconds; none when a feed move runs before any usable F (none, or F0).
  std::optional<double> CuttingSeconds = 0.0;
};

// Adds up moves one element record at a time, so a million-element list needs no copy.
class TJobFigureSum {
 public:
  TJobFigureSum(const TCncPoint& start, TFeedUnit unit, TExtentMoves counted = TExtentMoves::All);
  void Add(const TCncElementData& e);
  const TJobFigures& Figures() const { return Result; }
  // Seconds of the element Add took last at the F in force; none for a rapid, an element
  // that does not move, or a feed move without a usable F.
  const std::optional<double>& LastMoveSeconds() const { return LastSeconds; }

 private:
  void TakeArc(const TCncElementData& e, bool clockwise, double& length);
  TCncPoint Current;
  double MillimetresPerFeedUnit;
  TExtentMoves Counted;
  double FeedMmPerMinute = 0.0;  // 0: no F programmed yet
  TJobFigures Result;
  std::optional<double> LastSeconds;
};

// Figures of a list of element records whose first move starts at `start`.
TJobFigures ComputeJobFigures(std::span<const TCncElementData> elements, const TCncPoint& start, TFeedUnit unit);

// Figures of a run instance, read through the C entry points: the cutting path, or the
// contour when the path is empty. `unit` is the run's (FeedUnitOfRun): the elements carry F
// as written.
TJobFigures JobFiguresOfRun(int32_t handle, const TCncPoint& start, TFeedUnit unit);
// Figures of one list of a run instance (CNC_MODE_CONTOUR or CNC_MODE_PATH).
TJobFigures JobFiguresOfList(int32_t handle, uint8_t mode, const TCncPoint& start, TFeedUnit unit);

// "Job: X -1.000 .. 101.000, Y ..., Z ...; feed 400.000 mm, rapid 10.000 mm, time 0:24 (path)"
std::string JobFiguresLine(const TJobFigures& f);
// The status area's short form, beside the run summary: "145.0 x 105.0 x 26.5 mm, 1:50".
std::string JobFiguresStatus(const TJobFigures& f);
// "m:ss" or "h:mm:ss", or "no feed programmed".
std::string CuttingTimeText(const std::optional<double>& seconds);
