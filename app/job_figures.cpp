#include "app/job_figures.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "engine/run_elements.h"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kQuarterTurn = std::numbers::pi / 2.0;
// Start and end closer than this make a full circle, not an empty arc.
constexpr double kSamePointMm = 1e-9;

// Angle in [0, 2 pi).
double Normalised(double a) {
  a = std::fmod(a, kTwoPi);
  return a < 0.0 ? a + kTwoPi : a;
}

}  // namespace

TJobFigureSum::TJobFigureSum(const TCncPoint& start, TFeedUnit unit, TExtentMoves counted)
    : Current(start), MillimetresPerFeedUnit(unit == TFeedUnit::Inch ? kMillimetresPerInch : 1.0), Counted(counted) {}

void TJobFigureSum::TakeArc(const TCncElementData& e, bool clockwise, double& length) {
  const double cx = Current.X + e.P2.X, cy = Current.Y + e.P2.Y;
  const double r = std::hypot(Current.X - cx, Current.Y - cy);
  const double from = std::atan2(Current.Y - cy, Current.X - cx);
  const double to = std::atan2(e.P1.Y - cy, e.P1.X - cx);
  const bool closed = std::hypot(e.P1.X - Current.X, e.P1.Y - Current.Y) < kSamePointMm;
  double sweep = closed ? kTwoPi : Normalised(clockwise ? from - to : to - from);
  if (sweep == 0.0) sweep = kTwoPi;
  // The circle's extremes at the quarter turns the arc passes.
  for (int k = 0; k < 4; ++k) {
    const double theta = k * kQuarterTurn;
    const double passed = Normalised(clockwise ? from - theta : theta - from);
    if (passed <= sweep) {
      Result.X.Take(cx + r * std::cos(theta));
      Result.Y.Take(cy + r * std::sin(theta));
    }
  }
  length = std::hypot(r * sweep, e.P1.Z - Current.Z);
}

void TJobFigureSum::Add(const TCncElementData& e) {
  LastSeconds.reset();
  const TElementCode code = DecodeCode(e.Code);
  if (code.Letter == 'F') {
    FeedMmPerMinute = e.FeedValue * MillimetresPerFeedUnit;
    return;
  }
  if (!code.IsMove()) return;
  const int g = code.Number;
  const bool inExtents = g != 0 || Counted == TExtentMoves::All;
  if (inExtents) {
    Result.AnyMove = true;
    Result.X.Take(Current.X), Result.Y.Take(Current.Y), Result.Z.Take(Current.Z);
    Result.X.Take(e.P1.X), Result.Y.Take(e.P1.Y), Result.Z.Take(e.P1.Z);
  }
  double length = 0.0;
  if (g <= 1) {
    length = std::sqrt((e.P1.X - Current.X) * (e.P1.X - Current.X) + (e.P1.Y - Current.Y) * (e.P1.Y - Current.Y) +
                       (e.P1.Z - Current.Z) * (e.P1.Z - Current.Z));
  } else {
    TakeArc(e, g == 2, length);
  }
  if (g == 0) {
    Result.RapidLength += length;
  } else {
    Result.FeedLength += length;
    // F0 would make the move take forever: read it as no feed at all.
    if (FeedMmPerMinute > 0.0) LastSeconds = length / FeedMmPerMinute * kSecondsPerMinute;
    if (!LastSeconds) Result.CuttingSeconds.reset();
    else if (Result.CuttingSeconds) *Result.CuttingSeconds += *LastSeconds;
  }
  Current = e.P1;
}

TJobFigures ComputeJobFigures(std::span<const TCncElementData> elements, const TCncPoint& start, TFeedUnit unit) {
  TJobFigureSum sum(start, unit);
  for (const TCncElementData& e : elements) sum.Add(e);
  return sum.Figures();
}

TJobFigures JobFiguresOfRun(int32_t handle, const TCncPoint& start, TFeedUnit unit) {
  const bool usePath = CncGetCount(handle, CNC_MODE_PATH) > 0;
  return JobFiguresOfList(handle, usePath ? CNC_MODE_PATH : CNC_MODE_CONTOUR, start, unit);
}

TJobFigures JobFiguresOfList(int32_t handle, uint8_t mode, const TCncPoint& start, TFeedUnit unit) {
  TJobFigureSum sum(start, unit);
  for (const TRunElement& e : TRunElements(handle, mode))
    if (e.Read) sum.Add(e.Data);
  TJobFigures f = sum.Figures();
  f.List = mode == CNC_MODE_PATH ? TFigureList::Path : TFigureList::Contour;
  return f;
}

std::string CuttingTimeText(const std::optional<double>& seconds) {
  if (!seconds) return "no feed programmed";
  const long long s = std::llround(*seconds);
  char buf[48];
  if (s >= 3600) std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
  else std::snprintf(buf, sizeof buf, "%lld:%02lld", s / 60, s % 60);
  return buf;
}

std::string JobFiguresLine(const TJobFigures& f) {
  const char* list = f.List == TFigureList::Path ? "cutting path" : "contour";
  if (!f.AnyMove) return std::string("Job: no moves in the ") + list;
  char buf[320];
  std::snprintf(buf, sizeof buf,
                "Job (%s): X %.3f .. %.3f, Y %.3f .. %.3f, Z %.3f .. %.3f; feed %.3f mm, rapid %.3f mm, time %s", list,
                f.X.Min, f.X.Max, f.Y.Min, f.Y.Max, f.Z.Min, f.Z.Max, f.FeedLength, f.RapidLength,
                CuttingTimeText(f.CuttingSeconds).c_str());
  return buf;
}

std::string JobFiguresStatus(const TJobFigures& f) {
  if (!f.AnyMove) return "no moves";
  char buf[160];
  std::snprintf(buf, sizeof buf, "%.1f x %.1f x %.1f mm, %s", f.X.Max - f.X.Min, f.Y.Max - f.Y.Min, f.Z.Max - f.Z.Min,
                CuttingTimeText(f.CuttingSeconds).c_str());
  return buf;
}
