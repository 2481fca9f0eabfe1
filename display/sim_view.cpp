#include "display/sim_view.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "display/view_decorations.h"

namespace {

TRealXY XY(const TPoint& p) { return {p.X, p.Y}; }

}  // namespace

TSimView::TSimView() {
  HomeWindow = Rect();
  UpdateScale();
}

void TSimView::SetMyName(const std::string& name) {
  aMyName = name;
  Invalidate();
}

void TSimView::Resize(int32_t width, int32_t height) {
  Width = std::max(0, width);
  Height = std::max(0, height);
  if (Scale <= 0.0) UpdateScale();
  Invalidate();
}

void TSimView::Invalidate() {
  NeedsRecalc = true;
  RepaintPending = true;
  RepaintNeeded();
}

void TSimView::ZoomPoint(TPixelXY p, double f) {
  ZoomAboutPixel(p.X, p.Y, f);
  Invalidate();
}

void TSimView::ZoomHome() {
  SetRect(HomeWindow);
  SetViewWidth(NearestInt(XMax - XMin));
}

void TSimView::SetViewWidth(int32_t w) {
  TViewWindow::SetViewWidth(w);
  Invalidate();
}

void TSimView::ScrollToX(int32_t pos) {
  TViewWindow::ScrollToX(pos);
  Invalidate();
}

void TSimView::ScrollToY(int32_t pos) {
  TViewWindow::ScrollToY(pos);
  Invalidate();
}

void TSimView::SetGridSize(int32_t mm) {
  GridSize = mm;
  Invalidate();
}

void TSimView::SetMouseMode(int32_t m) {
  MouseMode = m;
  if (m == TMouseMode::SetW0) SetCursor(TViewCursor::Hand);
}

void TSimView::SetCursor(TViewCursor c) {
  Cursor = c;
  CursorChanged();
}

template <typename Paint>
void TSimView::XorOnBuffer(Paint paint) {
  if (Buffer.isNull() || !CanConvert()) return;  // nothing painted yet: nothing to correct
  QPainter p(&Buffer);
  paint(p);
  p.end();
  BufferChanged();
}

void TSimView::SetSpindlePos(double x, double y) {
  XorOnBuffer([&](QPainter& p) { PaintSpindleMarker(p, {RealToPixelX(SpindlePos.X), RealToPixelY(SpindlePos.Y)}); });
  SpindlePos = {x, y};
  XorOnBuffer([&](QPainter& p) { PaintSpindleMarker(p, {RealToPixelX(SpindlePos.X), RealToPixelY(SpindlePos.Y)}); });
}

void TSimView::SetW0X(double x) {
  XorOnBuffer([&](QPainter& p) { PaintW0Marker(p, {RealToPixelX(W0Pos.X), RealToPixelY(W0Pos.Y)}); });
  W0Pos.X = x;
  XorOnBuffer([&](QPainter& p) { PaintW0Marker(p, {RealToPixelX(W0Pos.X), RealToPixelY(W0Pos.Y)}); });
}

void TSimView::SetW0Y(double y) {
  XorOnBuffer([&](QPainter& p) { PaintW0Marker(p, {RealToPixelX(W0Pos.X), RealToPixelY(W0Pos.Y)}); });
  W0Pos.Y = y;
  XorOnBuffer([&](QPainter& p) { PaintW0Marker(p, {RealToPixelX(W0Pos.X), RealToPixelY(W0Pos.Y)}); });
}

void TSimView::AddObject(const TGraphObject& o, int style, int width) {
  TGraphObject object = o;
  object.SetStyle(style, width);
  Objects.Add(object, *this);
  Invalidate();
}

void TSimView::AddLine(const TPoint& a, const TPoint& b, int style, int width, QColor colour) {
  AddObject(TGraphLine(XY(a), XY(b), ToRgb(colour)), style, width);
}

void TSimView::AddArcCW(const TPoint& start, const TPoint& end, int style, int width, QColor colour,
                        const TPoint& centre) {
  AddObject(TGraphArcCW(XY(start), XY(centre), XY(end), ToRgb(colour)), style, width);
}

void TSimView::AddArcCCW(const TPoint& start, const TPoint& end, int style, int width, QColor colour,
                         const TPoint& centre) {
  AddObject(TGraphArcCCW(XY(start), XY(centre), XY(end), ToRgb(colour)), style, width);
}

void TSimView::AddCircle(const TPoint& centre, int style, double radius, int width, QColor colour) {
  AddObject(TGraphCircle(XY(centre), radius, ToRgb(colour)), style, width);
}

void TSimView::AddCross(const TPoint& p, int style, int width, QColor colour) {
  AddObject(TGraphLine({p.X - 1.0, p.Y}, {p.X + 1.0, p.Y}, ToRgb(colour)), style, width);
  AddObject(TGraphLine({p.X, p.Y - 1.0}, {p.X, p.Y + 1.0}, ToRgb(colour)), style, width);
}

void TSimView::ClearObjects() {
  Objects.Clear();
  Invalidate();
}

void TSimView::DrawMarkers(QPainter& p) const {
  PaintSpindleMarker(p, {RealToPixelX(SpindlePos.X), RealToPixelY(SpindlePos.Y)});
  PaintW0Marker(p, {RealToPixelX(W0Pos.X), RealToPixelY(W0Pos.Y)});
  PaintT0Marker(p, {RealToPixelX(T0Pos.X), RealToPixelY(T0Pos.Y)});
}

bool TSimView::ComposedServes(const TComposedFor& now) const {
  return !Composed.isNull() && Composed.size() == Buffer.size() && SameWindow(ComposedKey.Window, now.Window) &&
         ComposedKey.GridSize == now.GridSize && ComposedKey.Objects == now.Objects && ComposedKey.Limit == now.Limit &&
         ComposedKey.Underlay == now.Underlay;
}

bool TSimView::ComposedGrowsTo(const TComposedFor& now) const {
  TComposedFor shorter = now;
  shorter.Limit = ComposedKey.Limit;
  return ComposedKey.Limit < now.Limit && ComposedServes(shorter);
}

void TSimView::ShowComposed() {
  std::memcpy(Buffer.bits(), Composed.constBits(), static_cast<size_t>(Buffer.sizeInBytes()));
  QPainter p(&Buffer);
  DrawMarkers(p);
}

void TSimView::SetObjectLimit(size_t count) {
  if (count == Limit) return;
  Limit = count;
  RepaintPending = true;
  RepaintNeeded();
}

void TSimView::SetUnderlay(TUnderlay underlay) {
  Underlay = std::move(underlay);
  ++UnderlayVersion;
  Invalidate();
}

void TSimView::PaintView() {
  RepaintPending = false;
  if (Width <= 0 || Height <= 0) {
    LastDrawn = 0;
    return;
  }
  if (Buffer.width() != Width || Buffer.height() != Height) Buffer = QImage(Width, Height, QImage::Format_RGB32);
  if (!CanConvert()) {
    Composed = QImage();
    LastDrawn = 0;
    Buffer.fill(Qt::black);
    return;
  }
  const TComposedFor now{*this, GridSize, Objects.Version(), std::min(Limit, Objects.Count()), UnderlayVersion};
  if (!ComposedServes(now) && !ComposedGrowsTo(now) && !RestorePrefixPicture(now)) ComposeBackground(now);
  // Objects are painted in list order, so the added ones simply go on top.
  if (ComposedGrowsTo(now)) GrowComposed(now);
  ShowComposed();
}

void TSimView::ComposeBackground(const TComposedFor& now) {
  if (Composed.size() != Buffer.size()) Composed = QImage(Width, Height, QImage::Format_RGB32);
  Composed.fill(Qt::black);
  if (Underlay) Underlay(Composed, *this);
  QPainter p(&Composed);
  if (NeedsRecalc) {
    Objects.Recalc(*this);
    NeedsRecalc = false;
  }
  PaintGrid(p, *this, GridSize);
  PaintAxes(p, *this, GridSize);
  ComposedKey = now;
  ComposedKey.Limit = 0;
  LastDrawn = 0;
}

namespace {

// Prefix pictures: at most this many, and this many bytes in all.
constexpr size_t kPrefixPictures = 8;
constexpr size_t kPrefixPictureBytes = size_t(64) << 20;
// Fewer objects than this paint faster than a picture is copied.
constexpr size_t kSmallestPrefixStep = 4096;

}  // namespace

size_t TSimView::PrefixStep() const {
  // Only a limited view keeps pictures: without a limit it is the view as it always was.
  if (Limit == kAllObjects) return 0;
  const size_t pictures = std::min(kPrefixPictures, kPrefixPictureBytes / static_cast<size_t>(Buffer.sizeInBytes()));
  if (pictures == 0) return 0;
  return std::max(kSmallestPrefixStep, Objects.Count() / (pictures + 1) + 1);
}

bool TSimView::RestorePrefixPicture(const TComposedFor& now) {
  TComposedFor key = now;
  key.Limit = PrefixKey.Limit;
  const size_t step = PrefixStep();
  if (!(SameWindow(key.Window, PrefixKey.Window) && key.GridSize == PrefixKey.GridSize &&
        key.Objects == PrefixKey.Objects && key.Underlay == PrefixKey.Underlay) ||
      step == 0) {
    PrefixPictures.clear();
    PrefixKey = key;
    return false;
  }
  for (size_t m = std::min(now.Limit / step, PrefixPictures.size()); m > 0; --m) {
    const TPrefixPicture& kept = PrefixPictures[m - 1];
    if (kept.Picture.size() != Buffer.size()) continue;
    if (Composed.size() != Buffer.size()) Composed = QImage(Width, Height, QImage::Format_RGB32);
    std::memcpy(Composed.bits(), kept.Picture.constBits(), static_cast<size_t>(Composed.sizeInBytes()));
    ComposedKey = now;
    ComposedKey.Limit = m * step;
    LastDrawn = kept.Drawn;
    return true;
  }
  return false;
}

void TSimView::GrowComposed(const TComposedFor& now) {
  const size_t step = PrefixStep();
  if (step == 0) PrefixPictures.clear();  // the whole list: playback is over
  QPainter c(&Composed);
  size_t from = ComposedKey.Limit;
  while (from < now.Limit) {
    const size_t nextPicture = step == 0 ? now.Limit : (from / step + 1) * step;
    const size_t to = std::min(now.Limit, nextPicture);
    LastDrawn += Objects.Paint(Composed, c, TPaintMethod::Fast, {from, to});
    from = to;
    if (step == 0 || to != nextPicture) continue;
    const size_t m = to / step;
    if (m > kPrefixPictures) continue;
    if (PrefixPictures.size() < m) PrefixPictures.resize(m);
    if (!PrefixPictures[m - 1].Picture.isNull()) continue;
    c.end();
    PrefixPictures[m - 1] = {Composed.copy(), LastDrawn};
    c.begin(&Composed);
  }
  ComposedKey = now;
}

void TSimView::DrawRubberBand() {
  XorOnBuffer([&](QPainter& p) {
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(Corner1.X, Corner1.Y), QPoint(Corner2.X, Corner2.Y)).normalized());
  });
}

void TSimView::MouseDoubleClick(int32_t x, int32_t y) { ZoomScroll({x, y}, kDoubleClickScale); }

void TSimView::Wheel(double x, double y, double notches, bool sideways) {
  if (sideways) ScrollByPixels(-notches * kWheelNotchScrollShare * Width, 0.0);
  // Parts of a notch multiply up to the notch's factor, so fine steps add up alike.
  else ZoomKeepingPixel(x, y, std::pow(kWheelNotchScale, -notches));
  Invalidate();
}

void TSimView::MousePress(int32_t x, int32_t y) {
  switch (MouseMode) {
    case TMouseMode::Pan:
      Anchor = PixelToReal(x, y);
      Dragging = true;
      break;
    case TMouseMode::ZoomVaria:
      Anchor = PixelToReal(x, y);
      CentreOn(Anchor);
      Invalidate();
      Dragging = true;
      MovePointerTo({Width / 2, Height / 2});
      break;
    case TMouseMode::ZoomWindow:
      Dragging = true;
      Corner1 = {x, y};
      Corner2 = {-1, -1};
      break;
    default: break;
  }
}

void TSimView::MouseMove(int32_t x, int32_t y) {
  switch (MouseMode) {
    case TMouseMode::SetW0:
    case TMouseMode::SetSpindle:
      if (Cursor != TViewCursor::Hand) SetCursor(TViewCursor::Hand);
      break;
    case TMouseMode::Pan:
      if (!Dragging) break;
      PanAnchorTo(Anchor, x, y);
      Invalidate();
      break;
    case TMouseMode::ZoomVaria: {
      if (!Dragging) break;
      const double f = x < LastDragX ? kDragLeftScale : kDragRightScale;
      LastDragX = x;
      ScaleAbout(Anchor, f);
      Invalidate();
      break;
    }
    case TMouseMode::ZoomWindow:
      if (!Dragging) break;
      if (Corner2.X != -1) DrawRubberBand();
      Corner2 = {x, y};
      DrawRubberBand();
      break;
    default: break;
  }
}

void TSimView::MouseRelease(int32_t x, int32_t y) {
  switch (MouseMode) {
    case TMouseMode::ZoomVaria:
    case TMouseMode::Pan:
      MouseMode = TMouseMode::Idle;
      Dragging = false;
      break;
    case TMouseMode::SetW0:
      SetW0X(BildXToRealX(x));
      SetW0Y(BildYToRealY(y));
      MouseMode = TMouseMode::Idle;
      SetCursor(TViewCursor::Crosshair);
      Invalidate();
      break;
    case TMouseMode::SetSpindle:
      SetSpindlePos(BildXToRealX(x), BildYToRealY(y));
      MouseMode = TMouseMode::Idle;
      SetCursor(TViewCursor::Crosshair);
      Invalidate();
      break;
    case TMouseMode::ZoomWindow:
      if (Corner2.X != -1) DrawRubberBand();
      if (!Dragging) break;
      if (!ZoomToPixelRect(Corner1, Corner2)) {
        ZoomHome();
        break;
      }
      Invalidate();
      Dragging = false;
      Corner1 = {-1, -1};
      Corner2 = {-1, -1};
      break;
    default: break;
  }
}
