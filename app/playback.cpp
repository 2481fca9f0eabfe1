#include "app/playback.h"

#include <algorithm>
#include <cstdio>

#include "display/draw_elements.h"
#include "engine/run_elements.h"

namespace {

constexpr char kToolLetter = 'T';

}  // namespace

double SpeedFactor(TPlaySpeed speed) {
  for (const TPlaySpeedRow& row : kPlaySpeeds)
    if (row.Speed == speed) return row.Factor;
  return 1.0;
}

double AdvancePlayTime(double playSeconds, double wallSeconds, TPlaySpeed speed) {
  return playSeconds + std::max(0.0, wallSeconds) * SpeedFactor(speed);
}

TPlaybackTrack::TPlaybackTrack(const TPlayedList& played, TFeedUnit unit)
    : Clock(played.ProgramStart, unit),
      W0(played.W0),
      Start{played.ProgramStart.X + played.W0.X, played.ProgramStart.Y + played.W0.Y},
      StartTool(played.StartTool),
      ObjectsBefore(played.ObjectsBefore),
      ObjectEnds(played.ObjectEnds) {
  Steps.reserve(ObjectEnds.size());
}

void TPlaybackTrack::Add(const TCncElementData& e, int32_t fileLine) {
  const TStep* last = Steps.empty() ? nullptr : &Steps.back();
  TStep step{last ? last->EndSeconds : 0.0, last ? last->CuttingSeconds : 0.0, last ? last->Tool : Start, {}, fileLine};
  const int32_t numberBefore = last ? last->Line.Number : 0;
  step.Line = e.Line != 0 ? TLineAt{e.Line, true} : TLineAt{numberBefore, false};
  Clock.Add(e);
  const TElementCode code = DecodeCode(e.Code);
  if (code.IsMove()) {
    // A move without a time of its own still takes a moment, so that it can be seen.
    step.EndSeconds += Clock.LastMoveSeconds().value_or(1.0 / kFallbackElementsPerSecond);
    step.CuttingSeconds += Clock.LastMoveSeconds().value_or(0.0);
    step.Tool = {e.P1.X + W0.X, e.P1.Y + W0.Y};
  } else if (code.Letter == kToolLetter) {
    ToolChanges.push_back({Steps.size(), e.ToolNo});
  }
  Steps.push_back(step);
}

size_t TPlaybackTrack::ObjectLimit(size_t k) const {
  k = std::min(Clamp(k), ObjectEnds.size());
  return k == 0 ? ObjectsBefore : ObjectEnds[k - 1];
}

TToolMark TPlaybackTrack::ToolAt(size_t k, const TToolTable& tools) const {
  k = Clamp(k);
  // The last change among the first k elements.
  const auto after = std::lower_bound(ToolChanges.begin(), ToolChanges.end(), k,
                                      [](const TToolChange& c, size_t element) { return c.Element < element; });
  const int32_t tool = after == ToolChanges.begin() ? StartTool : std::prev(after)->Tool;
  return {k == 0 ? Start : Steps[k - 1].Tool, ToolCircleRadius(tools, tool), tool};
}

TLineAt TPlaybackTrack::LineAt(size_t k) const {
  k = Clamp(k);
  return k == 0 ? TLineAt{} : Steps[k - 1].Line;
}

int32_t TPlaybackTrack::FileLineAt(size_t k) const {
  k = Clamp(k);
  return k == 0 ? 0 : Steps[k - 1].FileLine;
}

double TPlaybackTrack::TimeAt(size_t k) const {
  k = Clamp(k);
  return k == 0 ? 0.0 : Steps[k - 1].EndSeconds;
}

double TPlaybackTrack::CuttingSecondsAt(size_t k) const {
  k = Clamp(k);
  return k == 0 ? 0.0 : Steps[k - 1].CuttingSeconds;
}

size_t TPlaybackTrack::PositionAt(double seconds) const {
  const auto due = std::upper_bound(Steps.begin(), Steps.end(), seconds,
                                    [](double t, const TStep& s) { return t < s.EndSeconds; });
  return static_cast<size_t>(due - Steps.begin());
}

TPlaybackTrack PlaybackTrackOfRun(int32_t handle, const TPlayedList& played, TFeedUnit unit) {
  TPlaybackTrack track(played, unit);
  // Only as many elements as were drawn: the instance may have been run again since. An
  // element that cannot be read drew nothing: it plays as a moment without a move.
  for (const TRunElement& e : TRunElements(handle, played.Mode, static_cast<int32_t>(played.ObjectEnds.size())))
    track.Add(e.Data, std::max(0, CncGetElementFileLine(handle, e.Index, played.Mode)));
  return track;
}

std::string PlaybackStatus(const TPlaybackTrack& track, size_t k) {
  k = std::min(k, track.Count());
  const std::optional<double>& total = track.Figures().CuttingSeconds;
  const std::string times = total ? CuttingTimeText(track.CuttingSecondsAt(k)) + " of " + CuttingTimeText(total)
                                  : CuttingTimeText(track.TimeAt(k)) + " of " + CuttingTimeText(track.TotalSeconds());
  if (k == 0) return "Start of " + std::to_string(track.Count()) + " elements, " + times;
  const TLineAt line = track.LineAt(k);
  std::string where = "no N number";
  if (line.Number != 0) where = (line.Own ? "N" : "after N") + std::to_string(line.Number);
  return "Element " + std::to_string(k) + " of " + std::to_string(track.Count()) + ", " + where + ", " + times;
}

uint8_t FiguresListOfRun(int32_t handle, const TPlayedList& played) {
  if (!played.Empty()) return played.Mode;
  return CncGetCount(handle, CNC_MODE_PATH) > 0 ? CNC_MODE_PATH : CNC_MODE_CONTOUR;
}
