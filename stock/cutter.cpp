#include "stock/cutter.h"

#include <cmath>
#include <numbers>

#include "base/convert.h"

std::optional<TCutterShape> ParseCutterShape(std::string_view text) {
  if (text == "flat") return TCutterShape{TCutterKind::Flat};
  if (text == "ball") return TCutterShape{TCutterKind::Ball};
  if (text.size() < 2 || text[0] != 'v') return std::nullopt;
  const std::optional<double> angle = ParseFloat(text.substr(1));
  if (!angle || !(*angle > kMinVAngle && *angle < kMaxVAngle)) return std::nullopt;
  return TCutterShape{TCutterKind::VBit, *angle};
}

std::string CutterShapeText(const TCutterShape& shape) {
  switch (shape.Kind) {
    case TCutterKind::Ball: return "ball";
    case TCutterKind::VBit: return "v" + ShortestFloat(shape.IncludedAngle);
    case TCutterKind::Flat: break;
  }
  return "flat";
}

double TCutter::Rise(double distance) const {
  switch (Kind) {
    case TCutterKind::Ball: return Radius - std::sqrt(std::max(0.0, Radius * Radius - distance * distance));
    case TCutterKind::VBit: return Slope * distance;
    case TCutterKind::Flat: break;
  }
  return 0.0;
}

TCutter MakeCutter(const TCutterShape& shape, double radius) {
  TCutter c{shape.Kind, std::max(0.0, radius), 0.0};
  if (shape.Kind == TCutterKind::VBit) c.Slope = 1.0 / std::tan(shape.IncludedAngle * std::numbers::pi / 360.0);
  return c;
}

TCutterTable MakeCutterTable(const TCutterShapes& shapes, const std::array<double, kToolCount>& radii) {
  TCutterTable table;
  for (int t = 0; t < kToolCount; ++t) table[t] = MakeCutter(shapes[t], radii[t]);
  return table;
}
