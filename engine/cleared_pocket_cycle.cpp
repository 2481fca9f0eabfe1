// G87: rounded rectangular pocket anchored at the centre of its lower left corner arc,
// every depth level cleared from the outside inwards: concentric rings, then concentric
// rectangles, then a centre line; a last ring at the full size finishes the wall.
#include <cmath>

#include "engine/cycle_emitter.h"
#include "engine/cycles.h"

namespace {

// Problems found while generating one line, each reported once.
struct TPocketFaults {
  bool TooSmall = false;
  bool FlatCorner = false;
  void Report(TCncInstance& inst, int32_t line) const {
    if (TooSmall) inst.AddMessage(CycleMessage(line, "pocket smaller than the tool"));
    if (FlatCorner) inst.AddMessage(CycleMessage(line, "pocket ring with corner radius 0, its arcs are left out"));
  }
};

// A rounded rectangle whose corner-arc centres are (x0, y0), (x0 + p, y0), (x0 + p, y0 + h)
// and (x0, y0 + h), traced clockwise from the left end of its top edge, where the tool
// already stands. A ring of radius 0 keeps its edges (its arcs would be points); one of a
// negative radius would run inside out and is left out.
void Ring(TCycleEmitter& e, TPocketFaults& faults, double x0, double y0, double p, double h, double q, double z) {
  if (!(q >= 0)) {
    faults.TooSmall = true;
    return;
  }
  const bool arcs = q > 0;
  if (!arcs) faults.FlatCorner = true;
  const double t = y0 + h + q;
  e.Feed(x0 + p, t, z);
  if (arcs) e.ArcCw(x0 + p + q, t - q, z, 0, -q);
  e.Feed(x0 + p + q, y0, z);
  if (arcs) e.ArcCw(x0 + p, y0 - q, z, -q, 0);
  e.Feed(x0, y0 - q, z);
  if (arcs) e.ArcCw(x0 - q, y0, z, 0, q);
  e.Feed(x0 - q, y0 + h, z);
  if (arcs) e.ArcCw(x0, t, z, q, 0);
}

// The clearing of one level, in the anchor's frame (anchor at 0, 0).
struct TLevelPlan {
  double P = 0.0;   // distance of the corner-arc centres along X
  double H = 0.0;   // and along Y
  double Q = 0.0;   // radius of the first ring
  double D = 0.0;   // tool diameter, the stepover
  double B1 = 0.0;  // roughing width
  int64_t Rings = 0;
  int64_t Rectangles = 0;
};

void ClearLevel(TCycleEmitter& e, TPocketFaults& faults, const TLevelPlan& c, double z) {
  for (int64_t i = 1; i <= c.Rings; ++i) {
    const double q = c.Q - static_cast<double>(i - 1) * c.D;
    Ring(e, faults, 0, 0, c.P, c.H, q, z);
    // Radii only shrink: after a ring turned inside out the rest do too.
    if (q < 0) break;
    if (i < c.Rings) e.Feed(0, c.H + c.Q - static_cast<double>(i) * c.D, z);
  }
  double y = c.H + c.Q - static_cast<double>(c.Rings) * c.D;
  double rest = c.B1 - 2 * c.D * static_cast<double>(c.Rings);
  for (int64_t i = 0; i < c.Rectangles; ++i) {
    e.Feed(0, y, z);
    e.Feed(c.P, y, z);
    e.Feed(c.P, y - (rest - c.D), z);
    e.Feed(0, y - (rest - c.D), z);
    e.Feed(0, y, z);
    y -= c.D;
    rest -= 2 * c.D;
  }
  e.Feed(0, c.H / 2, z);
  e.Feed(c.P, c.H / 2, z);
}

void ContourPass(TCncInstance& inst, TCycleEmitter& e) {
  const double top = inst.Pos.Z;
  const TPocketParams& pocket = inst.Pocket;
  const double l = pocket.Length, b = pocket.Width, r = pocket.CornerRadius;
  TPocketFaults ignored;  // the outline is shown as programmed; the path pass reports
  e.PauseCompensation(inst.Compensation);
  e.Rapid(0, b - r, top);
  e.Feed(0, b - r, top - pocket.Depth);
  e.Feed(0, b - r, top);
  Ring(e, ignored, 0, 0, l - 2 * r, b - 2 * r, r, top);
  e.Feed(0, b - r, top);
  e.ResumeCompensation(inst.Compensation);
}

void PathPass(TCncInstance& inst, int32_t line, TCycleEmitter& e) {
  const double top = inst.Pos.Z;
  const TPocketParams& pocket = inst.Pocket;
  const double l = pocket.Length, b = pocket.Width, r = pocket.CornerRadius;
  const double u = pocket.Depth, v = pocket.StepDepth, w = pocket.Allowance;
  const double d = inst.ToolDiameter();
  const double l1 = l - 2 * w, b1 = b - 2 * w, r1 = r - w;

  TLevelPlan plan{l1 - 2 * r1, b1 - 2 * r1, r1 - d / 2, d, b1, 0, 0};
  TPocketFaults faults;
  const bool shapeOk = std::isfinite(plan.P) && std::isfinite(plan.H) && std::isfinite(r1) && plan.P >= 0 &&
                       plan.H >= 0;
  bool clear = shapeOk && r1 >= 0 && d > 0;
  if (!shapeOk || !(r1 >= 0)) faults.TooSmall = true;
  if (!(d > 0)) inst.AddMessage(CycleMessage(line, "tool diameter 0, the pocket levels are not cleared"));

  const double levels = std::trunc(u / v);
  const double fullLevels = levels > 0 ? levels : 0.0;
  double movesPerLevel = 4;
  if (clear) {
    const double rings = std::nearbyint(r1 / d);
    const double rectangles = std::nearbyint((b1 - 2 * d * rings) / (2 * d));
    movesPerLevel += 9 * rings + 5 * (rectangles > 0 ? rectangles : 0.0);
    if (movesPerLevel <= kMaxCycleMoves) {
      plan.Rings = static_cast<int64_t>(rings);
      plan.Rectangles = rectangles > 0 ? static_cast<int64_t>(rectangles) : 0;
    }
  }
  if (!((fullLevels + 1) * movesPerLevel + 20 <= kMaxCycleMoves)) {
    inst.AddMessage(CycleMessage(line, "too many moves for the pocket, it is left out"));
    return;
  }

  e.PauseCompensation(inst.Compensation);
  const double sy = b1 - r1 - d / 2;
  double z = top;
  const auto n = static_cast<int64_t>(fullLevels);
  for (int64_t k = 0; k < n; ++k) {
    e.Rapid(0, sy, z);
    z -= v;
    e.Feed(0, sy, z);
    if (clear) ClearLevel(e, faults, plan, z);
  }
  if (top - u < z) {
    e.Rapid(0, sy, z);
    z = top - u;
    e.Feed(0, sy, z);
    if (clear) ClearLevel(e, faults, plan, z);
  }
  const double fy = b - r - d / 2;
  e.Feed(0, fy, z);
  if (shapeOk) Ring(e, faults, 0, 0, l - 2 * r, b - 2 * r, r - d / 2, z);
  // The finishing ring's start in the pocket's own frame, as the next line sees it.
  inst.Pos.Y += fy;
  e.Rapid(0, fy, top);
  e.ResumeCompensation(inst.Compensation);
  faults.Report(inst, line);
}

}  // namespace

void ClearedPocketG87(TCncInstance& inst, int32_t line, TElementList& target, TPass pass) {
  if (!(inst.Pocket.StepDepth > 0)) {
    if (pass == TPass::RawPath) inst.AddMessage(CycleMessage(line, "depth per step V must be greater than 0"));
    return;
  }
  TCycleEmitter e(target, line, inst.Pos.X, inst.Pos.Y, inst.Pocket.Angle);
  if (pass == TPass::Contour) ContourPass(inst, e);
  else PathPass(inst, line, e);
}
