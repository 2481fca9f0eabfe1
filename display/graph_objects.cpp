#include "display/graph_objects.h"

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
  o.Centre = c;
  o.Radius = r;
  o.P1 = {c.X - r, c.Y + r};
  o.P2 = {c.X + r, c.Y - r};
}

// An arc about `centre` through `start`, held counter-clockwise from the first radial to the
// second: a clockwise arc from start to end is the counter-clockwise one from end to start.
void SetArc(TGraphObject& o, const TRealXY& start, const TRealXY& centre, const TRealXY& first, const TRealXY& second) {
  SetSquare(o, centre, std::hypot(start.X - centre.X, start.Y - centre.Y));
  o.P3 = first;
  o.P4 = second;
  o.Kind = 2;
}

bool Finite(const TRealXY& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

TPixelBox BoxOf(const std::vector<QPoint>& pts, size_t first) {
  TPixelBox b{pts[first].x(), pts[first].y(), pts[first].x(), pts[first].y()};
  for (size_t i = first; i < pts.size(); ++i) {
    b.X1 = std::min(b.X1, pts[i].x());
    b.X2 = std::max(b.X2, pts[i].x());
    b.Y1 = std::min(b.Y1, pts[i].y());
    b.Y2 = std::max(b.Y2, pts[i].y());
  }
  return b;
}

}  // namespace

TGraphLine::TGraphLine(const TRealXY& a, const TRealXY& b, QRgb colour)
    : TGraphObject(MakeObject(TShape::Line, colour)) {
  P1 = a;
  P2 = b;
}

TGraphCircle::TGraphCircle(const TRealXY& centre, double radius, QRgb colour)
    : TGraphObject(MakeObject(TShape::Circle, colour)) {
  SetSquare(*this, centre, radius);
}

TGraphArcCW::TGraphArcCW(const TRealXY& start, const TRealXY& centre, const TRealXY& end, QRgb colour)
    : TGraphObject(MakeObject(TShape::ArcCW, colour)) {
  SetArc(*this, start, centre, end, start);
}

TGraphArcCCW::TGraphArcCCW(const TRealXY& start, const TRealXY& centre, const TRealXY& end, QRgb colour)
    : TGraphObject(MakeObject(TShape::ArcCCW, colour)) {
  SetArc(*this, start, centre, start, end);
}

void TGraphObject::SetStyle(int style, int width) {
  Pen.Style = style == kPenDashDot ? kPenDashDot : kPenSolid;
  Pen.Width = static_cast<uint8_t>(std::clamp(width, 0, 255));
}

TPixelForm LinePixels(const TPixelMapping& m, TRealXY a, TRealXY b, TPixelBox& px) {
  if (!m.Window.CanConvert()) return TPixelForm::Hidden;
  if (!(m.InSafeBox(a) && m.InSafeBox(b)) && !ClipSegment(a, b, m.SafeBox)) return TPixelForm::Hidden;
  px = {m.PixelX(a.X), m.PixelY(a.Y), m.PixelX(b.X), m.PixelY(b.Y)};
  return TPixelForm::Direct;
}

TPixelForm CurvePixels(const TPixelMapping& m, const TRealXY& c, double radius, const TRealXY* p3, const TRealXY* p4,
                       TPixelBox& box, std::vector<QPoint>& curves, TCurveRun& run) {
  const TViewWindow& w = m.Window;
  if (!w.CanConvert() || !Finite(c) || !std::isfinite(radius)) return TPixelForm::Hidden;
  if (p3 && (!Finite(*p3) || !Finite(*p4))) return TPixelForm::Hidden;
  const double r = std::fabs(radius);
  const double rPx = r * w.Scale;
  if (!std::isfinite(rPx)) return TPixelForm::Hidden;
  const double cx = w.PixelXExact(c.X), cy = w.PixelYExact(c.Y);
  if (cx + rPx < -kPixelMargin || cx - rPx > w.Width + kPixelMargin || cy + rPx < -kPixelMargin ||
      cy - rPx > w.Height + kPixelMargin)
    return TPixelForm::Hidden;  // wholly outside
  if (rPx <= kMaxDirectRadius) {
    // The corners of the square as they were given: (cx - r, cy + r) and (cx + r, cy - r).
    // Within the pixel margin and the largest direct radius: far inside the fast range.
    const int32_t xa = m.PixelX(c.X - radius), xb = m.PixelX(c.X + radius);
    const int32_t ya = m.PixelY(c.Y + radius), yb = m.PixelY(c.Y - radius);
    box = {std::min(xa, xb), std::min(ya, yb), std::max(xa, xb), std::max(ya, yb)};
    return TPixelForm::Direct;
  }
  // Too large to draw directly: sample the part near the view.
  double from = 0.0, sweep = kTwoPi;
  if (p3) {
    if (*p3 == *p4) return TPixelForm::Hidden;
    from = std::atan2(p3->Y - c.Y, p3->X - c.X);
    sweep = std::atan2(p4->Y - c.Y, p4->X - c.X) - from;
    while (sweep <= 0.0) sweep += kTwoPi;
  }
  const TAngleRuns runs = VisibleArcRuns(c, r, from, sweep, RealBoxAroundView(w, 4.0));
  if (runs.Count == 0) return TPixelForm::Hidden;
  run = TCurveRun{static_cast<uint32_t>(curves.size()), 0, 0};
  uint16_t counts[2] = {0, 0};
  const double maxChord = std::sqrt(2.0 * rPx);  // keeps the polyline within a quarter pixel
  for (int k = 0; k < runs.Count; ++k) {
    const TAngleRun& part = runs.Run[k];
    const double n = std::clamp(std::ceil(rPx * (part.To - part.From) / maxChord), 1.0, 4000.0);
    for (int i = 0; i <= static_cast<int>(n); ++i) {
      const double a = part.From + (part.To - part.From) * i / n;
      curves.emplace_back(w.RealToPixelX(c.X + r * std::cos(a)), w.RealToPixelY(c.Y + r * std::sin(a)));
    }
    counts[k] = static_cast<uint16_t>(n + 1);
  }
  run.Count1 = counts[0];
  run.Count2 = counts[1];
  box = BoxOf(curves, run.First);
  return TPixelForm::Polyline;
}

bool BoxMayShow(const TPixelBox& px, int penWidth, int32_t width, int32_t height) {
  const int32_t m = penWidth / 2 + 2;
  const int32_t left = std::min(px.X1, px.X2), right = std::max(px.X1, px.X2);
  const int32_t top = std::min(px.Y1, px.Y2), bottom = std::max(px.Y1, px.Y2);
  return right >= -m && left <= width + m && bottom >= -m && top <= height + m;
}
