#include "display/display_list.h"

#include "display/slot_layer.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <stdexcept>

namespace {

constexpr uint32_t kMaxPens = 1u << 24;
// Runs find their geometry by 32-bit places.
constexpr size_t kMaxObjects = UINT32_MAX;

QPen MakePen(const TPenSpec& style) {
  QPen pen(QColor::fromRgb(style.Colour), style.Width);
  pen.setStyle(style.Style == kPenDashDot ? Qt::DashDotLine : Qt::SolidLine);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

// One-pixel pens that our own rasteriser draws; dash-dot only along lines.
bool DrawnDirectly(const TPenSpec& pen, TShape shape) {
  return pen.Width <= 1 && (pen.Style == kPenSolid || shape == TShape::Line);
}

// Screen angle (degrees, counter-clockwise, Y down) of pixel p seen from (cx, cy).
double ScreenAngle(double cx, double cy, int32_t px, int32_t py) {
  return std::atan2(cy - py, px - cx) * 180.0 / std::numbers::pi;
}

// QPainter draws ellipses as four Bezier curves, off by 2.7e-4 of the radius: beyond this
// width more than a pixel, so larger ones are drawn as polylines close to the true curve.
constexpr double kLargestBezierEllipse = 4000;

// Points of the ellipse in `box` from `start` through `sweep` (degrees, counter-clockwise
// on the screen), with chords that stray from the curve by a quarter pixel at most.
QPolygonF EllipsePoints(const QRectF& box, double start, double sweep) {
  const double rx = box.width() / 2, ry = box.height() / 2, r = std::max(rx, ry);
  const QPointF c = box.center();
  const int n = static_cast<int>(std::ceil(r * sweep * std::numbers::pi / 180 / std::sqrt(2.0 * r))) + 1;
  QPolygonF points;
  for (int i = 0; i <= n; ++i) {
    const double a = (start + sweep * i / n) * std::numbers::pi / 180;
    points << QPointF(c.x() + rx * std::cos(a), c.y() - ry * std::sin(a));
  }
  return points;
}

bool IsArc(TShape s) { return s == TShape::ArcCW || s == TShape::ArcCCW; }

}  // namespace

uint32_t TDisplayList::PenNumber(const TPenSpec& pen) {
  // Objects come in runs of the same pen: look from the newest backwards.
  for (size_t i = Pens.size(); i-- > 0;)
    if (Pens[i] == pen) return static_cast<uint32_t>(i);
  if (Pens.size() >= kMaxPens) throw std::length_error("display list: too many different pens");
  Pens.push_back(pen);
  return static_cast<uint32_t>(Pens.size() - 1);
}

void TDisplayList::Add(const TGraphObject& o, const TViewWindow& w) {
  if (Records.size() >= kMaxObjects) throw std::length_error("display list: too many objects");
  if (Spans.empty() || !SameWindow(Spans.back().Window, w)) {
    if (!Spans.empty() && Spans.back().First == Records.size()) Spans.back().Window = w;  // an empty span
    else Spans.push_back({Records.size(), w});
  }
  if (Records.size() % kBlockObjects == 0) {
    TBlock block;
    block.FirstData[0] = static_cast<uint32_t>(Lines.size());
    block.FirstData[1] = static_cast<uint32_t>(Circles.size());
    block.FirstData[2] = static_cast<uint32_t>(Arcs.size());
    Blocks.push_back(block);
  }
  Extend(Blocks.back(), o);
  if (!DrawnDirectly(o.Pen, o.Shape)) Blocks.back().PainterObjects = true;
  TRecord rec{};
  rec.Pen = PenNumber(o.Pen);
  rec.Shape = static_cast<uint32_t>(o.Shape);
  switch (o.Shape) {
    case TShape::Line: Lines.push_back({o.P1, o.P2}); break;
    case TShape::Circle: Circles.push_back({o.Centre, o.Radius}); break;
    case TShape::ArcCW:
    case TShape::ArcCCW: Arcs.push_back({o.Centre, o.Radius, o.P3, o.P4}); break;
  }
  Records.push_back(rec);
  Pages.Records.Advance(Records);
  Pages.Lines.Advance(Lines);
  Pages.Circles.Advance(Circles);
  Pages.Arcs.Advance(Arcs);
  Pages.Blocks.Advance(Blocks);
  ++Changes;
}

void TDisplayList::Extend(TBlock& block, const TGraphObject& o) {
  block.WidestPen = std::max(block.WidestPen, o.Pen.Width);
  const auto take = [&block](double xMin, double xMax, double yMin, double yMax) {
    if (!std::isfinite(xMin) || !std::isfinite(xMax) || !std::isfinite(yMin) || !std::isfinite(yMax)) {
      block.Unbounded = true;
      return;
    }
    TWindowRect& b = block.Box;
    b.XMin = std::min(b.XMin, xMin);
    b.XMax = std::max(b.XMax, xMax);
    b.YMin = std::min(b.YMin, yMin);
    b.YMax = std::max(b.YMax, yMax);
  };
  if (o.Shape == TShape::Line) {
    take(std::min(o.P1.X, o.P2.X), std::max(o.P1.X, o.P2.X), std::min(o.P1.Y, o.P2.Y), std::max(o.P1.Y, o.P2.Y));
  } else {
    // Circles, arcs and their sampled outlines lie within the square about the centre.
    const double r = std::fabs(o.Radius);
    take(o.Centre.X - r, o.Centre.X + r, o.Centre.Y - r, o.Centre.Y + r);
    if (o.Shape != TShape::Circle && (!std::isfinite(o.P3.X + o.P3.Y) || !std::isfinite(o.P4.X + o.P4.Y)))
      block.Unbounded = true;
  }
}

// Pixels beyond a pen's half width that rounding or the visibility test may still reach.
constexpr double kCullSlackPx = 4;

bool TDisplayList::BlockMeets(const TBlock& block, const TPixelMapping& m, TPixelBox* box) {
  if (block.Unbounded || !m.Window.CanConvert()) {
    if (box) *box = {INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2};
    return true;
  }
  const double slack = block.WidestPen / 2 + kCullSlackPx, reach = slack / m.Window.Scale;
  const TWindowRect& v = m.ViewBox;
  const TWindowRect& b = block.Box;
  if (b.XMax < v.XMin - reach || b.XMin > v.XMax + reach || b.YMax < v.YMin - reach || b.YMin > v.YMax + reach)
    return false;
  if (box) {
    // Within the safe box the fast conversion holds; what lies beyond it is far outside the view.
    const TWindowRect& s = m.SafeBox;
    const auto pixel = [&](double x, double y) {
      return m.Pixel({std::clamp(x, s.XMin, s.XMax), std::clamp(y, s.YMin, s.YMax)});
    };
    const TPixelXY topLeft = pixel(b.XMin, b.YMax), bottomRight = pixel(b.XMax, b.YMin);
    const auto grown = static_cast<int32_t>(slack);
    *box = {topLeft.X - grown, topLeft.Y - grown, bottomRight.X + grown, bottomRight.Y + grown};
  }
  return true;
}

size_t TDisplayList::SpanOf(size_t object) const {
  const auto after = std::upper_bound(Spans.begin(), Spans.end(), object,
                                      [](size_t o, const TWindowSpan& span) { return o < span.First; });
  return static_cast<size_t>(after - Spans.begin()) - 1;
}

TDisplayList::TPlaced TDisplayList::Place(const TRecord& rec, size_t data, const TPixelMapping& m,
                                          std::vector<QPoint>& curves) const {
  TPlaced placed;
  curves.clear();
  switch (static_cast<TShape>(rec.Shape)) {
    case TShape::Line: placed.Form = LinePixels(m, Lines[data].A, Lines[data].B, placed.Pixels); break;
    case TShape::Circle:
      placed.Form = CurvePixels(m, Circles[data].Centre, Circles[data].Radius, nullptr, nullptr, placed.Pixels, curves,
                                placed.Run);
      break;
    case TShape::ArcCW:
    case TShape::ArcCCW: {
      const TArcData& d = Arcs[data];
      placed.Form = CurvePixels(m, d.Centre, d.Radius, &d.P3, &d.P4, placed.Pixels, curves, placed.Run);
      break;
    }
  }
  if (placed.Form != TPixelForm::Hidden &&
      !BoxMayShow(placed.Pixels, Pens[rec.Pen].Width, m.Window.Width, m.Window.Height))
    placed.Form = TPixelForm::Hidden;
  return placed;
}

void TDisplayList::Reserve(size_t lines, size_t circles, size_t arcs) {
  const size_t objects = lines + circles + arcs;
  Records.reserve(Records.size() + objects);
  Blocks.reserve(Blocks.size() + objects / kBlockObjects + 1);
  Lines.reserve(Lines.size() + lines);
  Circles.reserve(Circles.size() + circles);
  Arcs.reserve(Arcs.size() + arcs);
}

size_t TDisplayList::BytesUsed() const {
  return Records.size() * sizeof(TRecord) + Lines.size() * sizeof(TLineData) + Circles.size() * sizeof(TCircleData) +
         Arcs.size() * sizeof(TArcData) + Pens.size() * sizeof(TPenSpec) + Blocks.size() * sizeof(TBlock) +
         Spans.size() * sizeof(TWindowSpan);
}

void TDisplayList::Clear() {
  ++Changes;
  std::vector<TRecord>().swap(Records);
  std::vector<TLineData>().swap(Lines);
  std::vector<TCircleData>().swap(Circles);
  std::vector<TArcData>().swap(Arcs);
  std::vector<TPenSpec>().swap(Pens);
  std::vector<QPoint>().swap(Curve);
  std::vector<TBlock>().swap(Blocks);
  std::vector<TWindowSpan>().swap(Spans);
  Pages = {};
}

void TDisplayList::Recalc(const TViewWindow& w) { Spans.assign(1, {0, w}); }

TGraphObject TDisplayList::operator[](size_t index) const {
  size_t next[3] = {0, 0, 0};
  for (size_t i = 0; i < index; ++i) ++next[GeometryArray(Records[i])];
  return Object(Records[index], next[GeometryArray(Records[index])], TPixelMapping(Spans[SpanOf(index)].Window));
}

std::vector<TGraphObject> TDisplayList::All() const {
  std::vector<TGraphObject> out;
  out.reserve(Records.size());
  size_t next[3] = {0, 0, 0};
  for (size_t span = 0; span < Spans.size(); ++span) {
    const TPixelMapping m(Spans[span].Window);
    const size_t end = span + 1 < Spans.size() ? Spans[span + 1].First : Records.size();
    for (size_t i = Spans[span].First; i < end; ++i)
      out.push_back(Object(Records[i], next[GeometryArray(Records[i])]++, m));
  }
  return out;
}

size_t TDisplayList::GeometryArray(const TRecord& rec) { return IsArc(static_cast<TShape>(rec.Shape)) ? 2 : rec.Shape; }

TGraphObject TDisplayList::Object(const TRecord& rec, size_t data, const TPixelMapping& m) const {
  TGraphObject o;
  o.Pen = Pens[rec.Pen];
  o.Shape = static_cast<TShape>(rec.Shape);
  const TPlaced placed = Place(rec, data, m, Curve);
  o.Form = placed.Form;
  o.X1 = placed.Pixels.X1;
  o.Y1 = placed.Pixels.Y1;
  o.X2 = placed.Pixels.X2;
  o.Y2 = placed.Pixels.Y2;
  const auto square = [&o](const TRealXY& c, double r) {
    o.Centre = c;
    o.Radius = r;
    o.P1 = {c.X - r, c.Y + r};
    o.P2 = {c.X + r, c.Y - r};
  };
  if (o.Shape == TShape::Line) {
    o.P1 = Lines[data].A;
    o.P2 = Lines[data].B;
  } else if (o.Shape == TShape::Circle) {
    square(Circles[data].Centre, Circles[data].Radius);
  } else {
    const TArcData& d = Arcs[data];
    square(d.Centre, d.Radius);
    o.P3 = d.P3;
    o.P4 = d.P4;
    o.Kind = 2;
  }
  return o;
}

void TDisplayList::DrawWithPainter(QPainter& canvas, const TRecord& rec, const TPlaced& placed,
                                   const TArcRadials* radials) const {
  if (placed.Form == TPixelForm::Polyline) {
    canvas.drawPolyline(Curve.data(), placed.Run.Count1);
    if (placed.Run.Count2 > 0) canvas.drawPolyline(Curve.data() + placed.Run.Count1, placed.Run.Count2);
    return;
  }
  const TPixelBox& p = placed.Pixels;
  const QRectF box(p.X1, p.Y1, p.X2 - p.X1, p.Y2 - p.Y1);
  switch (static_cast<TShape>(rec.Shape)) {
    case TShape::Line: canvas.drawLine(p.X1, p.Y1, p.X2, p.Y2); break;
    case TShape::Circle:
      canvas.setBrush(Qt::NoBrush);
      if (box.width() > kLargestBezierEllipse) canvas.drawPolyline(EllipsePoints(box, 0, 360));
      else canvas.drawEllipse(box);
      break;
    case TShape::ArcCW:
    case TShape::ArcCCW: {
      const double cx = (p.X1 + p.X2) / 2.0, cy = (p.Y1 + p.Y2) / 2.0;
      const double start = ScreenAngle(cx, cy, radials->X3, radials->Y3);
      double sweep = ScreenAngle(cx, cy, radials->X4, radials->Y4) - start;
      while (sweep <= 0.0) sweep += 360.0;  // equal radials: the whole circle
      canvas.setBrush(Qt::NoBrush);
      if (box.width() > kLargestBezierEllipse) {
        canvas.drawPolyline(EllipsePoints(box, start, sweep));
        break;
      }
      QPainterPath path;
      path.arcMoveTo(box, start);
      path.arcTo(box, start, sweep);
      canvas.drawPath(path);
      break;
    }
  }
}

// One Paint: where thin objects go and the QPainter state.
struct TDisplayList::TPainting {
  TPainting(QPainter& canvas, TSlotLayer* layer, size_t first, size_t last)
      : Canvas(canvas), Layer(layer), Target(layer ? layer->Target() : TRasterTarget{}), First(first), Last(last) {}
  QPainter& Canvas;
  TSlotLayer* Layer;  // null: everything through QPainter
  TRasterTarget Target;
  size_t First, Last;  // the objects painted
  bool Backwards = false;
  int64_t PainterPen = -1;
  size_t Drawn = 0;
  // Whether the runs looked at ahead (by Prefetch) meet the view, and their pixel boxes.
  struct TSeen {
    size_t Block = SIZE_MAX;
    bool Meets = false;
    TPixelBox Box;
  };
  TSeen Seen[2 * kLookAhead];
  // The mapping of the last span asked for: nearly always the only one.
  size_t MappedSpan = SIZE_MAX;
  std::optional<TPixelMapping> Mapping;
  const TPixelMapping& MappingOf(const TDisplayList& list, size_t span) {
    if (span != MappedSpan) Mapping.emplace(list.Spans[span].Window), MappedSpan = span;
    return *Mapping;
  }
  // The span all objects of a run belong to, or SIZE_MAX when they belong to several.
  size_t SpanOfBlock(const TDisplayList& list, size_t block) const {
    const size_t first = block * kBlockObjects, last = std::min(list.Records.size(), first + kBlockObjects) - 1;
    const size_t span = list.SpanOf(first);
    return span == list.SpanOf(last) ? span : SIZE_MAX;
  }
};

size_t TDisplayList::Paint(QImage& image, QPainter& canvas, TPaintMethod method, TObjectRange range) const {
  const size_t last = std::min(range.Last, Records.size());
  if (range.First >= last) return 0;
  // Our rasteriser writes 32-bit pixels; any other picture is left to QPainter.
  const bool direct = method == TPaintMethod::Fast && image.depth() == 32 && !image.isNull();
  std::optional<TSlotLayer> layer;
  if (direct) layer.emplace(image, Pens.size());
  TPainting p(canvas, layer ? &*layer : nullptr, range.First, last);
  // Backwards only while every pen has a slot of its own: a flush in the middle would put
  // earlier objects over later ones.
  const bool backwards = direct && Pens.size() <= TSlotLayer::kSlots;
  const size_t lastBlock = (last + kBlockObjects - 1) / kBlockObjects;
  for (size_t b = range.First / kBlockObjects; b < lastBlock;) {
    if (!backwards || Blocks[b].PainterObjects) {
      if (MayShow(p, b)) PaintBlock(p, b);
      ++b;
      continue;
    }
    // A run of blocks our rasteriser draws alone: last object first, so that objects under
    // wholly drawn tiles are skipped, and once the whole picture is drawn nothing more is.
    size_t end = b;
    while (end < lastBlock && !Blocks[end].PainterObjects) ++end;
    layer->Flush();
    p.Backwards = true;
    p.Target = layer->Target(true);
    for (size_t k = end; k-- > b && !p.Target.Coverage->AllFull();) {
      if (k >= b + kLookAhead) Prefetch(p, k - kLookAhead);
      if (MayShow(p, k)) PaintBlock(p, k);
    }
    layer->Flush();
    p.Backwards = false;
    p.Target = layer->Target();
    b = end;
  }
  if (layer) layer->Flush();
  return p.Drawn;
}

void TDisplayList::Prefetch(TPainting& p, size_t b) const {
  const TBlock& block = Blocks[b];
  if (const size_t span = p.SpanOfBlock(*this, b); span != SIZE_MAX) {
    TPainting::TSeen& seen = p.Seen[b % std::size(p.Seen)];
    seen.Block = b;
    seen.Meets = BlockMeets(block, p.MappingOf(*this, span), &seen.Box);
    if (!seen.Meets) return;
  }
  const auto fetch = [](const void* from, size_t bytes) {
    constexpr size_t kLine = 64;
    const auto* at = static_cast<const char*>(from);
    for (size_t offset = 0; offset < bytes; offset += kLine) __builtin_prefetch(at + offset);
  };
  const size_t first = b * kBlockObjects, count = std::min(kBlockObjects, Records.size() - first);
  fetch(&Records[first], count * sizeof(TRecord));
  const bool last = b + 1 == Blocks.size();
  const auto until = [&](int array, size_t size) { return last ? size : Blocks[b + 1].FirstData[array]; };
  fetch(Lines.data() + block.FirstData[0], (until(0, Lines.size()) - block.FirstData[0]) * sizeof(TLineData));
  fetch(Circles.data() + block.FirstData[1], (until(1, Circles.size()) - block.FirstData[1]) * sizeof(TCircleData));
  fetch(Arcs.data() + block.FirstData[2], (until(2, Arcs.size()) - block.FirstData[2]) * sizeof(TArcData));
}

bool TDisplayList::MayShow(TPainting& p, size_t b) const {
  TPixelBox box;
  if (const TPainting::TSeen& seen = p.Seen[b % std::size(p.Seen)]; seen.Block == b) {
    if (!seen.Meets) return false;
    box = seen.Box;
  } else {
    const size_t span = p.SpanOfBlock(*this, b);
    if (span == SIZE_MAX) return true;  // objects of several windows: each is placed in its own
    if (!BlockMeets(Blocks[b], p.MappingOf(*this, span), &box)) return false;
  }
  return !(p.Backwards && p.Target.Coverage->Full(box));
}

void TDisplayList::PaintBlock(TPainting& p, size_t block) const {
  const size_t first = block * kBlockObjects, end = std::min(Records.size(), first + kBlockObjects);
  uint32_t data[kBlockObjects];  // place of each object's geometry
  uint32_t next[3] = {Blocks[block].FirstData[0], Blocks[block].FirstData[1], Blocks[block].FirstData[2]};
  for (size_t i = first; i < end; ++i) data[i - first] = next[GeometryArray(Records[i])]++;
  const size_t span = p.SpanOfBlock(*this, block);
  const auto paint = [&](size_t i) {
    PaintObject(p, Records[i], data[i - first], p.MappingOf(*this, span != SIZE_MAX ? span : SpanOf(i)));
  };
  const size_t from = std::max(first, p.First), to = std::min(end, p.Last);
  if (p.Backwards) {
    for (size_t i = to; i-- > from;) paint(i);
  } else {
    for (size_t i = from; i < to; ++i) paint(i);
  }
}

void TDisplayList::PaintObject(TPainting& p, const TRecord& rec, size_t data, const TPixelMapping& m) const {
  const TPlaced placed = Place(rec, data, m, Curve);
  if (placed.Form == TPixelForm::Hidden) return;
  ++p.Drawn;
  const TShape shape = static_cast<TShape>(rec.Shape);
  const TPenSpec& pen = Pens[rec.Pen];
  const bool ours = p.Layer && DrawnDirectly(pen, shape);
  const TPixelBox& px = placed.Pixels;
  if (ours && p.Backwards &&
      p.Target.Coverage->Full(
          {std::min(px.X1, px.X2), std::min(px.Y1, px.Y2), std::max(px.X1, px.X2), std::max(px.Y1, px.Y2)}))
    return;  // later objects hide it wholly
  const bool sampled = placed.Form == TPixelForm::Polyline;
  TArcRadials radials;
  if (IsArc(shape) && !sampled) {
    const TArcData& d = Arcs[data];
    const TPixelXY p3 = m.Pixel(d.P3), p4 = m.Pixel(d.P4);
    radials = {p3.X, p3.Y, p4.X, p4.Y};
    if (radials.X3 == radials.X4 && radials.Y3 == radials.Y4) return;  // start and end on one pixel
  }
  if (ours) {
    const TRasterValue colour = p.Layer->SlotOf(rec.Pen, pen.Colour);
    p.Layer->Touch(px);
    if (sampled) {
      const uint32_t counts[2] = {placed.Run.Count1, placed.Run.Count2};
      for (uint32_t k = 0, offset = 0; k < 2; offset += counts[k], ++k)
        for (uint32_t j = offset + 1; j < offset + counts[k]; ++j)
          RasterLine(p.Target, Curve[j - 1].x(), Curve[j - 1].y(), Curve[j].x(), Curve[j].y(), colour,
                     TLinePattern::Solid);
    } else if (shape == TShape::Line) {
      RasterLine(p.Target, px.X1, px.Y1, px.X2, px.Y2, colour,
                 pen.Style == kPenDashDot ? TLinePattern::DashDot : TLinePattern::Solid);
    } else {
      Ellipses.Draw(p.Target, px, colour, IsArc(shape) ? &radials : nullptr);
    }
    return;
  }
  if (p.Layer) p.Layer->Flush();  // what was drawn before lies under this
  if (p.PainterPen != rec.Pen) {
    p.PainterPen = rec.Pen;
    p.Canvas.setPen(MakePen(pen));
  }
  DrawWithPainter(p.Canvas, rec, placed, &radials);
}
