#include "stock/cutter.h"

#include <algorithm>
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

std::optional<TCutterShapes> ParseToolShapes(std::string_view text, std::string& error) {
  TCutterShapes shapes{};
  size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == ' ') {
      ++pos;
      continue;
    }
    const size_t end = std::min(text.find(' ', pos), text.size());
    const std::string_view word = text.substr(pos, end - pos);
    pos = end;
    const size_t eq = word.find('=');
    const std::optional<int64_t> tool = eq == std::string_view::npos ? std::nullopt : ParseInt(word.substr(0, eq));
    const std::optional<TCutterShape> shape = eq == std::string_view::npos ? std::nullopt
                                                                           : ParseCutterShape(word.substr(eq + 1));
    if (!tool || *tool < 0 || *tool >= kToolCount || !shape) {
      error = "\"" + std::string(word) + "\" is not N=flat, N=ball or N=vANGLE with N in 0.." +
              std::to_string(kToolCount - 1);
      return std::nullopt;
    }
    shapes[size_t(*tool)] = *shape;
  }
  return shapes;
}

std::string ToolShapesText(const TCutterShapes& shapes) {
  std::string text;
  for (int t = 0; t < kToolCount; ++t) {
    if (shapes[t].Kind == TCutterKind::Flat) continue;
    if (!text.empty()) text += ' ';
    text += std::to_string(t) + "=" + CutterShapeText(shapes[t]);
  }
  return text;
}
