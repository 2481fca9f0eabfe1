// Cutter compensation over contours of lines and arcs: the input is read as a tool radius
// and a run of moves on a coarse grid, so that corners, tangent joins, concentric and
// touching circles and zero-length moves turn up often, under G41 and G42 alike.
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "base/records.h"
#include "fuzz/fuzz_input.h"
#include "geometry/milling_path.h"

namespace {

constexpr double kGrid = 0.5;  // mm: coordinates fall on it, so points coincide often
constexpr size_t kMaxMoves = 64;
constexpr int kTools = 4;

enum TOp : uint8_t { kLine, kArcCw, kArcCcw, kRapid, kLeft, kRight, kOff, kTool, kOpCount };

double Coordinate(TFuzzBytes& in) { return static_cast<int8_t>(in.Byte()) * kGrid; }

// An arc from `from` about a centre on the grid, ending at a grid angle on its circle.
TCncElement Arc(TFuzzBytes& in, const TPoint& from, bool clockwise) {
  const double i = Coordinate(in), j = Coordinate(in);
  const TPoint centre{from.X + i, from.Y + j, from.Z};
  const double r = std::hypot(i, j);
  const double start = std::atan2(-j, -i);
  const double turn = (1 + in.Byte() % 24) * 15.0 * std::numbers::pi / 180.0;
  const double end = clockwise ? start - turn : start + turn;
  TPoint to{centre.X + r * std::cos(end), centre.Y + r * std::sin(end), from.Z};
  // Quarter and half turns land exactly, as programs write them.
  if (std::fabs(std::round(to.X / kGrid) * kGrid - to.X) < 1e-9) to.X = std::round(to.X / kGrid) * kGrid;
  if (std::fabs(std::round(to.Y / kGrid) * kGrid - to.Y) < 1e-9) to.Y = std::round(to.Y / kGrid) * kGrid;
  return MakeElement(1, "arc", clockwise ? "G02" : "G03", to, TPoint{i, j, 0.0});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzBytes in(data, size);
  std::array<double, 256> radius{};
  for (int t = 0; t < kTools; ++t) radius[t] = in.Byte() * kGrid / 4;
  TElementList raw;
  TPoint at{};
  while (!in.Done() && raw.size() < kMaxMoves) {
    const uint8_t op = in.Byte() % kOpCount;
    switch (op) {
      case kLine:
      case kRapid:
        at = TPoint{Coordinate(in), Coordinate(in), at.Z};
        raw.push_back(MakeElement(1, "line", op == kLine ? "G01" : "G00", at));
        break;
      case kArcCw:
      case kArcCcw: {
        const TCncElement arc = Arc(in, at, op == kArcCw);
        at = arc.P1;
        raw.push_back(arc);
        break;
      }
      case kLeft: raw.push_back(MakeElement(1, "", "G41")); break;
      case kRight: raw.push_back(MakeElement(1, "", "G42")); break;
      case kOff: raw.push_back(MakeElement(1, "", "G40")); break;
      case kTool: raw.push_back(MakeValueElement(1, "", "T", in.Byte() % kTools)); break;
    }
  }
  TElementList path;
  TMessageList messages;
  ComputeMillingPath(raw, path, radius, TPoint{}, messages);
  for (const TCncElement& e : path)
    if (std::isnan(e.P1.X) || std::isnan(e.P1.Y)) __builtin_trap();  // a path point must be a point
  return 0;
}
