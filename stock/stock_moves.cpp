#include "stock/stock_moves.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double Angle(double x, double y, const TStockMove& m) { return std::atan2(y - m.CentreY, x - m.CentreX); }

// `to` - `from` turned the arc's way, in (0, 2 pi].
double Turn(double from, double to, TMoveShape shape) {
  double d = shape == TMoveShape::Ccw ? to - from : from - to;
  d = std::fmod(d, kTwoPi);
  if (d <= 0) d += kTwoPi;
  return d;
}

// A measure in [0, 4) that grows with the direction's angle from +X, as the angle does in
// [0, 2 pi): enough to order directions.
double PseudoAngle(double x, double y) {
  const double p = x / (std::abs(x) + std::abs(y));
  if (!std::isfinite(p)) return 0.0;  // no direction: the angle 0, as atan2 gives
  return y < 0 ? 3.0 + p : 1.0 - p;
}
constexpr double kPseudoTurn = 4.0;

// The pseudo-angle the arc turns from `from` to `to`, in (0, 4].
double PseudoTurn(double from, double to, TMoveShape shape) {
  double d = shape == TMoveShape::Ccw ? to - from : from - to;
  if (d <= 0) d += kPseudoTurn;
  return d;
}

}  // namespace

double ArcSpan(const TStockMove& move) {
  if (move.From.X == move.To.X && move.From.Y == move.To.Y) return kTwoPi;
  return Turn(Angle(move.From.X, move.From.Y, move), Angle(move.To.X, move.To.Y, move), move.Shape);
}

TMoveBounds BoundsOf(const TStockMove& move) {
  TMoveBounds b{std::min(move.From.X, move.To.X), std::max(move.From.X, move.To.X), std::min(move.From.Y, move.To.Y),
                std::max(move.From.Y, move.To.Y), std::min(move.From.Z, move.To.Z)};
  if (move.Shape == TMoveShape::Line) return b;
  // Radius and angle change evenly along the arc, so each coordinate stays within what the
  // smallest and the largest radius reach at the ends and at the axis directions the arc
  // turns through. Whether it turns through one needs only the order of the angles, which
  // a pseudo-angle keeps without any trigonometry.
  const double ux = move.From.X - move.CentreX, uy = move.From.Y - move.CentreY;
  const double vx = move.To.X - move.CentreX, vy = move.To.Y - move.CentreY;
  const double r0 = std::sqrt(ux * ux + uy * uy), r1 = std::sqrt(vx * vx + vy * vy);
  const double start = PseudoAngle(ux, uy);
  const bool closed = move.From.X == move.To.X && move.From.Y == move.To.Y;
  const double span = closed ? kPseudoTurn : PseudoTurn(start, PseudoAngle(vx, vy), move.Shape);
  const auto grow = [&](double x, double y) {
    b.XMin = std::min(b.XMin, x);
    b.XMax = std::max(b.XMax, x);
    b.YMin = std::min(b.YMin, y);
    b.YMax = std::max(b.YMax, y);
  };
  // The end directions at the other end's radius too: a spiral may pass them at either. An
  // end on the centre looks along +X, as atan2 has it.
  const double startX = r0 > 0 ? ux / r0 : 1.0, startY = r0 > 0 ? uy / r0 : 0.0;
  const double endX = r1 > 0 ? vx / r1 : 1.0, endY = r1 > 0 ? vy / r1 : 0.0;
  grow(move.CentreX + startX * r1, move.CentreY + startY * r1);
  grow(move.CentreX + endX * r0, move.CentreY + endY * r0);
  constexpr std::array<std::array<double, 2>, 4> kAxes{{{1, 0}, {0, 1}, {-1, 0}, {0, -1}}};
  for (const auto& [ex, ey] : kAxes) {
    if (PseudoTurn(start, PseudoAngle(ex, ey), move.Shape) > span) continue;
    for (const double r : {r0, r1}) grow(move.CentreX + r * ex, move.CentreY + r * ey);
  }
  return b;
}
