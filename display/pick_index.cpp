#include "display/pick_index.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
// Elements covering more cells than this go to a list checked always: a huge circle would
// otherwise fill the whole grid.
constexpr long kMostCellsPerElement = 64;
constexpr long kMostCells = 1L << 22;

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
  return std::hypot(x - (a.X + t * dx), y - (a.Y + t * dy));
}

double ArcRadius(const TPickElement& arc) { return std::hypot(arc.Start.X - arc.Centre.X, arc.Start.Y - arc.Centre.Y); }

double DistanceToArc(double x, double y, const TPickElement& arc) {
  const double r = ArcRadius(arc);
  const double cx = arc.Centre.X, cy = arc.Centre.Y;
  const double a0 = std::atan2(arc.Start.Y - cy, arc.Start.X - cx);
  const double a1 = std::atan2(arc.End.Y - cy, arc.End.X - cx);
  const double t = std::atan2(y - cy, x - cx);
  const bool ccw = arc.Shape == TPickShape::ArcCCW;
  double sweep = ccw ? Wrap(a1 - a0) : Wrap(a0 - a1);
  if (arc.Start.X == arc.End.X && arc.Start.Y == arc.End.Y) sweep = kTwoPi;
  const double along = ccw ? Wrap(t - a0) : Wrap(a0 - t);
  if (along <= sweep) return std::abs(std::hypot(x - cx, y - cy) - r);
  return std::min(std::hypot(x - arc.Start.X, y - arc.Start.Y), std::hypot(x - arc.End.X, y - arc.End.Y));
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

int TPickIndex::CellX(double x) const {
  return std::clamp(static_cast<int>(std::floor((x - MinX) / Cell)), 0, Columns - 1);
}
int TPickIndex::CellY(double y) const {
  return std::clamp(static_cast<int>(std::floor((y - MinY) / Cell)), 0, Rows - 1);
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
  std::vector<TBox> boxes(Elements.size());
  double x1 = INFINITY, y1 = INFINITY, x2 = -INFINITY, y2 = -INFINITY;
  for (size_t i = 0; i < Elements.size(); ++i) {
    boxes[i] = BoxOf(Elements[i]);
    x1 = std::min(x1, boxes[i].X1), y1 = std::min(y1, boxes[i].Y1);
    x2 = std::max(x2, boxes[i].X2), y2 = std::max(y2, boxes[i].Y2);
  }
  // About one element per cell, square cells.
  const double w = std::max(x2 - x1, 1e-9), h = std::max(y2 - y1, 1e-9);
  const double cells = std::clamp(static_cast<double>(Elements.size()), 1.0, static_cast<double>(kMostCells));
  Cell = std::max(std::sqrt(w * h / cells), std::max(w, h) / std::sqrt(static_cast<double>(kMostCells)));
  MinX = x1, MinY = y1;
  Columns = std::max(1, static_cast<int>(std::ceil(w / Cell)));
  Rows = std::max(1, static_cast<int>(std::ceil(h / Cell)));
  const size_t total = static_cast<size_t>(Columns) * static_cast<size_t>(Rows);
  // Two passes: count per cell, then fill, so the items sit in one flat array.
  std::vector<uint32_t> count(total + 1, 0);
  const auto each_cell = [&](const TBox& b, auto&& f) {
    const int cx1 = CellX(b.X1), cx2 = CellX(b.X2), cy1 = CellY(b.Y1), cy2 = CellY(b.Y2);
    for (int cy = cy1; cy <= cy2; ++cy)
      for (int cx = cx1; cx <= cx2; ++cx) f(static_cast<size_t>(cy) * Columns + cx);
  };
  const auto is_large = [&](const TBox& b) {
    return static_cast<long>(CellX(b.X2) - CellX(b.X1) + 1) * (CellY(b.Y2) - CellY(b.Y1) + 1) > kMostCellsPerElement;
  };
  for (size_t i = 0; i < boxes.size(); ++i) {
    if (is_large(boxes[i])) Large.push_back(static_cast<uint32_t>(i));
    else each_cell(boxes[i], [&](size_t c) { ++count[c + 1]; });
  }
  for (size_t c = 0; c < total; ++c) count[c + 1] += count[c];
  CellStart = count;
  CellItems.resize(CellStart[total]);
  for (size_t i = 0; i < boxes.size(); ++i)
    if (!is_large(boxes[i])) each_cell(boxes[i], [&](size_t c) { CellItems[count[c]++] = static_cast<uint32_t>(i); });
}

std::optional<TPickHit> TPickIndex::Nearest(double x, double y, double within) const {
  if (!Built || Elements.empty() || !(within >= 0)) return std::nullopt;
  std::optional<TPickHit> best;
  const auto consider = [&](uint32_t i) {
    const double d = DistanceToElement(x, y, Elements[i]);
    if (d <= within && (!best || d < best->Distance)) best = TPickHit{i, d};
  };
  for (uint32_t i : Large) consider(i);
  const double gx1 = MinX, gy1 = MinY, gx2 = MinX + Columns * Cell, gy2 = MinY + Rows * Cell;
  if (x + within >= gx1 && x - within <= gx2 && y + within >= gy1 && y - within <= gy2) {
    const int cx1 = CellX(x - within), cx2 = CellX(x + within), cy1 = CellY(y - within), cy2 = CellY(y + within);
    for (int cy = cy1; cy <= cy2; ++cy)
      for (int cx = cx1; cx <= cx2; ++cx) {
        const size_t c = static_cast<size_t>(cy) * Columns + cx;
        for (uint32_t k = CellStart[c]; k < CellStart[c + 1]; ++k) consider(CellItems[k]);
      }
  }
  return best;
}

std::string PickText(const TPickElement& e, double w0x, double w0y) {
  char buf[256];
  int n = std::snprintf(buf, sizeof buf, "Line %d: %.3s to X%.3f Y%.3f Z%.3f", e.Line, e.Code, e.End.X - w0x,
                        e.End.Y - w0y, e.End.Z);
  if (e.Shape != TPickShape::Line)
    n += std::snprintf(buf + n, sizeof buf - n, " centre X%.3f Y%.3f radius %.3f", e.Centre.X - w0x,
                       e.Centre.Y - w0y, ArcRadius(e));
  std::snprintf(buf + n, sizeof buf - n, " (%s)", e.List == TPickList::Path ? "cutting path" : "contour");
  return buf;
}
