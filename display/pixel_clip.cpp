#include "display/pixel_clip.h"

#include <algorithm>
#include <cmath>
#include <numbers>

bool ClipSegment(TRealXY& a, TRealXY& b, const TWindowRect& box) {
  if (!std::isfinite(a.X) || !std::isfinite(a.Y) || !std::isfinite(b.X) || !std::isfinite(b.Y)) return false;
  const double dx = b.X - a.X;
  const double dy = b.Y - a.Y;
  double t0 = 0.0, t1 = 1.0;
  // One boundary: p * t <= q must hold for the part inside.
  const auto edge = [&](double p, double q) {
    if (p == 0.0) return q >= 0.0;
    const double t = q / p;
    if (p < 0.0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  if (!edge(-dx, a.X - box.XMin) || !edge(dx, box.XMax - a.X) || !edge(-dy, a.Y - box.YMin) ||
      !edge(dy, box.YMax - a.Y))
    return false;
  const TRealXY start = a;
  if (t1 < 1.0) b = {start.X + t1 * dx, start.Y + t1 * dy};
  if (t0 > 0.0) a = {start.X + t0 * dx, start.Y + t0 * dy};
  // Cut points lie on the box; with far-away ends rounding may leave them beside it.
  for (TRealXY* p : {&a, &b}) {
    p->X = std::clamp(p->X, box.XMin, box.XMax);
    p->Y = std::clamp(p->Y, box.YMin, box.YMax);
  }
  return true;
}

TPixelMapping::TPixelMapping(const TViewWindow& w)
    : Window(w), SafeBox(RealBoxAroundView(w, kPixelMargin)), ViewBox(RealBoxAroundView(w, 0)) {}

TWindowRect RealBoxAroundView(const TViewWindow& w, double marginPx) {
  return {w.BildXToRealX(-marginPx), w.BildXToRealX(w.Width + marginPx), w.BildYToRealY(w.Height + marginPx),
          w.BildYToRealY(-marginPx)};
}

TAngleRuns VisibleArcRuns(const TRealXY& c, double r, double from, double sweep, const TWindowRect& box) {
  constexpr double kTwoPi = 2 * std::numbers::pi;
  TAngleRuns runs;
  const double nx = std::clamp(c.X, box.XMin, box.XMax) - c.X;
  const double ny = std::clamp(c.Y, box.YMin, box.YMax) - c.Y;
  const double dmin = std::hypot(nx, ny);
  const TRealXY corners[4] = {{box.XMin, box.YMin}, {box.XMax, box.YMin}, {box.XMax, box.YMax}, {box.XMin, box.YMax}};
  double dmax = 0.0;
  for (const TRealXY& k : corners) dmax = std::max(dmax, std::hypot(k.X - c.X, k.Y - c.Y));
  if (!(r >= dmin && r <= dmax)) return runs;
  if (dmin == 0.0) {  // centre inside the box: any part may show
    runs.Run[runs.Count++] = {from, from + sweep};
    return runs;
  }
  // Seen from outside, the box spans less than half a turn.
  const double mid = std::atan2((box.YMin + box.YMax) / 2 - c.Y, (box.XMin + box.XMax) / 2 - c.X);
  double lo = 0.0, hi = 0.0;
  for (const TRealXY& k : corners) {
    const double phi = std::remainder(std::atan2(k.Y - c.Y, k.X - c.X) - mid, kTwoPi);
    lo = std::min(lo, phi);
    hi = std::max(hi, phi);
  }
  double s = from + std::fmod(lo + mid - from, kTwoPi);
  if (s < from) s += kTwoPi;
  const double e = s + (hi - lo);
  const double end = from + sweep;
  if (s < end) runs.Run[runs.Count++] = {s, std::min(e, end)};
  if (e > from + kTwoPi) runs.Run[runs.Count++] = {from, std::min(e - kTwoPi, end)};
  return runs;
}
