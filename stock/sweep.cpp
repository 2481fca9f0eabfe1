#include "stock/sweep.h"

#include <algorithm>
#include <cmath>

namespace {

// A move shorter than this in the plane is a plunge.
constexpr double kPlungeLength = 1e-9;
// Arcs are split into at most this many chords, whatever their radius against the cell.
constexpr int64_t kMaxChords = 1 << 16;

struct TSpan {
  double Lo = std::numeric_limits<double>::infinity();
  double Hi = -std::numeric_limits<double>::infinity();
  void Join(double lo, double hi) {
    Lo = std::min(Lo, lo);
    Hi = std::max(Hi, hi);
  }
};

// The x where lo <= slope * x + offset <= hi, cut into `span`.
void Confine(double slope, double offset, double lo, double hi, TSpan& span) {
  if (std::abs(slope) < 1e-300) {
    if (offset < lo || offset > hi) span = TSpan{};
    return;
  }
  double a = (lo - offset) / slope, b = (hi - offset) / slope;
  if (a > b) std::swap(a, b);
  span.Lo = std::max(span.Lo, a);
  span.Hi = std::min(span.Hi, b);
}

// The x extent of a disc of radius `r` around (cx, cy) on the line at `y`.
void JoinDisc(double cx, double cy, double r, double y, TSpan& span) {
  const double dy = y - cy;
  if (std::abs(dy) > r) return;
  const double s = std::sqrt(r * r - dy * dy);
  span.Join(cx - s, cx + s);
}

// The index `at` held in [lo, 2e9]; lo for a value that is not a number.
int32_t CellIndex(double at, double lo) { return static_cast<int32_t>(at >= lo ? std::min(at, 2.0e9) : lo); }
// The first cell whose centre lies at or after `v`, and the last at or before it.
int32_t FirstCentreFrom(double v, double origin, double cell) {
  return CellIndex(std::ceil((v - origin) / cell - 0.5), -1.0);
}
int32_t LastCentreTo(double v, double origin, double cell) {
  return CellIndex(std::floor((v - origin) / cell - 0.5), -2.0);
}

inline void Lower(THeightMap& map, size_t index, double x, double y, double z, TSweepEffect& e) {
  if (z < e.Lowest) {
    e.Lowest = z;
    e.LowX = x;
    e.LowY = y;
  }
  float& cell = map.Z[index];
  if (!(z < cell)) return;
  const double removed = double(cell) - z;
  if (removed > e.Removed) {
    e.Removed = removed;
    e.X = x;
    e.Y = y;
    e.Z = z;
  }
  cell = static_cast<float>(z);
}

// A straight move seen from one cell centre: the lowest height of the cutter's bottom over it.
struct TLineSweep {
  TPoint A;
  double Ux, Uy, Length, Slope;  // the plane direction, plane length and dz per plane millimetre
  TCutter Cutter;

  // Lowest height over the point (qx, qy) relative to A, or +infinity out of reach.
  double LowestOver(double qx, double qy) const {
    const double r = Cutter.Radius;
    const double along = qx * Ux + qy * Uy;
    const double h = std::abs(qy * Ux - qx * Uy);
    if (h > r) return std::numeric_limits<double>::infinity();
    const double reach = std::sqrt(r * r - h * h);
    const double lo = std::max(0.0, along - reach), hi = std::min(Length, along + reach);
    if (lo > hi) return std::numeric_limits<double>::infinity();
    const double m = Slope;
    double at = 0.0;  // the distance along the move of the lowest point, from the rise's minimum
    switch (Cutter.Kind) {
      case TCutterKind::Flat: return A.Z + m * (m > 0 ? lo : hi);
      case TCutterKind::Ball: at = along - m * reach / std::sqrt(1.0 + m * m); break;
      case TCutterKind::VBit: {
        const double k = Cutter.Slope;
        at = std::abs(m) < k ? along - m * h / std::sqrt(k * k - m * m) : (m > 0 ? lo : hi);
        break;
      }
    }
    at = std::clamp(at, lo, hi);
    const double w = at - along;
    return A.Z + m * at + Cutter.Rise(std::min(r, std::sqrt(w * w + h * h)));
  }
};

bool IsFinite(const TStockMove& m) {
  const double values[] = {m.From.X, m.From.Y, m.From.Z, m.To.X, m.To.Y, m.To.Z, m.CentreX, m.CentreY};
  return std::ranges::all_of(values, [](double v) { return std::isfinite(v); });
}

}  // namespace

TRowRange MoveRows(const THeightMap& map, const TStockMove& move, double radius, TRowRange rows) {
  const TMoveBounds b = BoundsOf(move);
  // A cell of slack: arc bounds are computed with rounding.
  const double slack = radius + map.Cell;
  return {std::max(rows.From, FirstCentreFrom(b.YMin - slack, map.Y0, map.Cell)),
          std::min(rows.To, LastCentreTo(b.YMax + slack, map.Y0, map.Cell) + 1)};
}

void SweepSegment(THeightMap& map, TRowRange rows, const TPoint& a, const TPoint& b, const TCutter& cutter,
                  TSweepEffect& effect) {
  const double r = cutter.Radius, cell = map.Cell;
  const int32_t j0 = std::max(rows.From, FirstCentreFrom(std::min(a.Y, b.Y) - r, map.Y0, cell));
  const int32_t j1 = std::min(rows.To - 1, LastCentreTo(std::max(a.Y, b.Y) + r, map.Y0, cell));
  if (j0 > j1) return;
  const double dx = b.X - a.X, dy = b.Y - a.Y, length = std::hypot(dx, dy);
  const bool plunge = !(length >= kPlungeLength);
  TLineSweep line{a, 0.0, 0.0, 0.0, 0.0, cutter};
  if (!plunge) line = TLineSweep{a, dx / length, dy / length, length, (b.Z - a.Z) / length, cutter};
  const double lowest = std::min(a.Z, b.Z);
  // A cell no lower than the move's lowest tip cannot be lowered: skipped unless the move
  // may reach below the floor, where every cell it passes must be seen.
  const bool seeAll = lowest < effect.Floor;
  // A flat end at one height covers its whole span at that height.
  const bool level = !plunge && cutter.Kind == TCutterKind::Flat && a.Z == b.Z;
  for (int32_t j = j0; j <= j1; ++j) {
    const double y = map.CentreY(j);
    TSpan span;
    JoinDisc(a.X, a.Y, r, y, span);
    if (!plunge) {
      JoinDisc(b.X, b.Y, r, y, span);
      // The band between the end discs: 0 <= along <= length and |across| <= r.
      TSpan band{-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
      Confine(line.Ux, (y - a.Y) * line.Uy - a.X * line.Ux, 0.0, length, band);
      Confine(-line.Uy, (y - a.Y) * line.Ux + a.X * line.Uy, -r, r, band);
      if (band.Lo <= band.Hi) span.Join(band.Lo, band.Hi);
    }
    if (!(span.Lo <= span.Hi)) continue;
    const int32_t i0 = std::max(0, FirstCentreFrom(span.Lo, map.X0, cell));
    const int32_t i1 = std::min(map.Nx - 1, LastCentreTo(span.Hi, map.X0, cell));
    const size_t row = size_t(j) * size_t(map.Nx);
    if (level) {
      for (int32_t i = i0; i <= i1; ++i)
        if (seeAll || lowest < map.Z[row + size_t(i)]) Lower(map, row + size_t(i), map.CentreX(i), y, lowest, effect);
      continue;
    }
    for (int32_t i = i0; i <= i1; ++i) {
      if (!seeAll && !(lowest < map.Z[row + size_t(i)])) continue;
      const double x = map.CentreX(i);
      double z;
      if (plunge) {
        const double d = std::hypot(x - a.X, y - a.Y);
        if (d > r) continue;
        z = lowest + cutter.Rise(d);
      } else {
        z = line.LowestOver(x - a.X, y - a.Y);
        if (!(z < std::numeric_limits<double>::infinity())) continue;
      }
      Lower(map, row + size_t(i), x, y, z, effect);
    }
  }
}

void SweepMove(THeightMap& map, TRowRange rows, const TStockMove& move, const TCutter& cutter, TSweepEffect& effect) {
  // Above the top the cutter meets neither the stock nor what is under it (Z changes
  // evenly along every move, so its ends hold its lowest tip).
  if (std::min(move.From.Z, move.To.Z) >= map.Top) return;
  if (!IsFinite(move)) return;
  if (move.Shape == TMoveShape::Line) {
    SweepSegment(map, rows, move.From, move.To, cutter, effect);
    return;
  }
  // Chords whose middle lies within a quarter cell of the arc; the radius and Z change
  // evenly with the angle, so the chords end exactly at the move's ends.
  const double r0 = std::hypot(move.From.X - move.CentreX, move.From.Y - move.CentreY);
  const double r1 = std::hypot(move.To.X - move.CentreX, move.To.Y - move.CentreY);
  const double span = ArcSpan(move), tolerance = map.Cell / 4.0, rMax = std::max(r0, r1);
  const double step = tolerance >= rMax ? std::numbers::pi / 2 : 2.0 * std::acos(1.0 - tolerance / rMax);
  const int64_t chords = std::clamp<int64_t>(static_cast<int64_t>(std::ceil(span / step)), 1, kMaxChords);
  const double start = std::atan2(move.From.Y - move.CentreY, move.From.X - move.CentreX);
  const double turn = move.Shape == TMoveShape::Ccw ? span : -span;
  TPoint prev = move.From;
  for (int64_t k = 1; k <= chords; ++k) {
    const double f = double(k) / double(chords);
    TPoint next = move.To;
    if (k < chords) {
      const double angle = start + turn * f, radius = r0 + (r1 - r0) * f;
      next = {move.CentreX + radius * std::cos(angle), move.CentreY + radius * std::sin(angle),
              move.From.Z + (move.To.Z - move.From.Z) * f};
    }
    SweepSegment(map, rows, prev, next, cutter, effect);
    prev = next;
  }
}
