#include "display/graph_objects.h"

#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "display/pixel_clip.h"

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

TGraphObject MakeObject(TShape shape, QRgb colour) {
  TGraphObject o;
  o.Shape = shape;
  o.Pen.Colour = colour;
  return o;
}

void SetSquare(TGraphObject& o, const TRealXY& c, double r) {
  o.P1 = {c.X - r, c.Y + r};
  o.P2 = {c.X + r, c.Y - r};
}

bool Finite(const TRealXY& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

void SetBox(TGraphObject& o, const std::vector<QPoint>& pts, size_t first) {
  int32_t x1 = pts[first].x(), x2 = x1, y1 = pts[first].y(), y2 = y1;
  for (size_t i = first; i < pts.size(); ++i) {
    x1 = std::min(x1, pts[i].x());
    x2 = std::max(x2, pts[i].x());
    y1 = std::min(y1, pts[i].y());
    y2 = std::max(y2, pts[i].y());
  }
  o.X1 = x1, o.Y1 = y1, o.X2 = x2, o.Y2 = y2;
}

// Screen angle (degrees, counter-clockwise, Y down) of pixel p seen from (cx, cy).
double ScreenAngle(double cx, double cy, int32_t px, int32_t py) {
  return std::atan2(cy - py, px - cx) * 180.0 / std::numbers::pi;
}

}  // namespace

TGraphLine::TGraphLine(const TRealXY& a, const TRealXY& b, QRgb colour) : TGraphObject(MakeObject(TShape::Line, colour)) {
  P1 = a;
  P2 = b;
}

TGraphCircle::TGraphCircle(const TRealXY& centre, double radius, QRgb colour)
    : TGraphObject(MakeObject(TShape::Circle, colour)) {
  SetSquare(*this, centre, radius);
}

TGraphArcCW::TGraphArcCW(const TRealXY& start, const TRealXY& centre, const TRealXY& end, QRgb colour)
    : TGraphObject(MakeObject(TShape::ArcCW, colour)) {
  SetSquare(*this, centre, std::hypot(start.X - centre.X, start.Y - centre.Y));
  P3 = end;
  P4 = start;
  Kind = 2;
}

TGraphArcCCW::TGraphArcCCW(const TRealXY& start, const TRealXY& centre, const TRealXY& end, QRgb colour)
    : TGraphObject(MakeObject(TShape::ArcCCW, colour)) {
  SetSquare(*this, centre, std::hypot(start.X - centre.X, start.Y - centre.Y));
  P3 = start;
  P4 = end;
  Kind = 2;
}

void TGraphObject::SetStyle(int style, int width) {
  Pen.Style = style == kPenDashDot ? kPenDashDot : kPenSolid;
  Pen.Width = static_cast<uint8_t>(std::clamp(width, 0, 255));
}

void TGraphObject::ComputePixels(const TPixelMapping& m, std::vector<QPoint>& curves) {
  const TViewWindow& w = m.Window;
  Form = TPixelForm::Hidden;
  if (!w.CanConvert()) return;
  if (Shape == TShape::Line) {
    TRealXY a = P1, b = P2;
    if (!(m.InSafeBox(a) && m.InSafeBox(b)) && !ClipSegment(a, b, m.SafeBox)) return;
    X1 = m.PixelX(a.X), Y1 = m.PixelY(a.Y);
    X2 = m.PixelX(b.X), Y2 = m.PixelY(b.Y);
    Form = TPixelForm::Direct;
    return;
  }
  if (!Finite(P1) || !Finite(P2) || (Kind == 2 && (!Finite(P3) || !Finite(P4)))) return;
  const TRealXY c{(P1.X + P2.X) / 2, (P1.Y + P2.Y) / 2};
  const double r = std::fabs(P2.X - P1.X) / 2;
  const double rPx = r * w.Scale;
  if (!std::isfinite(rPx)) return;
  const double cx = w.PixelXExact(c.X), cy = w.PixelYExact(c.Y);
  if (cx + rPx < -kPixelMargin || cx - rPx > w.Width + kPixelMargin || cy + rPx < -kPixelMargin ||
      cy - rPx > w.Height + kPixelMargin)
    return;  // wholly outside
  if (Kind == 2) {
    X3 = w.RealToPixelX(P3.X), Y3 = w.RealToPixelY(P3.Y);
    X4 = w.RealToPixelX(P4.X), Y4 = w.RealToPixelY(P4.Y);
  }
  if (rPx <= kMaxDirectRadius) {
    X1 = w.RealToPixelX(P1.X), Y1 = w.RealToPixelY(P1.Y);
    X2 = w.RealToPixelX(P2.X), Y2 = w.RealToPixelY(P2.Y);
    Form = TPixelForm::Direct;
    return;
  }
  // Too large for the raster engine's ellipses: sample the part near the view.
  double from = 0.0, sweep = kTwoPi;
  if (Kind == 2) {
    if (P3 == P4) return;
    from = std::atan2(P3.Y - c.Y, P3.X - c.X);
    sweep = std::atan2(P4.Y - c.Y, P4.X - c.X) - from;
    while (sweep <= 0.0) sweep += kTwoPi;
  }
  const TAngleRuns runs = VisibleArcRuns(c, r, from, sweep, RealBoxAroundView(w, 4.0));
  if (runs.Count == 0) return;
  CurveFirst = static_cast<uint32_t>(curves.size());
  uint16_t counts[2] = {0, 0};
  const double maxChord = std::sqrt(2.0 * rPx);  // keeps the polyline within a quarter pixel
  for (int k = 0; k < runs.Count; ++k) {
    const TAngleRun& run = runs.Run[k];
    const double n = std::clamp(std::ceil(rPx * (run.To - run.From) / maxChord), 1.0, 4000.0);
    for (int i = 0; i <= static_cast<int>(n); ++i) {
      const double a = run.From + (run.To - run.From) * i / n;
      curves.emplace_back(w.RealToPixelX(c.X + r * std::cos(a)), w.RealToPixelY(c.Y + r * std::sin(a)));
    }
    counts[k] = static_cast<uint16_t>(n + 1);
  }
  CurveCount1 = counts[0];
  CurveCount2 = counts[1];
  SetBox(*this, curves, CurveFirst);
  Form = TPixelForm::Polyline;
}

bool TGraphObject::MayShowIn(int32_t width, int32_t height) const {
  if (Form == TPixelForm::Hidden) return false;
  const int32_t m = Pen.Width / 2 + 2;
  const int32_t left = std::min(X1, X2), right = std::max(X1, X2);
  const int32_t top = std::min(Y1, Y2), bottom = std::max(Y1, Y2);
  return right >= -m && left <= width + m && bottom >= -m && top <= height + m;
}

void TGraphObject::Draw(QPainter& canvas, const QPoint* curves) const {
  if (Form == TPixelForm::Polyline) {
    canvas.drawPolyline(curves + CurveFirst, CurveCount1);
    if (CurveCount2 > 0) canvas.drawPolyline(curves + CurveFirst + CurveCount1, CurveCount2);
    return;
  }
  if (Form != TPixelForm::Direct) return;
  switch (Shape) {
    case TShape::Line:
      canvas.drawLine(X1, Y1, X2, Y2);
      break;
    case TShape::Circle:
      canvas.setBrush(Qt::NoBrush);
      canvas.drawEllipse(QRectF(X1, Y1, X2 - X1, Y2 - Y1));
      break;
    case TShape::ArcCW:
    case TShape::ArcCCW: {
      if (X3 == X4 && Y3 == Y4) break;
      const QRectF box(X1, Y1, X2 - X1, Y2 - Y1);
      const double cx = (X1 + X2) / 2.0, cy = (Y1 + Y2) / 2.0;
      const double start = ScreenAngle(cx, cy, X3, Y3);
      double sweep = ScreenAngle(cx, cy, X4, Y4) - start;
      while (sweep <= 0.0) sweep += 360.0;  // equal radials: the whole circle
      QPainterPath path;
      path.arcMoveTo(box, start);
      path.arcTo(box, start, sweep);
      canvas.setBrush(Qt::NoBrush);
      canvas.drawPath(path);
      break;
    }
  }
}
