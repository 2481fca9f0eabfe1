#include "stock/stock_moves.h"

#include <algorithm>
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
  // smallest and the largest radius reach at the ends and at the extremes the arc turns
  // through.
  const double r0 = std::hypot(move.From.X - move.CentreX, move.From.Y - move.CentreY);
  const double r1 = std::hypot(move.To.X - move.CentreX, move.To.Y - move.CentreY);
  const double start = Angle(move.From.X, move.From.Y, move), span = ArcSpan(move);
  const double end = Angle(move.To.X, move.To.Y, move);
  const double directions[] = {start, end, 0.0, std::numbers::pi / 2, std::numbers::pi, -std::numbers::pi / 2};
  for (const double d : directions) {
    if (d != start && d != end && Turn(start, d, move.Shape) > span) continue;
    for (const double r : {r0, r1}) {
      b.XMin = std::min(b.XMin, move.CentreX + r * std::cos(d));
      b.XMax = std::max(b.XMax, move.CentreX + r * std::cos(d));
      b.YMin = std::min(b.YMin, move.CentreY + r * std::sin(d));
      b.YMax = std::max(b.YMax, move.CentreY + r * std::sin(d));
    }
  }
  return b;
}
