#include "display/svg_export.h"

#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "display/pixel_clip.h"

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
// Cubic pieces span at most this angle: a quarter of a right angle strays from the circle by
// 4e-6 of the radius (0.4 um at 100 mm), far below what the drawing resolves.
constexpr double kPieceAngle = std::numbers::pi / 4;
// Pixels around the view within which runs of very large circles are kept, as the view
// keeps them.
constexpr double kLargeCircleMarginPx = 4.0;
// Screen pixels of the written size per inch: the size a browser gives a CSS pixel.
constexpr int kPixelsPerInch = 96;

bool IsArc(TShape s) { return s == TShape::ArcCW || s == TShape::ArcCCW; }

QPointF OnCircle(const TRealXY& c, double r, double a) { return {c.X + r * std::cos(a), c.Y + r * std::sin(a)}; }

// Counter-clockwise from angle `from` through `sweep` (radians) as cubic pieces.
void AddArcRun(QPainterPath& path, const TRealXY& c, double r, double from, double sweep) {
  const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / kPieceAngle)));
  const double step = sweep / pieces;
  const double k = 4.0 / 3.0 * std::tan(step / 4) * r;  // tangent length of one piece
  path.moveTo(OnCircle(c, r, from));
  for (int i = 0; i < pieces; ++i) {
    const double a0 = from + step * i, a1 = a0 + step;
    const QPointF p0 = OnCircle(c, r, a0), p3 = OnCircle(c, r, a1);
    path.cubicTo(p0 + QPointF(-std::sin(a0), std::cos(a0)) * k, p3 - QPointF(-std::sin(a1), std::cos(a1)) * k, p3);
  }
}

}  // namespace

bool ViewDraws(const TGraphObject& o, const TPixelMapping& m, std::vector<QPoint>& scratch) {
  TPixelBox box;
  TPixelForm form = TPixelForm::Hidden;
  const bool arc = IsArc(o.Shape);
  if (o.Shape == TShape::Line) {
    form = LinePixels(m, o.P1, o.P2, box);
  } else {
    scratch.clear();
    TCurveRun run;
    form = CurvePixels(m, o.Centre, o.Radius, arc ? &o.P3 : nullptr, arc ? &o.P4 : nullptr, box, scratch, run);
  }
  if (form == TPixelForm::Hidden || !BoxMayShow(box, o.Pen.Width, m.Window.Width, m.Window.Height)) return false;
  // An arc drawn directly whose radials meet on one pixel is left out by the view.
  return !(arc && form == TPixelForm::Direct && m.Pixel(o.P3) == m.Pixel(o.P4));
}

QPainterPath RealPath(const TGraphObject& o, const TViewWindow& w) {
  QPainterPath path;
  if (o.Shape == TShape::Line) {
    path.moveTo(o.P1.X, o.P1.Y);
    path.lineTo(o.P2.X, o.P2.Y);
    return path;
  }
  const double r = std::fabs(o.Radius);
  double from = 0.0, sweep = kTwoPi;
  if (IsArc(o.Shape)) {
    from = std::atan2(o.P3.Y - o.Centre.Y, o.P3.X - o.Centre.X);
    sweep = std::atan2(o.P4.Y - o.Centre.Y, o.P4.X - o.Centre.X) - from;
    while (sweep <= 0.0) sweep += kTwoPi;  // equal radials: the whole circle
  }
  if (r * w.Scale <= kMaxDirectRadius) {
    AddArcRun(path, o.Centre, r, from, sweep);
    return path;
  }
  const TAngleRuns runs = VisibleArcRuns(o.Centre, r, from, sweep, RealBoxAroundView(w, kLargeCircleMarginPx));
  for (int i = 0; i < runs.Count; ++i)
    AddArcRun(path, o.Centre, r, runs.Run[i].From, runs.Run[i].To - runs.Run[i].From);
  return path;
}

QPen MillimetrePen(const TPenSpec& given, double mmPerPixel) {
  QPen pen(QColor::fromRgb(given.Colour), std::max<int>(given.Width, 1) * mmPerPixel);
  // Qt's dash-dot (4, 2, 1, 2 pen widths) is the view's: its own raster draws 4, 2, 1, 2 pixels.
  pen.setStyle(given.Style == kPenDashDot ? Qt::DashDotLine : Qt::SolidLine);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

TSvgDrawing SvgDrawing(const TDisplayList& list, const TViewWindow& w) {
  TSvgDrawing d;
  if (!w.CanConvert()) return d;
  // The picture's rows and columns follow from XMin, YMin and the scale (the forward
  // conversion), whatever XMax and YMax hold.
  d.MmPerPixel = 1.0 / w.Scale;
  d.ViewBox = {w.XMin, w.XMin + w.Width * d.MmPerPixel, w.YMin, w.YMin + w.Height * d.MmPerPixel};
  d.Pixels = QSize(w.Width, w.Height);
  const TPixelMapping m(w);
  std::vector<QPoint> scratch;
  for (const TGraphObject& o : list.All())
    if (ViewDraws(o, m, scratch)) d.Objects.push_back({o.Pen, RealPath(o, w)});
  return d;
}

bool WriteSvg(const TSvgDrawing& d, QIODevice& device) {
  QSvgGenerator svg;
  svg.setOutputDevice(&device);
  svg.setResolution(kPixelsPerInch);
  svg.setSize(d.Pixels);
  const TWindowRect& b = d.ViewBox;
  // SVG's Y runs down: the viewBox holds the mirrored window and a mirror maps real points.
  svg.setViewBox(QRectF(b.XMin, -b.YMax, b.XMax - b.XMin, b.YMax - b.YMin));
  svg.setTitle(QStringLiteral("Velquor simulation view"));
  svg.setDescription(QStringLiteral("Contour and cutting path in millimetres"));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  painter.setTransform(QTransform(1, 0, 0, -1, 0, 0));
  painter.fillRect(QRectF(b.XMin, b.YMin, b.XMax - b.XMin, b.YMax - b.YMin), Qt::black);
  painter.setBrush(Qt::NoBrush);
  for (const TSvgObject& o : d.Objects) {
    painter.setPen(MillimetrePen(o.Pen, d.MmPerPixel));
    painter.drawPath(o.Path);
  }
  return painter.end();
}
