#include "windows/section_plot_window.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kMargin = 36;
constexpr int kStartWidth = 640;
constexpr int kStartHeight = 260;
constexpr QRgb kPlotBackground = 0xffffffff;
constexpr QRgb kStockColour = 0xff8a8f98;
constexpr QRgb kAxisColour = 0xff303030;

}  // namespace

TSectionFrame FitSection(double length, double top, double bottom, int width, int height, int margin) {
  TSectionFrame f;
  const double spanX = std::max(length, 1e-6), spanZ = std::max(top - bottom, 1e-6);
  f.Scale = std::max(1e-9, std::min((width - 2.0 * margin) / spanX, (height - 2.0 * margin) / spanZ));
  f.Left = margin;
  f.Top = top;
  // The block sits at the plot's middle height.
  f.Base = (height - spanZ * f.Scale) / 2;
  return f;
}

const TSectionPoint* NearestSectionPoint(const std::vector<TSectionPoint>& section, double distance) {
  if (section.empty()) return nullptr;
  const auto after = std::lower_bound(section.begin(), section.end(), distance,
                                      [](const TSectionPoint& p, double d) { return p.Distance < d; });
  if (after == section.end()) return &section.back();
  if (after == section.begin()) return &*after;
  const auto before = std::prev(after);
  return distance - before->Distance <= after->Distance - distance ? &*before : &*after;
}

TSectionPlotWindow::TSectionPlotWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmSection"));
  setWindowTitle(QStringLiteral("Section"));
  setMouseTracking(true);
  auto* column = new QVBoxLayout(this);
  column->addStretch(1);
  lblReadOut = new QLabel(this);
  lblReadOut->setObjectName(QStringLiteral("lblSectionReadOut"));
  column->addWidget(lblReadOut);
  resize(kStartWidth, kStartHeight);
}

void TSectionPlotWindow::SetSection(std::vector<TSectionPoint> section, double length, double top, double bottom) {
  Points = std::move(section);
  Length = length;
  Top = top;
  Bottom = bottom;
  lblReadOut->setText(QStringLiteral("Length %1 mm").arg(Length, 0, 'f', 3));
  update();
}

TSectionFrame TSectionPlotWindow::Frame() const {
  return FitSection(Length, Top, Bottom, width(), std::max(1, lblReadOut->y()), kMargin);
}

QString TSectionPlotWindow::ReadOut() const { return lblReadOut->text(); }

void TSectionPlotWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor::fromRgb(kPlotBackground));
  if (Points.empty()) return;
  const TSectionFrame f = Frame();
  painter.setRenderHint(QPainter::Antialiasing);
  // The stock's cut face: from the bottom up to the surface, point by point.
  QPolygonF face;
  face << QPointF(f.X(Points.front().Distance), f.Y(Bottom));
  for (const TSectionPoint& p : Points) face << QPointF(f.X(p.Distance), f.Y(p.Z));
  face << QPointF(f.X(Points.back().Distance), f.Y(Bottom));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromRgb(kStockColour));
  painter.drawPolygon(face);
  // Axes: distance along the bottom, height up the left, in millimetres.
  painter.setPen(QColor::fromRgb(kAxisColour));
  painter.drawLine(QPointF(f.X(0), f.Y(Bottom)), QPointF(f.X(Length), f.Y(Bottom)));
  painter.drawLine(QPointF(f.X(0), f.Y(Bottom)), QPointF(f.X(0), f.Y(Top)));
  painter.drawText(QPointF(f.X(0), f.Y(Bottom) + 16), QStringLiteral("0"));
  painter.drawText(QPointF(f.X(Length) - 40, f.Y(Bottom) + 16), QStringLiteral("%1 mm").arg(Length, 0, 'f', 1));
  painter.drawText(QPointF(2, f.Y(Top) + 4), QStringLiteral("%1").arg(Top, 0, 'f', 1));
  painter.drawText(QPointF(2, f.Y(Bottom) + 4), QStringLiteral("%1").arg(Bottom, 0, 'f', 1));
}

void TSectionPlotWindow::mouseMoveEvent(QMouseEvent* event) {
  const TSectionFrame f = Frame();
  const TSectionPoint* p = NearestSectionPoint(Points, f.DistanceAt(event->position().x()));
  if (!p) return;
  lblReadOut->setText(QStringLiteral("Distance %1 mm, Z %2 mm").arg(p->Distance, 0, 'f', 3).arg(p->Z, 0, 'f', 3));
}
