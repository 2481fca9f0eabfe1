#include "app/view_navigation.h"

#include <algorithm>
#include <cstdio>

#include "app/job_figures.h"
#include "display/sim_view.h"
#include "engine/run_elements.h"

namespace {

void Widen(TWindowRect& box, const TJobFigures& f) {
  if (!f.AnyMove) return;
  box.XMin = std::min(box.XMin, f.X.Min);
  box.XMax = std::max(box.XMax, f.X.Max);
  box.YMin = std::min(box.YMin, f.Y.Min);
  box.YMax = std::max(box.YMax, f.Y.Max);
}

}  // namespace

const char* MouseModeName(int32_t mode) {
  switch (mode) {
    case TMouseMode::SetW0: return "Set W0";
    case TMouseMode::SetSpindle: return "Set Spindle Position";
    case TMouseMode::ZoomVaria: return "Zoom varia";
    case TMouseMode::ZoomWindow: return "Zoom Window";
    case TMouseMode::Pan: return "Pan";
    case TMouseMode::Pick: return "Pick";
    default: return "No mode";
  }
}

std::string PointerText(const TViewWindow& view, TRealXY w0, TPixelXY pixel, int32_t mouseMode) {
  if (!view.CanConvert()) return MouseModeName(mouseMode);
  const TRealXY p = view.PixelToReal(pixel.X, pixel.Y);
  char buf[96];
  std::snprintf(buf, sizeof buf, "X %.3f  Y %.3f  %s", p.X - w0.X, p.Y - w0.Y, MouseModeName(mouseMode));
  return buf;
}

std::optional<TWindowRect> PartWindow(const TWindowRect& box, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return std::nullopt;
  const double cx = (box.XMin + box.XMax) / 2, cy = (box.YMin + box.YMax) / 2;
  double w = std::max(box.XMax - box.XMin, kSmallestPartMm) * (1 + 2 * kPartMargin);
  double h = std::max(box.YMax - box.YMin, kSmallestPartMm) * (1 + 2 * kPartMargin);
  const double aspect = static_cast<double>(width) / height;
  if (w / h < aspect) w = h * aspect;
  else h = w / aspect;
  return TWindowRect{cx - w / 2, cx + w / 2, cy - h / 2, cy + h / 2};
}

std::optional<TWindowRect> DrawnPartBox(int32_t handle, const TDisplayChecks& checks, TRealXY spindle, TRealXY w0) {
  const TCncPoint start{spindle.X - w0.X, spindle.Y - w0.Y, 0.0};
  TWindowRect box{1e300, -1e300, 1e300, -1e300};
  const auto add = [&](uint8_t mode, TExtentMoves counted) {
    TJobFigureSum sum(start, TFeedUnit::Millimetre, counted);
    for (const TRunElement& e : TRunElements(handle, mode))
      if (e.Read) sum.Add(e.Data);
    Widen(box, sum.Figures());
  };
  // The view draws no rapids of the contour.
  if (checks.ViewContour) add(CNC_MODE_CONTOUR, TExtentMoves::FeedOnly);
  if (checks.ViewCuttingPath) add(CNC_MODE_PATH, TExtentMoves::All);
  if (box.XMin > box.XMax) return std::nullopt;
  return TWindowRect{box.XMin + w0.X, box.XMax + w0.X, box.YMin + w0.Y, box.YMax + w0.Y};
}

TScrollPositions ScrollPositionsOf(const TViewWindow& view) { return {NearestInt(view.XMin), NearestInt(-view.YMin)}; }
