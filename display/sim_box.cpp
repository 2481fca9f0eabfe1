#include "display/sim_box.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

namespace {

TPixelXY At(const QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  return {p.x(), p.y()};
}

}  // namespace

TSimBox::TSimBox(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);  // modes 1 and 2 change the cursor on a move without a button
  QWidget::setCursor(Qt::CrossCursor);
  Resize(width(), height());
}

void TSimBox::SetClientSize(int w, int h) {
  resize(w, h);
  Resize(w, h);
}

void TSimBox::paintEvent(QPaintEvent*) {
  if (RepaintRequested() || BackBuffer().size() != size()) PaintView();
  QPainter p(this);
  p.drawImage(0, 0, BackBuffer());
}

void TSimBox::resizeEvent(QResizeEvent*) {
  ResizeKeepingScale(width(), height());
  Resize(width(), height());
}

void TSimBox::mousePressEvent(QMouseEvent* e) {
  const TPixelXY p = At(e);
  MousePress(p.X, p.Y);
}

void TSimBox::mouseMoveEvent(QMouseEvent* e) {
  const TPixelXY p = At(e);
  MouseMove(p.X, p.Y);
}

void TSimBox::mouseReleaseEvent(QMouseEvent* e) {
  const TPixelXY p = At(e);
  MouseRelease(p.X, p.Y);
}

void TSimBox::mouseDoubleClickEvent(QMouseEvent* e) {
  const TPixelXY p = At(e);
  MouseDoubleClick(p.X, p.Y);
}

void TSimBox::RepaintNeeded() { update(); }

void TSimBox::BufferChanged() { update(); }

void TSimBox::CursorChanged() {
  QWidget::setCursor(Cursor == TViewCursor::Hand ? Qt::PointingHandCursor : Qt::CrossCursor);
}

void TSimBox::MovePointerTo(TPixelXY p) { QCursor::setPos(mapToGlobal(QPoint(p.X, p.Y))); }
