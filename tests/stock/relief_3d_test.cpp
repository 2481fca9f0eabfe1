// The 3D relief on maps made by hand: what the camera sees of a pocket from above and at an
// angle, that a full turn changes nothing, and the section through a slot.
#include "stock/relief_3d.h"

#include "stock/relief_colours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kCell = 0.5;
constexpr double kBottom = -10.0;
constexpr double kFloor = -5.0;

// A 40 x 40 mm block, top at 0, with a pocket over [10, 30] x [10, 30] down to kFloor.
THeightMap PocketMap() {
  const TStockBox box{0, 0, 40, 40, 0, 10};
  THeightMap map(box, PlanGrid(box, kCell));
  for (int32_t j = 0; j < map.Ny; ++j)
    for (int32_t i = 0; i < map.Nx; ++i)
      if (map.CentreX(i) > 10 && map.CentreX(i) < 30 && map.CentreY(j) > 10 && map.CentreY(j) < 30)
        map.Z[size_t(j) * size_t(map.Nx) + size_t(i)] = static_cast<float>(kFloor);
  return map;
}

TOrbitView View(double azimuth, double elevation) {
  TOrbitView v;
  v.Azimuth = azimuth;
  v.Elevation = elevation;
  v.Scale = 8;
  v.Target = {20, 20, -5};
  v.Width = 400;
  v.Height = 400;
  return v;
}

struct TPicture {
  int Width = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int x, int y) const { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
};

TPicture Render(const THeightMap& map, const TOrbitView& view) {
  TReliefRenderer renderer(map, kBottom, kFloor);
  TPicture p{view.Width, std::vector<uint32_t>(size_t(view.Width) * size_t(view.Height))};
  renderer.Render(view, p.Pixels.data());
  return p;
}

// The top view's colour of pixel (x, y): the lit cell under the pixel's centre.
uint32_t TopViewColour(const THeightMap& map, const TOrbitView& view, int x, int y) {
  const auto cell = map.CellAt(view.Target.X + (x + 0.5 - view.Width / 2.0) / view.Scale,
                               view.Target.Y - (y + 0.5 - view.Height / 2.0) / view.Scale);
  if (!cell) return TReliefRenderer::kBackground;
  const auto [i, j] = *cell;
  return 0xff000000u | ReliefColour(DepthFraction(map.At(i, j), map.Top, kFloor), CellLight(map, i, j));
}

TEST(Relief3d, FromStraightAboveItIsTheTopViewWithinAPixelOfEachEdge) {
  const THeightMap map = PocketMap();
  const TOrbitView view = View(0, 90);
  const TPicture p = Render(map, view);
  int differing = 0;
  for (int y = 1; y < view.Height - 1; ++y)
    for (int x = 1; x < view.Width - 1; ++x) {
      const uint32_t expected = TopViewColour(map, view, x, y);
      if (p.At(x, y) == expected) continue;
      ++differing;
      // Only where the top view itself changes within a pixel.
      bool nearEdge = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) nearEdge |= TopViewColour(map, view, x + dx, y + dy) != expected;
      EXPECT_TRUE(nearEdge) << x << ", " << y;
    }
  EXPECT_LT(differing, 2 * 4 * 320) << "at most a pixel's seam along the block's and the pocket's edges";
}

TEST(Relief3d, AtAnAngleTheFarWallShowsAndTheNearWallIsHidden) {
  const THeightMap map = PocketMap();
  const TOrbitView view = View(0, 45);  // looking along +Y: the wall at y = 30 faces the camera
  const TPicture p = Render(map, view);
  const int x = 200;
  const uint32_t top = p.At(x, static_cast<int>(Project(view, {20, 5, 0}).Y));
  const uint32_t floor = p.At(x, static_cast<int>(Project(view, {20, 27, kFloor}).Y));
  ASSERT_NE(top, floor);
  // The far wall: rows between the pocket floor's far edge and the top's, neither colour.
  const double wallLow = Project(view, {20, 30, kFloor}).Y, wallHigh = Project(view, {20, 30, 0}).Y;
  ASSERT_GT(wallLow - wallHigh, 20.0);
  for (int y = static_cast<int>(wallHigh) + 2; y < static_cast<int>(wallLow) - 1; ++y) {
    EXPECT_NE(p.At(x, y), top) << y;
    EXPECT_NE(p.At(x, y), floor) << y;
  }
  // Just beyond the near edge the floor shows at once, no wall between.
  const double nearEdge = Project(view, {20, 10, 0}).Y;
  EXPECT_EQ(p.At(x, static_cast<int>(nearEdge) + 8), top);
  EXPECT_EQ(p.At(x, static_cast<int>(nearEdge) - 3), floor);
}

TEST(Relief3d, AFullTurnGivesTheSamePicture) {
  const THeightMap map = PocketMap();
  TOrbitView view = View(kStartAzimuth, kStartElevation);
  const TPicture before = Render(map, view);
  for (int k = 0; k < 36; ++k) Orbit(view, 10, 0);
  EXPECT_EQ(Render(map, view).Pixels, before.Pixels);
  Orbit(view, 0, -90);
  EXPECT_EQ(view.Elevation, kLowestElevation);
  Orbit(view, 0, 200);
  EXPECT_EQ(view.Elevation, kHighestElevation);
}

TEST(Relief3d, ZoomKeepsThePointUnderThePointer) {
  TOrbitView view = View(kStartAzimuth, kStartElevation);
  const TWorldPoint corner{10, 30, kFloor};
  for (double factor : {1.25, 0.8, 3.0}) {
    const TPicturePoint before = Project(view, corner);
    ZoomAbout(view, factor, before.X, before.Y);
    const TPicturePoint after = Project(view, corner);
    EXPECT_NEAR(after.X, before.X, 1e-9) << factor;
    EXPECT_NEAR(after.Y, before.Y, 1e-9) << factor;
  }
  const TPicturePoint before = Project(view, corner);
  Pan(view, 15, -7);
  EXPECT_NEAR(Project(view, corner).X, before.X + 15, 1e-9);
  EXPECT_NEAR(Project(view, corner).Y, before.Y - 7, 1e-9);
}

TEST(Relief3d, MergedCellsKeepTheDeepestAndFollowTheZoom) {
  const THeightMap map = PocketMap();
  const THeightMap merged = MergedMap(map, 3);
  EXPECT_EQ(merged.Nx, 27);  // 80 cells in threes, the last one short
  EXPECT_EQ(merged.Cell, 1.5);
  EXPECT_EQ(merged.At(6, 6), kFloor) << "cells 18..20 reach into the pocket";
  EXPECT_EQ(merged.At(0, 0), 0.0);
  // About one cell a pixel: cells of 0.5 mm merge from 4 pixels a millimetre down.
  EXPECT_EQ(MergeFactorFor(0.5, 2.01), 1);
  EXPECT_EQ(MergeFactorFor(0.5, 1.0), 2);
  EXPECT_EQ(MergeFactorFor(0.5, 0.1), 20);
}

TEST(Section, ThroughASlotGivesItsWidthAndDepth) {
  const TStockBox box{0, 0, 40, 20, 0, 10};
  THeightMap map(box, PlanGrid(box, 0.1));
  // A slot 6 mm wide and 2 mm deep along X, centred on y = 10.
  for (int32_t j = 0; j < map.Ny; ++j)
    for (int32_t i = 0; i < map.Nx; ++i)
      if (std::fabs(map.CentreY(j) - 10) < 3) map.Z[size_t(j) * size_t(map.Nx) + size_t(i)] = -2.0f;
  const std::vector<TSectionPoint> section = SectionAlong(map, 20, -5, 20, 25);  // beyond the block at both ends
  ASSERT_FALSE(section.empty());
  EXPECT_NEAR(section.front().Distance, 5, map.Cell);
  EXPECT_NEAR(section.back().Distance, 25, map.Cell);
  double first = -1, last = -1, deepest = 0;
  for (const TSectionPoint& s : section) {
    if (s.Z < -1) {
      if (first < 0) first = s.Distance;
      last = s.Distance;
    }
    deepest = std::min(deepest, s.Z);
  }
  EXPECT_NEAR(last - first, 6, map.Cell);
  EXPECT_NEAR(deepest, -2, map.Cell);
}

}  // namespace
