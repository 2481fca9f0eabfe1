#include "stock/relief_colours.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// A perceptually ordered ramp of one hue, light to dark blue: the drawn lists (yellow
// contour, green path, red findings) stand out on every depth of it.
constexpr std::array<uint32_t, 9> kRamp = {0xf7fbff, 0xdeebf7, 0xc6dbef, 0x9ecae1, 0x6baed6,
                                           0x4292c6, 0x2171b5, 0x08519c, 0x08306b};

// The light comes from the upper left and above: (-1, 1, 1), normalised.
constexpr double kLightX = -0.57735026918962573;
constexpr double kLightY = 0.57735026918962573;
constexpr double kLightZ = 0.57735026918962573;
// Light on a surface facing away from it, so that no slope turns black.
constexpr double kAmbient = 0.35;
constexpr double kBrightest = 1.3;

uint32_t Channel(uint32_t c, int shift) { return (c >> shift) & 0xff; }

}  // namespace

uint32_t ReliefColour(double depth, double light) {
  const double at = std::clamp(depth, 0.0, 1.0) * double(kRamp.size() - 1);
  const size_t k = std::min(kRamp.size() - 2, static_cast<size_t>(at));
  const double f = at - double(k);
  uint32_t out = 0;
  for (const int shift : {16, 8, 0}) {
    const double c = Channel(kRamp[k], shift) * (1 - f) + Channel(kRamp[k + 1], shift) * f;
    out |= static_cast<uint32_t>(std::clamp(c * light, 0.0, 255.0) + 0.5) << shift;
  }
  return out;
}

double CellLight(const THeightMap& map, int32_t i, int32_t j) {
  const auto z = [&](int32_t a, int32_t b) {
    return double(map.At(std::clamp(a, 0, map.Nx - 1), std::clamp(b, 0, map.Ny - 1)));
  };
  const double dzdx = (z(i + 1, j) - z(i - 1, j)) / (2 * map.Cell);
  const double dzdy = (z(i, j + 1) - z(i, j - 1)) / (2 * map.Cell);
  return NormalLight(-dzdx, -dzdy, 1);
}

double NormalLight(double nx, double ny, double nz) {
  const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (!(length > 0)) return 1.0;
  // Against the light; a level surface gives 1.
  const double lambert = (nx * kLightX + ny * kLightY + nz * kLightZ) / length;
  return std::clamp(kAmbient + (1 - kAmbient) * lambert / kLightZ, kAmbient, kBrightest);
}
