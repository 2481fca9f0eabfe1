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
  // The arc reaches the circle's extreme in a direction when it turns through it.
  const double r = std::max(std::hypot(move.From.X - move.CentreX, move.From.Y - move.CentreY),
                            std::hypot(move.To.X - move.CentreX, move.To.Y - move.CentreY));
  const double start = Angle(move.From.X, move.From.Y, move), span = ArcSpan(move);
  const double directions[] = {0.0, std::numbers::pi / 2, std::numbers::pi, -std::numbers::pi / 2};
  for (const double d : directions) {
    if (Turn(start, d, move.Shape) > span) continue;
    b.XMin = std::min(b.XMin, move.CentreX + r * std::cos(d));
    b.XMax = std::max(b.XMax, move.CentreX + r * std::cos(d));
    b.YMin = std::min(b.YMin, move.CentreY + r * std::sin(d));
    b.YMax = std::max(b.YMax, move.CentreY + r * std::sin(d));
  }
  return b;
}
