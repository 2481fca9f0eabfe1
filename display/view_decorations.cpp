#include "display/view_decorations.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/convert.h"

namespace {

// Keeps far-away axis positions in a range where offsets of a few pixels cannot overflow.
int32_t Near(int32_t v) { return std::clamp(v, -(1 << 20), 1 << 20); }

// Indices k in [0, count - 1] of the values v0 + k*step whose distance (v - origin) * scale
// from the window's left (or bottom) edge lies in [lo, hi] pixels, widened by one.
struct TIndexRange {
  double First = 0, Last = -1;
};
TIndexRange IndicesInPixels(double v0, double step, double count, double origin, double scale, double lo, double hi) {
  TIndexRange r;
  if (!(count >= 1) || !std::isfinite(v0) || !(step > 0) || !(scale > 0)) return r;
  r.First = std::max(0.0, std::floor((lo / scale + origin - v0) / step));
  r.Last = std::min(count - 1, std::ceil((hi / scale + origin - v0) / step));
  return r;
}

// Pixel positions of the grid along one axis, increasing, inside 0..limit-1.
template <typename ToPixel>
std::vector<int32_t> GridLine(const TIndexRange& k, double v0, double step, int32_t limit, ToPixel toPixel) {
  std::vector<int32_t> out;
  if (k.Last < k.First) return out;
  if (k.Last - k.First <= 4.0 * (limit + 2)) {
    // Counted in integers: far from zero, i + 1 may round back to i.
    const int64_t n = static_cast<int64_t>(k.Last - k.First);
    for (int64_t j = 0; j <= n; ++j) {
      const int32_t p = toPixel(v0 + (k.First + j) * step);
      if (p >= 0 && p < limit) out.push_back(p);
    }
  } else {  // points closer than a pixel: every pixel between the outer ones is hit
    const int32_t a = toPixel(v0 + k.First * step), b = toPixel(v0 + k.Last * step);
    for (int32_t p = std::max(0, std::min(a, b)); p <= std::min(limit - 1, std::max(a, b)); ++p) out.push_back(p);
  }
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

template <typename ToPixel>
std::vector<TAxisTick> Ticks(double min, double max, double scale, int32_t limit, ToPixel toPixel) {
  std::vector<TAxisTick> out;
  const double count = std::trunc(std::nearbyint(max - min) / 50) + 1;
  const double v0 = std::trunc(std::nearbyint(min) / 50) * 50;
  constexpr double kMargin = 200;  // labels reach this far beside their tick
  // (v - min) * scale is the distance from the left edge, or from the bottom edge for Y.
  const TIndexRange k = IndicesInPixels(v0, 50, count, min, scale, -kMargin, limit + kMargin);
  if (k.Last < k.First) return out;
  // Denser than a pixel: one tick per pixel is all that can show.
  const double step = std::max(1.0, std::ceil(1.0 / (50 * scale)));
  const int64_t n = static_cast<int64_t>(std::min((k.Last - k.First) / step, 4.0 * (limit + 2 * kMargin)));
  for (int64_t j = 0; j <= n; ++j) {
    const double v = v0 + (k.First + j * step) * 50 + 0.0;
    out.push_back({toPixel(v), v});
  }
  return out;
}

void DrawTextCell(QPainter& p, int32_t x, int32_t y, const QString& text) {
  const QFontMetrics fm(p.font());
  p.fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), Qt::black);
  p.drawText(x, y + fm.ascent(), text);
}

// A pie in the manner of the classic drawing call: bounding box corners, counter-clockwise
// on the screen from the radial through r1 to the radial through r2.
void Pie(QPainter& p, QRectF box, QPointF r1, QPointF r2) {
  const QPointF c = box.center();
  const auto angle = [&](QPointF q) { return std::atan2(c.y() - q.y(), q.x() - c.x()) * 180 / std::numbers::pi; };
  const double start = angle(r1);
  double sweep = angle(r2) - start;
  while (sweep <= 0) sweep += 360;
  p.drawPie(box, NearestInt(start * 16), NearestInt(sweep * 16));
}

void CrossAndRings(QPainter& p, TPixelXY a) {
  const int x = Near(a.X), y = Near(a.Y);
  p.setBrush(Qt::NoBrush);
  p.drawLine(x - 10, y, x + 10, y);
  p.drawLine(x, y - 10, x, y + 10);
  p.drawEllipse(QRectF(x - 4, y - 4, 8, 8));
  p.drawEllipse(QRectF(x - 7, y - 7, 14, 14));
}

void XorMode(QPainter& p, QColor colour, int width) {
  p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  QPen pen(colour, width, Qt::SolidLine, Qt::RoundCap);
  p.setPen(pen);
  p.setFont(ViewFont());
}

}  // namespace

TGridPixels GridPixels(const TViewWindow& w, int32_t gridSize) {
  TGridPixels g;
  if (gridSize <= 0 || !w.CanConvert()) return g;
  const double step = gridSize;
  g.ColumnCount = std::nearbyint((w.XMax - w.XMin) / step) + 1;
  g.RowCount = std::nearbyint((w.YMax - w.YMin) / step) + 1;
  const double x0 = std::nearbyint(w.XMin / step) * step;
  const double y0 = std::nearbyint(w.YMin / step) * step;
  const TIndexRange kx = IndicesInPixels(x0, step, g.ColumnCount, w.XMin, w.Scale, -1, w.Width + 1);
  // Rows: pixel row Height - (y - YMin) * Scale lies in [-1, Height + 1].
  const TIndexRange ky = IndicesInPixels(y0, step, g.RowCount, w.YMin, w.Scale, -1, w.Height + 1);
  g.Columns = GridLine(kx, x0, step, w.Width, [&](double x) { return w.RealToPixelX(x); });
  g.Rows = GridLine(ky, y0, step, w.Height, [&](double y) { return w.RealToPixelY(y); });
  return g;
}

std::vector<TAxisTick> XAxisTicks(const TViewWindow& w) {
  if (!w.CanConvert()) return {};
  return Ticks(w.XMin, w.XMax, w.Scale, w.Width, [&](double v) { return w.RealToPixelX(v); });
}

std::vector<TAxisTick> YAxisTicks(const TViewWindow& w) {
  if (!w.CanConvert()) return {};
  return Ticks(w.YMin, w.YMax, w.Scale, w.Height, [&](double v) { return w.RealToPixelY(v); });
}

std::string NumberLabel(double v) { return FloatToText(v == 0.0 ? 0.0 : v, 3, 0); }

std::string GridText(int32_t gridSize) { return "Grid: " + NumberLabel(gridSize) + " mm"; }

QFont ViewFont() {
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(15);
  f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

void PaintGrid(QPainter& p, const TViewWindow& w, int32_t gridSize) {
  const TGridPixels g = GridPixels(w, gridSize);
  std::vector<QPoint> points;
  points.reserve(g.Columns.size() * g.Rows.size());
  for (int32_t x : g.Columns)
    for (int32_t y : g.Rows) points.emplace_back(x, y);
  p.setPen(QPen(QColor(255, 255, 0), 0));
  p.drawPoints(points.data(), static_cast<int>(points.size()));
}

void PaintAxes(QPainter& p, const TViewWindow& w, int32_t gridSize) {
  if (!w.CanConvert()) return;
  const int32_t px0 = Near(w.RealToPixelX(0)), py0 = Near(w.RealToPixelY(0));
  p.setPen(QPen(Qt::white, 1, Qt::DashDotLine, Qt::FlatCap));
  p.drawLine(px0, 0, px0, w.Height);
  p.drawLine(0, py0, w.Width, py0);
  p.setPen(QPen(Qt::white, 1, Qt::SolidLine, Qt::FlatCap));
  p.setFont(ViewFont());
  const QFontMetrics fm(p.font());
  for (const TAxisTick& t : XAxisTicks(w)) {
    const int32_t px = Near(t.Pixel);
    p.drawLine(px, py0 - 3, px, py0 + 3);
    const QString label = QString::fromStdString(NumberLabel(t.Value));
    DrawTextCell(p, px - fm.horizontalAdvance(label) / 2, py0 + 10, label);
  }
  const int32_t half = fm.height() / 2;
  for (const TAxisTick& t : YAxisTicks(w)) {
    const int32_t py = Near(t.Pixel);
    p.drawLine(px0 - 3, py, px0 + 3, py);
    DrawTextCell(p, px0 - 30, py - half, QString::fromStdString(NumberLabel(t.Value)));
  }
  DrawTextCell(p, w.Width - 100, 20, QString::fromStdString(GridText(gridSize)));
}

void PaintSpindleMarker(QPainter& p, TPixelXY a) {
  p.save();
  XorMode(p, QColor(0, 255, 0), 3);
  const int x = Near(a.X), y = Near(a.Y);
  p.drawLine(x - 6, y, x + 6, y);
  p.drawLine(x, y - 6, x, y + 6);
  p.restore();
}

void PaintW0Marker(QPainter& p, TPixelXY a) {
  p.save();
  XorMode(p, QColor(255, 0, 255), 1);
  CrossAndRings(p, a);
  const QFontMetrics fm(p.font());
  p.drawText(Near(a.X) - 23, Near(a.Y) + 4 + fm.ascent(), QStringLiteral("W0"));
  p.restore();
}

void PaintT0Marker(QPainter& p, TPixelXY a) {
  p.save();
  XorMode(p, QColor(34, 240, 15), 1);
  CrossAndRings(p, a);
  const int x = Near(a.X), y = Near(a.Y);
  p.setBrush(QColor(255, 255, 0));
  Pie(p, QRectF(x - 7, y - 4, 14, 11), QPointF(x, y + 4), QPointF(x + 7, y));
  Pie(p, QRectF(x - 7, y - 7, 14, 14), QPointF(x, y - 7), QPointF(x - 7, y));
  p.setBrush(Qt::black);
  p.setPen(QColor(37, 240, 15));
  const QFontMetrics fm(p.font());
  p.drawText(x - 23, y + 4 + fm.ascent(), QStringLiteral("T0"));
  p.restore();
}
