#include "windows/machine_view_run.h"

#include <algorithm>
#include <cmath>

#include "base/convert.h"
#include "base/records.h"
#include "engine/cnc_api.h"
#include "engine/run_elements.h"
#include "windows/real_point_view.h"

namespace {

constexpr double kStepsPerMm = 100.0;
constexpr TRgb kRapid = Rgb(0, 0, 255);
constexpr TRgb kContourFeed = Rgb(255, 255, 0);
constexpr TRgb kPathFeed = Rgb(0, 255, 0);
constexpr const char* kContourTail = "  radius correction on contour processing";
constexpr const char* kPathTail = "  radius correction on cutting path processing";
constexpr const char* kEmptyList = "Empty list, no data to process";

// Whole steps of a difference; anything beyond the plotter's limit only needs to stay beyond
// it, so sums of moves never overflow.
int64_t StepsOf(double v) { return std::clamp<int64_t>(RoundNearest(v), -kMaxMoveSteps - 1, kMaxMoveSteps + 1); }

// A point of the plotter, in steps.
using TStepPoint = TPoint;

TStepPoint Rounded(const TStepPoint& p) {
  return {static_cast<double>(RoundNearest(p.X)), static_cast<double>(RoundNearest(p.Y)),
          static_cast<double>(RoundNearest(p.Z))};
}

struct TListLoop {
  int32_t Handle;
  uint8_t Mode;
  TRgb Feed;
  const char* Tail;
};

enum class TLoopEnd { Done, Empty, OverBudget };

class TMachineRun {
 public:
  TMachineRun(TCNCgraphics& plotter, const TMachineDrawRun& run) : Plotter(plotter), Run(run) {}

  TLoopEnd List(const TListLoop& loop, int64_t originX, int64_t originY) {
    Plotter.Origin(originX, originY);
    Plotter.Colours(kRapid, loop.Feed);
    TStepPoint current;
    TRunElements list(loop.Handle, loop.Mode);
    if (list.Empty()) {
      Info(kEmptyList);
      return TLoopEnd::Empty;
    }
    const bool contour = loop.Mode == CNC_MODE_CONTOUR;
    for (const TRunElement& element : list) {
      if (!element.Read) {
        Info("Error on reading line " + std::to_string(element.Index));
        continue;
      }
      const TCncElementData& e = element.Data;
      const TElementCode code = element.Code;
      const TStepPoint end{e.P1.X * kStepsPerMm, e.P1.Y * kStepsPerMm, e.P1.Z * kStepsPerMm};
      if (code.IsMove() && code.Number <= 1) {
        const bool feed = code.Number == 1;
        const int64_t dx = StepsOf(end.X - current.X), dy = StepsOf(end.Y - current.Y);
        Plotter.StraightMove(dx, dy, feed, StepsOf(end.Z - current.Z));
        if (!feed && contour) {
          // The contour's rapid moves are not drawn: the pen jumps.
          Plotter.ShiftPen(dx, -dy);
        } else if (!Step(e.Line, loop.Tail)) {
          return TLoopEnd::OverBudget;
        }
        current = Rounded(end);
      } else if (code.IsMove()) {
        const int32_t kind = code.Number;  // 2 clockwise, 3 counter-clockwise
        const TStepPoint start = current;
        const TArcCentre centre = CentreOfArc(
            kind, static_cast<double>(RoundNearest(e.P2.X * kStepsPerMm)),
            static_cast<double>(RoundNearest(e.P2.Y * kStepsPerMm)), static_cast<double>(RoundNearest(start.X)),
            static_cast<double>(RoundNearest(start.Y)), static_cast<double>(RoundNearest(end.X)),
            static_cast<double>(RoundNearest(end.Y)));
        Plotter.ArcMove(StepsOf(end.X - start.X), StepsOf(end.Y - start.Y), kind,
                        std::clamp(centre.Y, -kMaxMoveSteps - 1, kMaxMoveSteps + 1),
                        std::clamp(centre.X, -kMaxMoveSteps - 1, kMaxMoveSteps + 1));
        if (!Step(e.Line, loop.Tail)) return TLoopEnd::OverBudget;
        current = end;
      } else if (code.Letter == 'T' && code.Number == 0 && !contour) {
        if (Run.CurrentTool) *Run.CurrentTool = e.ToolNo;
        // A number outside the table leaves the diameter in use.
        if (Run.Tools && e.ToolNo >= 0 && e.ToolNo < static_cast<int32_t>(Run.Tools->size()))
          Plotter.SetToolDiameter(static_cast<int32_t>(
              std::clamp<int64_t>(RoundNearest((*Run.Tools)[e.ToolNo].Diameter), INT32_MIN, INT32_MAX)));
      }
    }
    return TLoopEnd::Done;
  }

 private:
  // Steps the motion set up last; false when the run's step budget would be exceeded.
  bool Step(int32_t line, const char* tail) {
    Used += Plotter.MotionSteps();
    if (Used > Run.StepBudget) {
      Info("Machine view stopped in program line " + std::to_string(line) + ": more than " +
           std::to_string(Run.StepBudget) + " steps to draw");
      return false;
    }
    if (Plotter.Run() != kRunFinished) Info("Error in program line : " + std::to_string(line) + tail);
    return true;
  }

  void Info(const std::string& s) const {
    if (Run.Info) Run.Info(s);
  }

  TCNCgraphics& Plotter;
  const TMachineDrawRun& Run;
  int64_t Used = 0;
};

}  // namespace

std::optional<TStepPosition> DrawMachineView(int32_t handle, uint8_t mode, const TMachineViewControls& controls,
                                             TPixelSink& surface, const TMachineDrawRun& run) {
  TCNCgraphics plotter(surface);
  plotter.Zoom(controls.Zoom / kZoomPerPixelStep);
  surface.Fill(Rgb(0, 0, 0));
  // Without a list no origin call resets the counters: the labels keep the last run's.
  if (!controls.ShowContour && !controls.ShowPath) return std::nullopt;
  TMachineRun machine(plotter, run);
  const int64_t originX = kOriginX - controls.HorzPos;
  const int64_t originY = kOriginY - controls.VertPos;
  if (controls.ShowContour &&
      machine.List({handle, CNC_MODE_CONTOUR, kContourFeed, kContourTail}, originX, originY) != TLoopEnd::Done)
    return std::nullopt;
  if (controls.ShowPath && machine.List({handle, mode, kPathFeed, kPathTail}, originX, originY) != TLoopEnd::Done)
    return std::nullopt;
  return plotter.Target();
}

void DrawMachineView(TfrmRealPointView& view, int32_t handle, uint8_t mode, const TMachineDrawRun& run) {
  view.show();
  TRasterSink surface = view.SurfaceSink();
  if (const auto counters = DrawMachineView(handle, mode, view.Controls(), surface, run))
    view.ShowStepCounters(*counters);
  view.SurfaceDrawn();
}
