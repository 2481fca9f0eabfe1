// Lines, ellipses and arcs of any pixel coordinates, drawn into a small picture both in list
// order and backwards over coverage: nothing lands outside the picture, and both orders light
// the same pixels.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/thin_raster.h"
#include "fuzz/fuzz_input.h"

namespace {

// Mostly near the picture, where the shapes' ends and radials meet its edges; now and then
// anywhere in 32 bits.
int32_t Coordinate(TFuzzBytes& in) {
  const uint8_t kind = in.Byte();
  const auto low = static_cast<uint16_t>(in.Int16());
  if (kind & 0x80) return static_cast<int32_t>(uint32_t{low} << 16 | static_cast<uint16_t>(in.Int16()));
  return static_cast<int32_t>(low % 400) - 150;
}

enum class TFuzzShape : uint8_t { SolidLine, DashDotLine, Ellipse, Arc, Count };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzBytes in(data, size);
  const int32_t width = 1 + in.Byte() % 100, height = 1 + in.Byte() % 100;
  // A band around the picture that must stay untouched.
  constexpr int32_t kGuard = 64;
  const int32_t stride = width + 2 * kGuard;
  const size_t bytes = size_t(stride) * size_t(height + 2 * kGuard);
  std::vector<TRasterValue> forward(bytes, 0), backward(bytes, 0);
  const size_t origin = size_t(kGuard) * size_t(stride) + kGuard;
  TCoverage coverage(width, height);
  const TRasterTarget plain{forward.data() + origin, stride, width, height, nullptr};
  const TRasterTarget covered{backward.data() + origin, stride, width, height, &coverage};
  TEllipseRaster forwardEllipses, backwardEllipses;
  for (int shapes = 0; !in.Done() && shapes < 64; ++shapes) {
    const auto shape = static_cast<TFuzzShape>(in.Byte() % static_cast<uint8_t>(TFuzzShape::Count));
    const int32_t x1 = Coordinate(in), y1 = Coordinate(in), x2 = Coordinate(in), y2 = Coordinate(in);
    if (shape == TFuzzShape::SolidLine || shape == TFuzzShape::DashDotLine) {
      const TLinePattern pattern = shape == TFuzzShape::SolidLine ? TLinePattern::Solid : TLinePattern::DashDot;
      RasterLine(plain, x1, y1, x2, y2, 1, pattern);
      RasterLine(covered, x1, y1, x2, y2, 1, pattern);
      continue;
    }
    const TPixelBox box{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    const TArcRadials radials{Coordinate(in), Coordinate(in), Coordinate(in), Coordinate(in)};
    const TArcRadials* arc = shape == TFuzzShape::Arc ? &radials : nullptr;
    forwardEllipses.Draw(plain, box, 1, arc);
    backwardEllipses.Draw(covered, box, 1, arc);
  }
  for (size_t i = 0; i < bytes; ++i) {
    const auto x = static_cast<int32_t>(i % size_t(stride)) - kGuard,
               y = static_cast<int32_t>(i / size_t(stride)) - kGuard;
    const bool inside = x >= 0 && x < width && y >= 0 && y < height;
    if (!inside && (forward[i] != 0 || backward[i] != 0)) __builtin_trap();
    if (forward[i] != backward[i]) __builtin_trap();
  }
  return 0;
}
