#include "app/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace {

// Drawn on a 16 x 16 grid, twice the resolution so the icons stay sharp on dense screens.
constexpr int kGrid = 16;
constexpr int kOversample = 2;

void Magnifier(QPainter& p) {
  p.setPen(QPen(QColor(40, 40, 40), 1.6));
  p.setBrush(QColor(200, 230, 255));
  p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
  p.setPen(QPen(QColor(120, 70, 20), 2.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
}

void Arrow(QPainter& p, QPointF from, QPointF to) {
  p.drawLine(from, to);
  const QPointF d = (to - from) / std::max(1.0, std::hypot((to - from).x(), (to - from).y()));
  const QPointF n(-d.y(), d.x());
  p.drawLine(to, to - 3 * d + 2 * n);
  p.drawLine(to, to - 3 * d - 2 * n);
}

void DrawPath(QPainter& p, QColor colour, qreal width) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QPainterPath path(QPointF(2, 13));
  path.lineTo(2, 5);
  path.quadTo(2, 2, 5, 2);
  path.lineTo(13, 2);
  path.lineTo(13, 13);
  path.closeSubpath();
  p.drawPath(path);
}

// A spindle or a tool: the holder above, the cutter below it.
void HolderAndCutter(QPainter& p, const QPen& pen, QColor holder, QRectF holderRect, QColor cutter,
                     const QPolygonF& cutterShape) {
  p.setPen(pen);
  p.setBrush(holder);
  p.drawRect(holderRect);
  p.setBrush(cutter);
  p.drawPolygon(cutterShape);
}

void Paint(QPainter& p, TToolIcon icon) {
  switch (icon) {
    case TToolIcon::Exit:
      p.setPen(QPen(QColor(90, 60, 30), 1));
      p.setBrush(QColor(170, 120, 60));
      p.drawRect(QRectF(2.5, 1.5, 7, 13));
      p.setPen(QPen(QColor(200, 0, 0), 1.8, Qt::SolidLine, Qt::RoundCap));
      Arrow(p, QPointF(7, 8), QPointF(15, 8));
      break;
    case TToolIcon::Open:
      p.setPen(QPen(QColor(140, 100, 0), 1));
      p.setBrush(QColor(250, 210, 80));
      p.drawPolygon(QPolygonF({QPointF(1.5, 3.5), QPointF(6, 3.5), QPointF(7.5, 5), QPointF(14.5, 5),
                               QPointF(14.5, 13.5), QPointF(1.5, 13.5)}));
      break;
    case TToolIcon::Edit:
      p.setPen(QPen(QColor(80, 80, 80), 1));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(2.5, 1.5, 9, 13));
      p.drawLine(QPointF(4, 5), QPointF(10, 5));
      p.drawLine(QPointF(4, 8), QPointF(10, 8));
      p.setPen(QPen(QColor(0, 0, 180), 2.2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(8, 13), QPointF(14.5, 6.5));
      break;
    case TToolIcon::Refresh:
      p.setPen(QPen(QColor(0, 140, 0), 2, Qt::SolidLine, Qt::RoundCap));
      p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 280 * 16);
      p.drawLine(QPointF(11, 1.5), QPointF(11, 5.5));
      p.drawLine(QPointF(11, 5.5), QPointF(7, 5.5));
      break;
    case TToolIcon::ZoomAll:
      Magnifier(p);
      p.setPen(QPen(Qt::black, 1));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(3.5, 3.5, 5, 5));
      break;
    case TToolIcon::ZoomWindow:
      p.setPen(QPen(QColor(40, 40, 40), 1, Qt::DashLine));
      p.drawRect(QRectF(0.5, 0.5, 10, 8));
      Magnifier(p);
      break;
    case TToolIcon::ZoomVaria:
      Magnifier(p);
      p.setPen(QPen(Qt::black, 1.4));
      p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
      p.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
      break;
    case TToolIcon::Pan:
      p.setPen(QPen(QColor(30, 30, 30), 1.4, Qt::SolidLine, Qt::RoundCap));
      Arrow(p, QPointF(8, 8), QPointF(8, 1.5));
      Arrow(p, QPointF(8, 8), QPointF(8, 14.5));
      Arrow(p, QPointF(8, 8), QPointF(1.5, 8));
      Arrow(p, QPointF(8, 8), QPointF(14.5, 8));
      break;
    case TToolIcon::SetW0:
      p.setPen(QPen(QColor(0, 0, 200), 1.2));
      p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
      p.drawLine(QPointF(0.5, 8), QPointF(15.5, 8));
      p.drawLine(QPointF(8, 0.5), QPointF(8, 15.5));
      p.setBrush(QColor(0, 0, 200));
      p.drawPie(QRectF(2.5, 2.5, 11, 11), 0, 90 * 16);
      p.drawPie(QRectF(2.5, 2.5, 11, 11), 180 * 16, 90 * 16);
      break;
    case TToolIcon::SetSpindle:
      HolderAndCutter(p, QPen(QColor(150, 0, 0), 1.2), QColor(230, 230, 230), QRectF(5.5, 0.5, 5, 7),
                      QColor(180, 180, 180), QPolygonF({QPointF(6.5, 7.5), QPointF(9.5, 7.5), QPointF(8, 15)}));
      break;
    case TToolIcon::Edges:
      p.setPen(QPen(QColor(220, 0, 0), 1.6));
      for (const QPointF c : {QPointF(4, 4), QPointF(12, 4), QPointF(8, 12)}) {
        p.drawLine(c - QPointF(3, 0), c + QPointF(3, 0));
        p.drawLine(c - QPointF(0, 3), c + QPointF(0, 3));
      }
      break;
    case TToolIcon::Contour:
      p.fillRect(QRectF(0, 0, kGrid, kGrid), Qt::black);
      DrawPath(p, QColor(255, 255, 0), 1.6);
      break;
    case TToolIcon::CuttingPath:
      p.fillRect(QRectF(0, 0, kGrid, kGrid), Qt::black);
      DrawPath(p, QColor(0, 255, 0), 1.2);
      p.setPen(QPen(QColor(0, 128, 0), 1));
      p.drawEllipse(QRectF(9.5, -0.5, 7, 7));
      break;
    case TToolIcon::Tools:
      HolderAndCutter(
          p, QPen(QColor(60, 60, 60), 1), QColor(190, 190, 200), QRectF(5.5, 0.5, 5, 5), QColor(230, 200, 60),
          QPolygonF({QPointF(6.5, 5.5), QPointF(9.5, 5.5), QPointF(9.5, 13), QPointF(8, 15.5), QPointF(6.5, 13)}));
      p.drawLine(QPointF(6.5, 8), QPointF(9.5, 10));
      p.drawLine(QPointF(6.5, 11), QPointF(9.5, 13));
      break;
    case TToolIcon::Simulation:
      p.fillRect(QRectF(0, 0, kGrid, kGrid), QColor(255, 255, 240));
      p.setPen(QPen(QColor(0, 0, 160), 1.2));
      p.drawPolyline(
          QPolygonF({QPointF(1.5, 14.5), QPointF(1.5, 11.5), QPointF(4.5, 11.5), QPointF(4.5, 8.5), QPointF(7.5, 8.5),
                     QPointF(7.5, 5.5), QPointF(10.5, 5.5), QPointF(10.5, 2.5), QPointF(14.5, 2.5)}));
      break;
    case TToolIcon::About:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(30, 90, 200));
      p.drawEllipse(QRectF(1, 1, 14, 14));
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(7, 3.2, 2.2, 2.2));
      p.drawRect(QRectF(7, 6.5, 2.2, 6.5));
      break;
    case TToolIcon::ZoomToPart:
      // A part outline with frame corners close around it.
      p.setPen(QPen(QColor(200, 160, 0), 1.4));
      p.setBrush(QColor(255, 240, 150));
      p.drawRoundedRect(QRectF(4, 5, 8, 6), 1.5, 1.5);
      p.setPen(QPen(QColor(40, 40, 40), 1.2));
      for (const QPointF& c : {QPointF(1.5, 2.5), QPointF(14.5, 2.5), QPointF(1.5, 13.5), QPointF(14.5, 13.5)}) {
        const double dx = c.x() < 8 ? 3 : -3, dy = c.y() < 8 ? 3 : -3;
        p.drawLine(c, c + QPointF(dx, 0));
        p.drawLine(c, c + QPointF(0, dy));
      }
      break;
    case TToolIcon::Pick:
      // An arrow pointer touching a highlighted move.
      p.setPen(QPen(QColor(0, 160, 0), 2.4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(1.5, 14), QPointF(14.5, 9));
      p.setPen(QPen(Qt::black, 1.0));
      p.setBrush(Qt::white);
      p.drawPolygon(QPolygonF({QPointF(4, 1), QPointF(4, 11.5), QPointF(6.5, 9), QPointF(8.5, 12.5), QPointF(10, 11.7),
                               QPointF(8, 8.3), QPointF(11.5, 8)}));
      break;
  }
}

}  // namespace

QIcon ToolIcon(TToolIcon icon) {
  QPixmap pixmap(kGrid * kOversample, kGrid * kOversample);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(kOversample, kOversample);
  Paint(p, icon);
  p.end();
  return QIcon(pixmap);
}
