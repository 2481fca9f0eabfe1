#include "display/sim_box.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QWheelEvent>
#include <cmath>

namespace {

constexpr QColor kHighlightColour{255, 255, 255};
constexpr int kHighlightWidth = 3;
constexpr int kArcSegments = 64;
constexpr QColor kToolColour{0, 255, 255};
constexpr int kToolWidth = 2;
constexpr int kToolMarkPixels = 6;  // half the length of the centre mark's arms

// The move in pixels: a line, or an arc as a polyline of short chords.
QPolygonF HighlightPolygon(const TViewWindow& view, const TPickElement& e) {
  const auto pixel = [&](double x, double y) { return QPointF(view.PixelXExact(x), view.PixelYExact(y)); };
  QPolygonF out;
  if (e.Shape == TPickShape::Line) return QPolygonF({pixel(e.Start.X, e.Start.Y), pixel(e.End.X, e.End.Y)});
  const double r = ArcRadius(e);
  const TArcRange range = ArcRangeOf(e);
  for (int k = 0; k <= kArcSegments; ++k) {
    const double a = range.Start + ArcDirection(e) * range.Sweep * k / kArcSegments;
    out << pixel(e.Centre.X + r * std::cos(a), e.Centre.Y + r * std::sin(a));
  }
  return out;
}

// Hands a mouse event to one of the view's handlers, in the view's pixels.
void Forward(TSimView& view, void (TSimView::*handler)(int32_t, int32_t), const QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  (view.*handler)(p.x(), p.y());
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
  UpdateQueued = false;
  if (RepaintRequested() || BackBuffer().size() != size()) PaintView();
  QPainter p(this);
  p.drawImage(0, 0, BackBuffer());
  if (!Highlighted.empty() && CanConvert()) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kHighlightColour, kHighlightWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const TPickElement& e : Highlighted) p.drawPolyline(HighlightPolygon(*this, e));
  }
  if (Tool && CanConvert()) PaintToolCircle(p, *Tool);
}

void TSimBox::PaintToolCircle(QPainter& p, const TToolCircle& tool) const {
  const QPointF c(PixelXExact(tool.Centre.X), PixelYExact(tool.Centre.Y));
  const double r = tool.Radius * Scale;
  // Far beyond the view (or not a number): nothing of it would show.
  const auto near = [](double v) { return std::fabs(v) < kPixelMargin; };
  if (!near(c.x()) || !near(c.y()) || !near(r)) return;
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kToolColour, kToolWidth));
  p.setBrush(Qt::NoBrush);
  if (r > 0.0) p.drawEllipse(c, r, r);
  p.drawLine(c - QPointF(kToolMarkPixels, 0), c + QPointF(kToolMarkPixels, 0));
  p.drawLine(c - QPointF(0, kToolMarkPixels), c + QPointF(0, kToolMarkPixels));
}

void TSimBox::SetToolCircle(std::optional<TToolCircle> circle) {
  Tool = std::move(circle);
  update();
}

void TSimBox::SetHighlight(std::optional<TPickElement> element) {
  SetHighlights(element ? std::vector<TPickElement>{*element} : std::vector<TPickElement>{});
}

void TSimBox::SetHighlights(std::vector<TPickElement> elements) {
  Highlighted = std::move(elements);
  update();
}

std::optional<TPickElement> TSimBox::Highlight() const {
  if (Highlighted.empty()) return std::nullopt;
  return Highlighted.front();
}

void TSimBox::resizeEvent(QResizeEvent*) {
  ResizeKeepingScale(width(), height());
  Resize(width(), height());
}

void TSimBox::mousePressEvent(QMouseEvent* e) { Forward(*this, &TSimView::MousePress, e); }
void TSimBox::mouseMoveEvent(QMouseEvent* e) { Forward(*this, &TSimView::MouseMove, e); }
void TSimBox::mouseReleaseEvent(QMouseEvent* e) { Forward(*this, &TSimView::MouseRelease, e); }
void TSimBox::mouseDoubleClickEvent(QMouseEvent* e) { Forward(*this, &TSimView::MouseDoubleClick, e); }

void TSimBox::wheelEvent(QWheelEvent* e) {
  const QPoint delta = e->angleDelta();
  // A tilted wheel or a sideways swipe scrolls sideways like Shift and the wheel.
  const bool sideways = (e->modifiers() & Qt::ShiftModifier) || (delta.y() == 0 && delta.x() != 0);
  const int units = delta.y() != 0 ? delta.y() : delta.x();
  if (units == 0) return;
  const QPointF p = e->position();
  Wheel(p.x(), p.y(), units / kWheelUnitsPerNotch, sideways);
  e->accept();
  emit WindowWheeled();
}

// Drawing a program adds millions of objects, each asking for a repaint: one request
// stands until the paint.
void TSimBox::RepaintNeeded() {
  if (UpdateQueued) return;
  UpdateQueued = true;
  update();
}

void TSimBox::BufferChanged() { update(); }

void TSimBox::CursorChanged() {
  QWidget::setCursor(Cursor == TViewCursor::Hand ? Qt::PointingHandCursor : Qt::CrossCursor);
}

void TSimBox::MovePointerTo(TPixelXY p) { QCursor::setPos(mapToGlobal(QPoint(p.X, p.Y))); }
