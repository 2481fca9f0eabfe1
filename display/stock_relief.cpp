#include "display/stock_relief.h"

#include <algorithm>
#include <cmath>

#include "base/convert.h"
#include "stock/relief_colours.h"

namespace {

constexpr QRgb kBackground = 0xff202020;
constexpr int kLegendWidth = 110;
constexpr int kMargin = 12;
constexpr int kMarkerRadius = 6;

}  // namespace

void PaintRelief(QImage& image, const TStockResult& result, const TPlaneWindow& window) {
  const THeightMap& map = result.Map;
  if (map.Z.empty() || image.isNull() || !(window.XMax > window.XMin) || !(window.YMax > window.YMin)) return;
  if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
    image = image.convertToFormat(QImage::Format_RGB32);
  const double deepest = map.MinZ();
  const double sx = (window.XMax - window.XMin) / image.width(), sy = (window.YMax - window.YMin) / image.height();
  // The columns and rows of cells under each pixel, found once.
  std::vector<int32_t> columns(size_t(image.width()));
  for (int px = 0; px < image.width(); ++px) {
    const double i = std::floor((window.XMin + (px + 0.5) * sx - map.X0) / map.Cell);
    columns[size_t(px)] = i >= 0 && i < map.Nx ? static_cast<int32_t>(i) : -1;
  }
  for (int py = 0; py < image.height(); ++py) {
    const double j = std::floor((window.YMax - (py + 0.5) * sy - map.Y0) / map.Cell);
    if (!(j >= 0 && j < map.Ny)) continue;
    const auto row = static_cast<int32_t>(j);
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(py));
    for (int px = 0; px < image.width(); ++px) {
      const int32_t i = columns[size_t(px)];
      if (i < 0) continue;
      const double depth = DepthFraction(map.At(i, row), map.Top, deepest);
      line[px] = 0xff000000u | ReliefColour(depth, CellLight(map, i, row));
    }
  }
}

void PaintReliefLegend(QPainter& painter, const QRect& area, const TStockResult& result) {
  const double top = result.Map.Top, deepest = result.Map.MinZ();
  const QRect bar(area.left(), area.top() + 20, 18, std::max(10, area.height() - 40));
  for (int y = 0; y < bar.height(); ++y) {
    const double depth = double(y) / std::max(1, bar.height() - 1);
    painter.setPen(QColor::fromRgb(ReliefColour(depth, 1.0)));
    painter.drawLine(bar.left(), bar.top() + y, bar.right(), bar.top() + y);
  }
  // Each text on a dark backing, as the view's own labels: white stays readable over the
  // light, uncut stock.
  const auto label = [&](int x, int baseline, const QString& text) {
    const QRect box = painter.fontMetrics().boundingRect(text).translated(x, baseline).adjusted(-2, -1, 2, 1);
    painter.fillRect(box, QColor::fromRgb(kBackground));
    painter.setPen(Qt::white);
    painter.drawText(x, baseline, text);
  };
  label(area.left(), area.top() + 14, QStringLiteral("Z"));
  label(bar.right() + 6, bar.top() + 10, QString::fromStdString(FloatToText(top, 0, 3)));
  label(bar.right() + 6, bar.bottom(), QString::fromStdString(FloatToText(deepest, 0, 3)));
}

void PaintFindingMarkers(QPainter& painter, const std::vector<TFinding>& findings,
                         const std::function<QPointF(double, double)>& toPixel) {
  painter.setPen(QPen(Qt::red, 2));
  painter.setBrush(Qt::NoBrush);
  for (const TFinding& f : findings) painter.drawEllipse(toPixel(f.X, f.Y), kMarkerRadius, kMarkerRadius);
}

QImage StockPicture(const TStockResult& result, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(kBackground);
  const TStockBox& box = result.Box;
  // The stock fills the picture left of the legend, at one scale in X and Y.
  const double roomX = std::max(1, width - kLegendWidth - 2 * kMargin), roomY = std::max(1, height - 2 * kMargin);
  const double scale = std::min(roomX / (box.X1 - box.X0), roomY / (box.Y1 - box.Y0));
  const double halfX = (width - kLegendWidth) / 2.0 / scale, halfY = height / 2.0 / scale;
  const double cx = (box.X0 + box.X1) / 2, cy = (box.Y0 + box.Y1) / 2;
  const TPlaneWindow window{cx - halfX, cx + halfX, cy - halfY, cy + halfY};
  QImage relief = image.copy(0, 0, width - kLegendWidth, height);
  PaintRelief(relief, result, window);
  QPainter painter(&image);
  painter.drawImage(0, 0, relief);
  painter.setRenderHint(QPainter::Antialiasing);
  PaintFindingMarkers(painter, result.Findings, [&](double x, double y) {
    return QPointF((x - window.XMin) * scale, (window.YMax - y) * scale);
  });
  PaintReliefLegend(painter,
                    QRect(width - kLegendWidth + kMargin, kMargin, kLegendWidth - 2 * kMargin, height - 2 * kMargin),
                    result);
  return image;
}

QImage ReliefImage3d(TReliefRenderer& renderer, const TOrbitView& view) {
  QImage image(std::max(1, view.Width), std::max(1, view.Height), QImage::Format_RGB32);
  TOrbitView drawn = view;
  drawn.Width = image.width();
  drawn.Height = image.height();
  // Format_RGB32 rows hold exactly width pixels of 0xffRRGGBB.
  renderer.Render(drawn, reinterpret_cast<uint32_t*>(image.bits()));
  return image;
}

QImage StockPicture3d(const TStockResult& result, int width, int height, double azimuth, double elevation) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(kBackground);
  const THeightMap& map = result.Map;
  if (map.Z.empty()) return image;
  TOrbitView view = StartView(map, result.Box.Bottom(), std::max(1, width - kLegendWidth), height);
  view.Azimuth = 0;
  view.Elevation = kStartElevation;
  Orbit(view, azimuth, elevation - kStartElevation);
  // Framed again for the angles asked for.
  const TOrbitView framed = FramedView(map, result.Box.Bottom(), view);
  TReliefRenderer renderer(map, result.Box.Bottom(), map.MinZ());
  QPainter painter(&image);
  painter.drawImage(0, 0, ReliefImage3d(renderer, framed));
  painter.setRenderHint(QPainter::Antialiasing);
  PaintFindingMarkers(painter, result.Findings, [&](double x, double y) {
    const TPicturePoint p = Project(framed, {x, y, map.Top});
    return QPointF(p.X, p.Y);
  });
  PaintReliefLegend(painter,
                    QRect(width - kLegendWidth + kMargin, kMargin, kLegendWidth - 2 * kMargin, height - 2 * kMargin),
                    result);
  return image;
}
