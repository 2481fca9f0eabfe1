// G86 and G88: rounded pockets centred on the current point, cut in depth steps with an
// optional finishing allowance. One driver; the two differ only in the outline.
#include <cmath>
#include <numbers>

#include "engine/cycle_emitter.h"
#include "engine/cycles.h"

namespace {

enum class TPocketShape { Rectangle, Slanted };

struct TPocketSize {
  double Length = 0.0;  // along the pocket's own X axis
  double Width = 0.0;
  double Radius = 0.0;  // of the corners
};

// G88's long sides narrow towards the lower edge by this angle.
constexpr double kSlant = 10.0 * std::numbers::pi / 180.0;

// Length of G88's lower straight edge.
double LowerEdge(const TPocketSize& s) {
  return s.Length - 2 * s.Radius - 2 * (s.Width - 2 * s.Radius) * std::tan(kSlant);
}

// An outline whose edges keep their direction and whose arcs have a radius of 0 or more;
// anything else would trace a self-crossing path.
bool Traceable(TPocketShape shape, const TPocketSize& s) {
  if (!std::isfinite(s.Length) || !std::isfinite(s.Width) || !std::isfinite(s.Radius)) return false;
  if (s.Radius < 0 || s.Length - 2 * s.Radius < 0 || s.Width - 2 * s.Radius < 0) return false;
  return shape == TPocketShape::Rectangle || LowerEdge(s) >= 0;
}

// Both outlines start here: the left end of the upper edge (in the pocket's plane, z 0).
TPoint StartOf(const TPocketSize& s) { return {-(s.Length - 2 * s.Radius) / 2, s.Width / 2, 0.0}; }

void TraceRectangle(TCycleEmitter& e, const TPocketSize& s, double z) {
  const double r = s.Radius, m = (s.Length - 2 * r) / 2, h = s.Width / 2;
  e.Rapid(-m, h, z);
  e.Feed(m, h, z);
  e.ArcCw(m + r, h - r, z, 0, -r);
  e.Feed(m + r, r - h, z);
  e.ArcCw(m, -h, z, -r, 0);
  e.Feed(-m, -h, z);
  e.ArcCw(-m - r, r - h, z, 0, r);
  e.Feed(-m - r, h - r, z);
  e.ArcCw(-m, h, z, r, 0);
}

void TraceSlanted(TCycleEmitter& e, const TPocketSize& s, double z) {
  const double r = s.Radius, b = s.Width, h = b / 2;
  const double sn = std::sin(kSlant), cs = std::cos(kSlant), tn = std::tan(kSlant);
  const double m = s.Length - 2 * r, n = LowerEdge(s);
  e.Rapid(-m / 2, h, z);
  e.Feed(m / 2, h, z);
  e.ArcCw(m / 2 + cs * r, h - r - sn * r, z, 0, -r);
  e.Feed(m / 2 + cs * r - (b - 2 * r) * tn, r - h - sn * r, z);
  e.ArcCw(n / 2, -h, z, -cs * r, sn * r);
  e.Feed(-n / 2, -h, z);
  e.ArcCw(-n / 2 - cs * r, r - h - sn * r, z, 0, r);
  e.Feed(-m / 2 - cs * r, h - r - sn * r, z);
  e.ArcCw(-m / 2, h, z, cs * r, sn * r);
}

void Trace(TPocketShape shape, TCycleEmitter& e, const TPocketSize& s, double z) {
  if (shape == TPocketShape::Rectangle) TraceRectangle(e, s, z);
  else TraceSlanted(e, s, z);
}

void FeedToStart(TCycleEmitter& e, const TPocketSize& s, double z) {
  const TPoint p = StartOf(s);
  e.Feed(p.X, p.Y, z);
}

void RunPocket(TPocketShape shape, TCncInstance& inst, int32_t line, TElementList& target, TPass pass) {
  const double top = inst.Pos.Z;
  const TPocketParams& pocket = inst.Pocket;
  const double u = pocket.Depth, v = pocket.StepDepth, w = pocket.Allowance;
  TCycleEmitter e(target, line, inst.Pos.X, inst.Pos.Y, pocket.Angle);

  // Without a positive step the depth could never be reached: no moves in either list.
  if (!(v > 0)) {
    if (pass == TPass::RawPath) inst.AddMessage(CycleMessage(line, "depth per step V must be greater than 0"));
    return;
  }

  if (pass == TPass::Contour) {
    e.PauseCompensation(inst.Compensation);
    Trace(shape, e, {pocket.Length, pocket.Width, pocket.CornerRadius}, top - u);
    e.Rapid(0, 0, top);
    inst.Pos = e.LastPoint();
    return;
  }

  const double steps = std::floor(u / v);
  const double fullSteps = steps > 0 ? steps : 0.0;
  if (!((fullSteps + 2) * 10 <= kMaxCycleMoves)) {
    inst.AddMessage(CycleMessage(line, "too many depth steps, the pocket is left out"));
    return;
  }
  const double d = inst.ToolDiameter();
  const TPocketSize rough{pocket.Length - d - 2 * w, pocket.Width - d - 2 * w, pocket.CornerRadius - d / 2 - w};
  const TPocketSize finish{pocket.Length - d, pocket.Width - d, pocket.CornerRadius - d / 2};
  const bool roughOk = Traceable(shape, rough);
  const bool finishOk = !(w > 0) || Traceable(shape, finish);
  if (!roughOk || !finishOk) inst.AddMessage(CycleMessage(line, "pocket smaller than the tool"));

  e.PauseCompensation(inst.Compensation);
  const TPoint s1 = StartOf(rough);
  if (roughOk) e.Rapid(s1.X, s1.Y, top);
  const auto n = static_cast<int64_t>(fullSteps);
  const double rest = u - static_cast<double>(n) * v;
  double z = top;
  // Each step plunges at the start and traces the outline at the new depth.
  auto cutStep = [&](double stepDepth) {
    z -= stepDepth;
    if (!roughOk) return;
    e.Feed(s1.X, s1.Y, z);
    Trace(shape, e, rough, z);
  };
  for (int64_t k = 0; k < n; ++k) cutStep(v);
  if (rest > 0) cutStep(rest);

  TPocketSize current = rough;
  bool currentOk = roughOk;
  if (w > 0) {
    if (finishOk) {
      FeedToStart(e, finish, top);
      Trace(shape, e, finish, z);
    }
    current = finish;
    currentOk = finishOk;
  }
  if (currentOk) FeedToStart(e, current, top);
  e.ResumeCompensation(inst.Compensation);
  if (e.Moved()) inst.Pos = e.LastPoint();
}

}  // namespace

void PocketCycleG86(TCncInstance& inst, int32_t line, TElementList& target, TPass pass) {
  RunPocket(TPocketShape::Rectangle, inst, line, target, pass);
}

void PocketCycleG88(TCncInstance& inst, int32_t line, TElementList& target, TPass pass) {
  RunPocket(TPocketShape::Slanted, inst, line, target, pass);
}
