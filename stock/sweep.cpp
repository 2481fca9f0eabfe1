#include "stock/sweep.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// A move shorter than this in the plane is a plunge.
constexpr double kPlungeLength = 1e-9;
// Arcs are split into at most this many chords, whatever their radius against the cell.
constexpr int64_t kMaxChords = 1 << 16;

double Squared(double v) { return v * v; }

struct TSpan {
  double Lo = std::numeric_limits<double>::infinity();
  double Hi = -std::numeric_limits<double>::infinity();
  void Join(double lo, double hi) {
    Lo = std::min(Lo, lo);
    Hi = std::max(Hi, hi);
  }
};

// A slope this near 0 counts as 0: its inverse would not be a number.
constexpr double kFlatSlope = 1e-300;

// The x where lo <= slope * x + offset <= hi, cut into `span`; `inverse` is 1 / slope.
void Confine(double slope, double inverse, double offset, double lo, double hi, TSpan& span) {
  if (std::abs(slope) < kFlatSlope) {
    if (offset < lo || offset > hi) span = TSpan{};
    return;
  }
  double a = (lo - offset) * inverse, b = (hi - offset) * inverse;
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
// The first cell whose centre lies at or after `v`, and the last at or before it, on cells
// of 1 / perMillimetre.
int32_t FirstCentreFrom(double v, double origin, double perMillimetre) {
  return CellIndex(std::ceil((v - origin) * perMillimetre - 0.5), -1.0);
}
int32_t LastCentreTo(double v, double origin, double perMillimetre) {
  return CellIndex(std::floor((v - origin) * perMillimetre - 0.5), -2.0);
}

// A cell no lower than a move's lowest tip cannot be lowered by it, so it may be passed
// unseen; unless the move may reach below the floor, where every cell it passes must be seen.
bool SeesEveryCell(double lowest, const TSweepEffect& effect) { return lowest < effect.Floor; }

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

TTileCeilings::TTileCeilings(const THeightMap& map, TRowRange rows)
    : Rows_(rows), Cols_((map.Nx + kCols - 1) / kCols), Nx_(map.Nx), X0_(map.X0), PerMillimetre_(1.0 / map.Cell) {
  TileRows_ = std::max(0, (rows.To - rows.From + kRows - 1) / kRows);
  Ceiling_.resize(size_t(TileRows_) * size_t(Cols_));
  Block_.resize(size_t((Cols_ + kBlockTiles - 1) / kBlockTiles));
  Needed_.resize(size_t(Cols_));
  for (int32_t t = 0; t < TileRows_; ++t)
    for (int32_t c = 0; c < Cols_; ++c) Refresh(map, t, c);
  for (size_t b = 0; b < Block_.size(); ++b) RefreshBlock(int32_t(b));
}

TRowRange TTileCeilings::Columns(double xLo, double xHi) const {
  // Whole cells either way: truncating a non-negative value is taking its floor.
  const double from = std::max(0.0, (xLo - X0_) * PerMillimetre_),
               to = std::min(double(Nx_), (xHi - X0_) * PerMillimetre_);
  if (!(from <= to)) return {};
  return {static_cast<int32_t>(from), std::min(Nx_, static_cast<int32_t>(to) + 1)};
}

bool TTileCeilings::AnyBlockAbove(double height, TRowRange columns) const {
  if (columns.From >= columns.To) return false;
  constexpr int32_t kBlockCols = kCols * kBlockTiles;
  for (int32_t b = columns.From / kBlockCols; b <= (columns.To - 1) / kBlockCols; ++b)
    if (height < Block_[size_t(b)]) return true;
  return false;
}

void TTileCeilings::RefreshBlock(int32_t block) {
  const int32_t c0 = block * kBlockTiles, c1 = std::min(Cols_, c0 + kBlockTiles);
  float high = -std::numeric_limits<float>::infinity();
  for (int32_t t = 0; t < TileRows_; ++t)
    for (int32_t c = c0; c < c1; ++c) high = std::max(high, At(t, c));
  Block_[size_t(block)] = high;
}

void TTileCeilings::Refresh(const THeightMap& map, int32_t tileRow, int32_t tileCol) {
  const int32_t j0 = Rows_.From + tileRow * kRows, j1 = std::min(Rows_.To, j0 + kRows);
  const int32_t i0 = tileCol * kCols, i1 = std::min(map.Nx, i0 + kCols);
  float high = -std::numeric_limits<float>::infinity();
  if (i1 - i0 == kCols) {
    // A whole tile row at a time, column by column, so that the compiler can keep it in one
    // vector register.
    std::array<float, kCols> column;
    column.fill(high);
    for (int32_t j = j0; j < j1; ++j) {
      const float* row = map.Z.data() + size_t(j) * size_t(map.Nx) + size_t(i0);
      for (int32_t k = 0; k < kCols; ++k) column[size_t(k)] = row[k] > column[size_t(k)] ? row[k] : column[size_t(k)];
    }
    for (const float v : column) high = std::max(high, v);
  } else {
    for (int32_t j = j0; j < j1; ++j) {
      const float* row = map.Z.data() + size_t(j) * size_t(map.Nx);
      for (int32_t i = i0; i < i1; ++i) high = std::max(high, row[i]);
    }
  }
  At(tileRow, tileCol) = high;
}

namespace {

// The plane outline of a cutter along a-b, enough to tell which tiles it may touch: worked
// out before anything else about the move, as most moves touch none that matter.
class TSegmentOutline {
 public:
  TSegmentOutline(const TPoint& a, const TPoint& b, double radius, double cell)
      : Slack_(radius + cell),
        XMin_(std::min(a.X, b.X)),
        XMax_(std::max(a.X, b.X)),
        YMin_(std::min(a.Y, b.Y)),
        YMax_(std::max(a.Y, b.Y)),
        XAtYMin_(a.Y <= b.Y ? a.X : b.X),
        Steep_(YMax_ - YMin_ > kPlungeLength),
        DxDy_(Steep_ ? (b.X - a.X) / (b.Y - a.Y) : 0.0) {}

  // The X extent, grown by the radius and a cell, of what the cutter covers in rows whose
  // centres lie between yLo and yHi: the move clipped to those rows, in X.
  std::pair<double, double> XRange(double yLo, double yHi) const {
    double lo = XMin_, hi = XMax_;
    if (Steep_) {
      const double x0 = XAtYMin_ + (std::clamp(yLo - Slack_, YMin_, YMax_) - YMin_) * DxDy_;
      const double x1 = XAtYMin_ + (std::clamp(yHi + Slack_, YMin_, YMax_) - YMin_) * DxDy_;
      lo = std::max(XMin_, std::min(x0, x1));
      hi = std::min(XMax_, std::max(x0, x1));
    }
    return {lo - Slack_, hi + Slack_};
  }

 private:
  double Slack_, XMin_, XMax_, YMin_, YMax_, XAtYMin_;
  bool Steep_;
  double DxDy_;
};

// One straight move (or plunge) swept row by row.
class TSegmentSweep {
 public:
  TSegmentSweep(THeightMap& map, const TPoint& a, const TPoint& b, const TCutter& cutter, TSweepEffect& effect)
      : Map_(map), A_(a), B_(b), Cutter_(cutter), Effect_(effect), Line_{a, 0.0, 0.0, 0.0, 0.0, cutter} {
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    Length_ = std::sqrt(dx * dx + dy * dy);
    Plunge_ = !(Length_ >= kPlungeLength);
    if (!Plunge_) Line_ = TLineSweep{a, dx / Length_, dy / Length_, Length_, (b.Z - a.Z) / Length_, cutter};
    // Reciprocals once, so that a row's span takes multiplications only.
    InverseUx_ = std::abs(Line_.Ux) < kFlatSlope ? 0.0 : 1.0 / Line_.Ux;
    InverseUy_ = std::abs(Line_.Uy) < kFlatSlope ? 0.0 : 1.0 / Line_.Uy;
    PerMillimetre_ = 1.0 / map.Cell;
    Lowest_ = std::min(a.Z, b.Z);
    SeeAll_ = SeesEveryCell(Lowest_, effect);
    Level_ = !Plunge_ && cutter.Kind == TCutterKind::Flat && a.Z == b.Z;
  }

  double Lowest() const { return Lowest_; }
  // Whether every cell passed must be seen, not only those the move may lower.
  bool SeeAll() const { return SeeAll_; }

  // Cells [From, To) of row j whose centres the swept shape covers; empty when none.
  TRowRange Cells(int32_t j) const {
    const double r = Cutter_.Radius, y = Map_.CentreY(j);
    TSpan span;
    JoinDisc(A_.X, A_.Y, r, y, span);
    if (!Plunge_) {
      JoinDisc(B_.X, B_.Y, r, y, span);
      // The band between the end discs: 0 <= along <= length and |across| <= r.
      TSpan band{-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
      Confine(Line_.Ux, InverseUx_, (y - A_.Y) * Line_.Uy - A_.X * Line_.Ux, 0.0, Length_, band);
      Confine(-Line_.Uy, -InverseUy_, (y - A_.Y) * Line_.Ux + A_.X * Line_.Uy, -r, r, band);
      if (band.Lo <= band.Hi) span.Join(band.Lo, band.Hi);
    }
    if (!(span.Lo <= span.Hi)) return {};
    return {std::max(0, FirstCentreFrom(span.Lo, Map_.X0, PerMillimetre_)),
            std::min(Map_.Nx - 1, LastCentreTo(span.Hi, Map_.X0, PerMillimetre_)) + 1};
  }

  // Sweeps cells [cells.From, cells.To) of row j.
  void SweepCells(int32_t j, TRowRange cells) {
    const double y = Map_.CentreY(j);
    const size_t row = size_t(j) * size_t(Map_.Nx);
    if (Level_) {
      for (int32_t i = cells.From; i < cells.To; ++i)
        if (SeeAll_ || Lowest_ < Map_.Z[row + size_t(i)])
          Lower(Map_, row + size_t(i), Map_.CentreX(i), y, Lowest_, Effect_);
      return;
    }
    for (int32_t i = cells.From; i < cells.To; ++i) {
      if (!SeeAll_ && !(Lowest_ < Map_.Z[row + size_t(i)])) continue;
      const double x = Map_.CentreX(i);
      double z;
      if (Plunge_) {
        const double d = std::sqrt(Squared(x - A_.X) + Squared(y - A_.Y));
        if (d > Cutter_.Radius) continue;
        z = Lowest_ + Cutter_.Rise(d);
      } else {
        z = Line_.LowestOver(x - A_.X, y - A_.Y);
        if (!(z < std::numeric_limits<double>::infinity())) continue;
      }
      Lower(Map_, row + size_t(i), x, y, z, Effect_);
    }
  }

 private:
  THeightMap& Map_;
  TPoint A_, B_;
  TCutter Cutter_;
  TSweepEffect& Effect_;
  TLineSweep Line_;
  double Length_ = 0.0;
  double InverseUx_ = 0.0;
  double InverseUy_ = 0.0;
  double PerMillimetre_ = 0.0;  // cells
  double Lowest_ = 0.0;
  bool Plunge_ = false;
  bool SeeAll_ = false;
  bool Level_ = false;
};

// The sweep through the tiles of `ceilings`: rows are looked at only in tile rows where
// some tile the move passes lies above its lowest tip, and cells only in those tiles.
void SweepTiles(TSegmentSweep& sweep, const TSegmentOutline& outline, const THeightMap& map, TRowRange rows,
                TTileCeilings& ceilings) {
  constexpr int32_t kRows = TTileCeilings::kRows, kCols = TTileCeilings::kCols;
  std::vector<uint8_t>& needed = ceilings.Needed();
  const double lowest = sweep.Lowest();
  int32_t refreshedFrom = std::numeric_limits<int32_t>::max(), refreshedTo = -1;
  for (int32_t j = rows.From; j < rows.To;) {
    const int32_t tileRow = (j - ceilings.FirstRow()) / kRows;
    const TRowRange tileRows{j, std::min(rows.To, ceilings.FirstRow() + (tileRow + 1) * kRows)};
    j = tileRows.To;
    const auto [xLo, xHi] = outline.XRange(map.CentreY(tileRows.From), map.CentreY(tileRows.To - 1));
    const TRowRange columns = ceilings.Columns(xLo, xHi);
    if (columns.From >= columns.To) continue;
    const int32_t c0 = columns.From / kCols, c1 = (columns.To - 1) / kCols;
    bool any = false;
    for (int32_t c = c0; c <= c1; ++c) {
      needed[size_t(c)] = lowest < ceilings.At(tileRow, c);
      any |= needed[size_t(c)] != 0;
    }
    if (!any) continue;
    for (int32_t row = tileRows.From; row < tileRows.To; ++row) {
      const TRowRange cells = sweep.Cells(row);
      const int32_t last = std::min(cells.To, columns.To);
      for (int32_t i = std::max(cells.From, columns.From); i < last;) {
        const int32_t c = i / kCols, end = std::min(last, (c + 1) * kCols);
        if (needed[size_t(c)]) sweep.SweepCells(row, {i, end});
        i = end;
      }
    }
    for (int32_t c = c0; c <= c1; ++c) {
      if (!needed[size_t(c)]) continue;
      ceilings.Refresh(map, tileRow, c);
      refreshedFrom = std::min(refreshedFrom, c);
      refreshedTo = std::max(refreshedTo, c);
    }
  }
  for (int32_t b = refreshedFrom / TTileCeilings::kBlockTiles; b <= refreshedTo / TTileCeilings::kBlockTiles; ++b)
    ceilings.RefreshBlock(b);
}

}  // namespace

TRowRange MoveRows(const THeightMap& map, const TStockMove& move, double radius, TRowRange rows) {
  const TMoveBounds b = BoundsOf(move);
  // A cell of slack: arc bounds are computed with rounding.
  const double slack = radius + map.Cell;
  return {std::max(rows.From, FirstCentreFrom(b.YMin - slack, map.Y0, 1.0 / map.Cell)),
          std::min(rows.To, LastCentreTo(b.YMax + slack, map.Y0, 1.0 / map.Cell) + 1)};
}

void SweepSegment(THeightMap& map, TRowRange rows, const TPoint& a, const TPoint& b, const TCutter& cutter,
                  TSweepEffect& effect, TTileCeilings* ceilings) {
  const double r = cutter.Radius;
  const double perMillimetre = 1.0 / map.Cell;
  const TRowRange reach{std::max(rows.From, FirstCentreFrom(std::min(a.Y, b.Y) - r, map.Y0, perMillimetre)),
                        std::min(rows.To, LastCentreTo(std::max(a.Y, b.Y) + r, map.Y0, perMillimetre) + 1)};
  if (reach.From >= reach.To) return;
  if (ceilings && !SeesEveryCell(std::min(a.Z, b.Z), effect)) {
    // Most moves of a long program pass over blocks cut deeper before: those are left first.
    const TSegmentOutline outline(a, b, r, map.Cell);
    const auto [xLo, xHi] = outline.XRange(map.CentreY(reach.From), map.CentreY(reach.To - 1));
    if (!ceilings->AnyBlockAbove(std::min(a.Z, b.Z), ceilings->Columns(xLo, xHi))) return;
    TSegmentSweep sweep(map, a, b, cutter, effect);
    SweepTiles(sweep, outline, map, reach, *ceilings);
    return;
  }
  TSegmentSweep sweep(map, a, b, cutter, effect);
  for (int32_t j = reach.From; j < reach.To; ++j) sweep.SweepCells(j, sweep.Cells(j));
}

void SweepMove(THeightMap& map, TRowRange rows, const TStockMove& move, const TCutter& cutter, TSweepEffect& effect,
               TTileCeilings* ceilings) {
  // Above the top the cutter meets neither the stock nor what is under it (Z changes
  // evenly along every move, so its ends hold its lowest tip).
  if (std::min(move.From.Z, move.To.Z) >= map.Top) return;
  if (!IsFinite(move) || rows.From >= rows.To) return;
  if (move.Shape == TMoveShape::Line) {
    SweepSegment(map, rows, move.From, move.To, cutter, effect, ceilings);
    return;
  }
  if (ceilings && !SeesEveryCell(std::min(move.From.Z, move.To.Z), effect)) {
    // An arc over blocks all cut deeper than its lowest tip is passed before any chord.
    const TMoveBounds b = BoundsOf(move);
    const double grow = cutter.Radius + map.Cell;
    if (!ceilings->AnyBlockAbove(std::min(move.From.Z, move.To.Z), ceilings->Columns(b.XMin - grow, b.XMax + grow)))
      return;
  }
  // Chords whose middle lies within a quarter cell of the arc; the radius and Z change
  // evenly with the angle, so the chords end exactly at the move's ends. The chord ends
  // turn by one fixed rotation, and chords out of reach of `rows` are passed unswept.
  const double r0 = std::sqrt(Squared(move.From.X - move.CentreX) + Squared(move.From.Y - move.CentreY));
  const double r1 = std::sqrt(Squared(move.To.X - move.CentreX) + Squared(move.To.Y - move.CentreY));
  const double span = ArcSpan(move), tolerance = map.Cell / 4.0, rMax = std::max(r0, r1);
  const double step = tolerance >= rMax ? std::numbers::pi / 2 : 2.0 * std::acos(1.0 - tolerance / rMax);
  const int64_t chords = std::clamp<int64_t>(static_cast<int64_t>(std::ceil(span / step)), 1, kMaxChords);
  const double turn = (move.Shape == TMoveShape::Ccw ? span : -span) / double(chords);
  const double turnCos = std::cos(turn), turnSin = std::sin(turn);
  const double reach = cutter.Radius + map.Cell;
  const double yLo = map.CentreY(rows.From) - reach, yHi = map.CentreY(rows.To - 1) + reach;
  // The start direction; a start on the centre turns from +X, as atan2 would have it.
  double ux = r0 > 0 ? (move.From.X - move.CentreX) / r0 : 1.0, uy = r0 > 0 ? (move.From.Y - move.CentreY) / r0 : 0.0;
  TPoint prev = move.From;
  for (int64_t k = 1; k <= chords; ++k) {
    TPoint next = move.To;
    if (k < chords) {
      const double f = double(k) / double(chords), radius = r0 + (r1 - r0) * f;
      const double turned = ux * turnCos - uy * turnSin;
      uy = ux * turnSin + uy * turnCos;
      ux = turned;
      next = {move.CentreX + radius * ux, move.CentreY + radius * uy, move.From.Z + (move.To.Z - move.From.Z) * f};
    }
    if (std::max(prev.Y, next.Y) >= yLo && std::min(prev.Y, next.Y) <= yHi)
      SweepSegment(map, rows, prev, next, cutter, effect, ceilings);
    prev = next;
  }
}
