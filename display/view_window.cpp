#include "display/view_window.h"

#include <algorithm>
#include <cmath>
#include <limits>

int32_t NearestInt(double v) {
  if (std::isnan(v)) return 0;
  const double r = std::nearbyint(v);
  if (r >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  if (r <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(r);
}

int32_t TViewWindow::RealToPixelX(double x) const { return NearestInt(PixelXExact(x)); }

int32_t TViewWindow::RealToPixelY(double y) const {
  // Height - Nearest(...): the subtraction may leave int32 for far points, so saturate it too.
  return NearestInt(static_cast<double>(Height) - std::nearbyint((y - YMin) * Scale));
}

double TViewWindow::BildXToRealX(double px) const { return Scale > 0.0 ? px / Scale + XMin : XMin; }

double TViewWindow::BildYToRealY(double py) const { return Scale > 0.0 ? YMax - py / Scale : YMax; }

void TViewWindow::SetRect(const TWindowRect& r) {
  XMin = r.XMin;
  XMax = r.XMax;
  YMin = r.YMin;
  YMax = r.YMax;
}

void TViewWindow::UpdateScale() {
  const double s = Width / (XMax - XMin);
  Scale = std::isfinite(s) && s > 0.0 ? s : 0.0;
}

void TViewWindow::ResizeKeepingScale(int32_t width, int32_t height) {
  width = std::max(0, width);
  height = std::max(0, height);
  if (Scale > 0.0 && width > 0 && height > 0 && (width != Width || height != Height)) {
    XMax = XMin + width / Scale;
    YMin = YMax - height / Scale;
  }
  Width = width;
  Height = height;
}

void TViewWindow::ZoomAboutPixel(double px, double py, double factor) {
  ScaleAbout({BildXToRealX(px), BildYToRealY(py)}, factor);
}

void TViewWindow::ZoomKeepingPixel(double px, double py, double factor) {
  if (!CanConvert() || !(factor > 0.0)) return;
  const TRealXY c{BildXToRealX(px), BildYToRealY(py)};
  // Every edge keeps its distance to c in pixels: scaled about c in the plane.
  XMin = c.X + (XMin - c.X) * factor;
  XMax = c.X + (XMax - c.X) * factor;
  YMin = c.Y + (YMin - c.Y) * factor;
  YMax = c.Y + (YMax - c.Y) * factor;
  UpdateScale();
}

void TViewWindow::ScrollByPixels(double dx, double dy) {
  if (!CanConvert()) return;
  const double x = dx / Scale, y = -dy / Scale;
  XMin += x, XMax += x, YMin += y, YMax += y;
}

void TViewWindow::CentreOn(const TRealXY& c) { ScaleAbout(c, 1.0); }

void TViewWindow::ScaleAbout(const TRealXY& c, double factor) {
  const double w = XMax - XMin;
  const double h = YMax - YMin;
  XMin = c.X - w / 2 * factor;
  XMax = c.X + w / 2 * factor;
  YMax = c.Y + h / 2 * factor;
  YMin = c.Y - h / 2 * factor;
  UpdateScale();
}

void TViewWindow::SetViewWidth(int32_t w) {
  XMax = XMin + w;
  YMax = Width > 0 ? NearestInt(static_cast<double>(w) * Height / Width + YMin) : YMin;
  UpdateScale();
}

void TViewWindow::ScrollToX(int32_t pos) {
  const int32_t w = NearestInt(XMax - XMin);
  XMin = pos;
  XMax = static_cast<double>(pos) + w;
}

void TViewWindow::ScrollToY(int32_t pos) {
  const int32_t h = NearestInt(YMax - YMin);
  YMin = -static_cast<double>(pos);
  YMax = YMin + h;
}

void TViewWindow::PanAnchorTo(const TRealXY& anchor, int32_t px, int32_t py) {
  const TRealXY p = PixelToReal(px, py);
  const double dx = p.X - anchor.X;
  const double dy = p.Y - anchor.Y;
  XMin -= dx;
  XMax -= dx;
  YMax -= dy;
  YMin -= dy;
  UpdateScale();
}

bool TViewWindow::ZoomToPixelRect(TPixelXY c1, TPixelXY c2) {
  const int32_t x1 = std::min(c1.X, c2.X), x2 = std::max(c1.X, c2.X);
  const int32_t y1 = std::min(c1.Y, c2.Y), y2 = std::max(c1.Y, c2.Y);
  const int64_t dx = int64_t{x2} - x1;
  const int64_t dy = int64_t{y2} - y1;
  TWindowRect r;
  if (dy > dx) {
    const double top = BildYToRealY(y1);
    const double bottom = BildYToRealY(y2);
    const double w = Height > 0 ? (top - bottom) * Width / Height : 0.0;
    const double cx = (BildXToRealX(x1) + BildXToRealX(x2)) / 2;
    r = {cx - w / 2, cx + w / 2, bottom, top};
  } else {
    const double scale = Scale > 0.0 ? Scale : 1.0;
    r.XMin = x1 / scale + XMin;
    r.XMax = x2 / scale + XMin;
    const double h = Width > 0 ? (r.XMax - r.XMin) * Height / Width : 0.0;
    const double cy = (BildYToRealY(y2) + BildYToRealY(y1)) / 2;
    r.YMax = cy + h / 2;
    r.YMin = cy - h / 2;
  }
  if (!(r.XMax - r.XMin > 0.0) || !std::isfinite(r.XMax - r.XMin)) return false;
  SetRect(r);
  UpdateScale();
  return true;
}
