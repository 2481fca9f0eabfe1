#include "display/pick_index.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
// Elements longer than this many samples go to a list checked always: a huge circle would
// otherwise fill much of the grid.
constexpr long kMostSamplesPerElement = 4096;
constexpr long kMostCells = 1L << 22;
constexpr double kCellsPerElement = 4.0;

// Plain root of squares: std::hypot's care against overflow costs much and is not needed here.
double Length(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

double Wrap(double a) {
  a = std::fmod(a, kTwoPi);
  return a < 0 ? a + kTwoPi : a;
}

}  // namespace

double DistanceToSegment(double x, double y, const TPoint& a, const TPoint& b) {
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((x - a.X) * dx + (y - a.Y) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return Length(x - (a.X + t * dx), y - (a.Y + t * dy));
}

double ArcRadius(const TPickElement& arc) { return Length(arc.Start.X - arc.Centre.X, arc.Start.Y - arc.Centre.Y); }

TArcRange ArcRangeOf(const TPickElement& arc) {
  const double cx = arc.Centre.X, cy = arc.Centre.Y;
  const double a0 = std::atan2(arc.Start.Y - cy, arc.Start.X - cx);
  const double a1 = std::atan2(arc.End.Y - cy, arc.End.X - cx);
  const bool full = arc.Start.X == arc.End.X && arc.Start.Y == arc.End.Y;
  const double sweep = arc.Shape == TPickShape::ArcCCW ? Wrap(a1 - a0) : Wrap(a0 - a1);
  return {a0, full ? kTwoPi : sweep};
}

double ArcDirection(const TPickElement& arc) { return arc.Shape == TPickShape::ArcCCW ? 1.0 : -1.0; }

double DistanceToArc(double x, double y, const TPickElement& arc) {
  const double r = ArcRadius(arc);
  const double cx = arc.Centre.X, cy = arc.Centre.Y;
  const TArcRange range = ArcRangeOf(arc);
  const double along = Wrap(ArcDirection(arc) * (std::atan2(y - cy, x - cx) - range.Start));
  if (along <= range.Sweep) return std::abs(Length(x - cx, y - cy) - r);
  return std::min(Length(x - arc.Start.X, y - arc.Start.Y), Length(x - arc.End.X, y - arc.End.Y));
}

double DistanceToElement(double x, double y, const TPickElement& e) {
  return e.Shape == TPickShape::Line ? DistanceToSegment(x, y, e.Start, e.End) : DistanceToArc(x, y, e);
}

TPickIndex::TBox TPickIndex::BoxOf(const TPickElement& e) {
  if (e.Shape == TPickShape::Line)
    return {std::min(e.Start.X, e.End.X), std::min(e.Start.Y, e.End.Y), std::max(e.Start.X, e.End.X),
            std::max(e.Start.Y, e.End.Y)};
  const double r = ArcRadius(e);  // the whole circle's box: wider than needed, never too narrow
  return {e.Centre.X - r, e.Centre.Y - r, e.Centre.X + r, e.Centre.Y + r};
}

static double LengthOf(const TPickElement& e) {
  if (e.Shape == TPickShape::Line) return Length(e.End.X - e.Start.X, e.End.Y - e.Start.Y);
  return ArcRadius(e) * ArcRangeOf(e).Sweep;
}

// Points along the element no further apart than `step`, both ends included: every point of
// the element lies within step / 2 of one of them.
template <typename F>
static bool ForEachSample(const TPickElement& e, double step, long most, F&& f) {
  if (e.Shape == TPickShape::Line) {
    const double length = Length(e.End.X - e.Start.X, e.End.Y - e.Start.Y);
    const long n = static_cast<long>(std::ceil(length / step));
    if (!(n <= most)) return false;
    for (long k = 0; k <= n; ++k) {
      const double t = n > 0 ? static_cast<double>(k) / n : 0.0;
      f(e.Start.X + t * (e.End.X - e.Start.X), e.Start.Y + t * (e.End.Y - e.Start.Y));
    }
    return true;
  }
  const double r = ArcRadius(e);
  const TArcRange range = ArcRangeOf(e);
  const long n = static_cast<long>(std::ceil(r * range.Sweep / step));
  if (!(n <= most)) return false;
  // Turning the radius vector by a fixed angle: no sine and cosine per sample.
  const double turn = n > 0 ? ArcDirection(e) * range.Sweep / static_cast<double>(n) : 0.0;
  const double c = std::cos(turn), s = std::sin(turn);
  double dx = e.Start.X - e.Centre.X, dy = e.Start.Y - e.Centre.Y;
  for (long k = 0; k <= n; ++k) {
    f(e.Centre.X + dx, e.Centre.Y + dy);
    const double nx = dx * c - dy * s;
    dy = dx * s + dy * c;
    dx = nx;
  }
  return true;
}

void TPickIndex::Clear() {
  Elements.clear();
  CellStart.clear();
  CellItems.clear();
  Large.clear();
  Columns = Rows = 0;
  Built = false;
}

void TPickIndex::Build() {
  CellStart.clear();
  CellItems.clear();
  Large.clear();
  Built = true;
  Columns = Rows = 0;
  if (Elements.empty()) return;
  double x1 = INFINITY, y1 = INFINITY, x2 = -INFINITY, y2 = -INFINITY, length = 0.0;
  for (const TPickElement& e : Elements) {
    length += LengthOf(e);
    const TBox b = BoxOf(e);
    x1 = std::min(x1, b.X1);
    y1 = std::min(y1, b.Y1);
    x2 = std::max(x2, b.X2);
    y2 = std::max(y2, b.Y2);
  }
  // Square cells, about one element per cell, but large enough that an element of average
  // length crosses only a few: long moves would otherwise fill the grid with entries.
  const double n = static_cast<double>(Elements.size());
  const double w = std::max(x2 - x1, 1e-9), h = std::max(y2 - y1, 1e-9);
  const double cells = std::clamp(n, 1.0, static_cast<double>(kMostCells));
  Cell = std::max({std::sqrt(w * h / cells), std::max(w, h) / std::sqrt(static_cast<double>(kMostCells)),
                   length / (kCellsPerElement * n)});
  MinX = x1;
  MinY = y1;
  Inverse = 1.0 / Cell;
  Columns = std::max(1, static_cast<int>(std::ceil(w / Cell)));
  Rows = std::max(1, static_cast<int>(std::ceil(h / Cell)));
  const size_t total = static_cast<size_t>(Columns) * static_cast<size_t>(Rows);
  // One walk along every element collects (cell, element) pairs; a counting sort by cell then
  // puts the items in one flat array.
  const double step = Cell / 2;
  const auto cell_of = [&](double x, double y) {
    return static_cast<uint32_t>(CellY(y)) * static_cast<uint32_t>(Columns) + static_cast<uint32_t>(CellX(x));
  };
  std::vector<std::pair<uint32_t, uint32_t>> pairs;
  pairs.reserve(Elements.size() * 2 * static_cast<size_t>(kCellsPerElement));
  for (size_t i = 0; i < Elements.size(); ++i) {
    uint32_t last = UINT32_MAX;
    const auto element = static_cast<uint32_t>(i);
    // An element is entered in the cells of its samples, half a cell apart, so it sits only in
    // cells it runs through; a query widens its reach by the quarter cell a sample may be off.
    const bool sampled = ForEachSample(Elements[i], step, kMostSamplesPerElement, [&](double x, double y) {
      const uint32_t c = cell_of(x, y);
      if (c != last) pairs.emplace_back(c, element);
      last = c;
    });
    if (!sampled) Large.push_back(element);
  }
  CellStart.assign(total + 1, 0);
  for (const auto& p : pairs) ++CellStart[p.first + 1];
  for (size_t c = 0; c < total; ++c) CellStart[c + 1] += CellStart[c];
  std::vector<uint32_t> next(CellStart.begin(), CellStart.end() - 1);
  CellItems.resize(pairs.size());
  for (const auto& p : pairs) CellItems[next[p.first]++] = p.second;
}

std::optional<TPickHit> TPickIndex::Nearest(double x, double y, double within) {
  if (Elements.empty() || !(within >= 0) || !std::isfinite(x) || !std::isfinite(y)) return std::nullopt;
  if (!Built) Build();
  std::optional<TPickHit> best;
  const auto consider = [&](uint32_t i) {
    const double d = DistanceToElement(x, y, Elements[i]);
    if (d <= within && (!best || d < best->Distance)) best = TPickHit{i, d};
  };
  for (uint32_t i : Large) consider(i);
  const double reach = within + Cell / 4;
  const double gx1 = MinX, gy1 = MinY, gx2 = MinX + Columns * Cell, gy2 = MinY + Rows * Cell;
  if (x + reach >= gx1 && x - reach <= gx2 && y + reach >= gy1 && y - reach <= gy2) {
    const int cx1 = CellX(x - reach), cx2 = CellX(x + reach), cy1 = CellY(y - reach), cy2 = CellY(y + reach);
    for (int cy = cy1; cy <= cy2; ++cy)
      for (int cx = cx1; cx <= cx2; ++cx) {
        const size_t c = static_cast<size_t>(cy) * Columns + cx;
        for (uint32_t k = CellStart[c]; k < CellStart[c + 1]; ++k) consider(CellItems[k]);
      }
  }
  return best;
}

std::string LineName(int32_t fileLine, int32_t block) {
  const std::string number = "N" + std::to_string(block);
  if (fileLine <= 0) return number;
  const std::string line = "Line " + std::to_string(fileLine);
  return block != 0 ? line + " (" + number + ")" : line;
}

std::string PickText(const TPickElement& e, double w0x, double w0y) {
  char buf[256];
  int n = std::snprintf(buf, sizeof buf, "%s: %.3s to X%.3f Y%.3f Z%.3f", LineName(e.FileLine, e.Line).c_str(), e.Code,
                        e.End.X - w0x, e.End.Y - w0y, e.End.Z);
  if (e.Shape != TPickShape::Line)
    n += std::snprintf(buf + n, sizeof buf - n, " centre X%.3f Y%.3f radius %.3f", e.Centre.X - w0x, e.Centre.Y - w0y,
                       ArcRadius(e));
  std::snprintf(buf + n, sizeof buf - n, " (%s)", e.List == TPickList::Path ? "cutting path" : "contour");
  return buf;
}
