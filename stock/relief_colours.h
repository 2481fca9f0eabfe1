// How the relief of a simulated stock looks: depth on a perceptual ramp (the untouched top
// light, the deepest cut dark), shaded by a light from the upper left.
#pragma once

#include <cstdint>

#include "stock/height_map.h"

// 0xRRGGBB of a depth between 0 (the top) and 1 (the deepest), lit by `light` (1 on a level
// surface, brighter facing the light, darker facing away).
uint32_t ReliefColour(double depth, double light);

// The light on a surface facing along (nx, ny, nz), any length: 1 on a level surface.
double NormalLight(double nx, double ny, double nz);

// The light on cell (i, j) from the slope of its neighbours.
double CellLight(const THeightMap& map, int32_t i, int32_t j);

// The depth fraction of height `z` between the map's top and `deepest`.
inline double DepthFraction(double z, double top, double deepest) {
  if (!(top > deepest)) return 0.0;
  const double f = (top - z) / (top - deepest);
  return f < 0 ? 0 : (f > 1 ? 1 : f);
}
