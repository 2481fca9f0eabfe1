#include "display/thin_raster.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr TRasterValue kOn = 1;

// A small picture as rows of '#' and '.'.
struct TPicture {
  TPicture(int32_t w, int32_t h) : Pixels(size_t(w) * h, 0), Target{Pixels.data(), w, w, h} {}
  std::string Row(int32_t y) const {
    std::string s;
    for (int32_t x = 0; x < Target.Width; ++x) s += Pixels[size_t(y) * Target.Width + x] ? '#' : '.';
    return s;
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < Target.Height; ++y) rows.push_back(Row(y));
    return rows;
  }
  std::vector<TRasterValue> Pixels;
  TRasterTarget Target;
};

TEST(ThinRaster, LinesLightTheCrossedPixelsWithoutTheEndPixel) {
  TPicture p(12, 7);
  RasterLine(p.Target, 2, 2, 10, 5, kOn, TLinePattern::Solid);  // as the raster engine draws it
  EXPECT_EQ(p.Rows(), (std::vector<std::string>{"............", "............", "..###.......", ".....##.....",
                                                ".......###..", "............", "............"}));
  TPicture dot(4, 4);
  RasterLine(dot.Target, 1, 2, 1, 2, kOn, TLinePattern::Solid);  // within one pixel: that pixel
  EXPECT_EQ(dot.Row(2), ".#..");
}

TEST(ThinRaster, DashDotRepeatsEveryNinePixels) {
  TPicture p(24, 1);
  RasterLine(p.Target, 0, 0, 24, 0, kOn, TLinePattern::DashDot);
  EXPECT_EQ(p.Row(0), "####..#..####..#..####..");
}

TEST(ThinRaster, LinesLeavingThePictureKeepTheirPixelsInside) {
  // The same line in a large picture and through a small one that shows its middle.
  TPicture large(400, 300), small(40, 30);
  RasterLine(large.Target, -7, 3, 391, 287, kOn, TLinePattern::DashDot);
  RasterLine(small.Target, -7 - 180, 3 - 140, 391 - 180, 287 - 140, kOn, TLinePattern::DashDot);
  for (int32_t y = 0; y < 30; ++y) EXPECT_EQ(small.Row(y), large.Row(y + 140).substr(180, 40)) << y;
  TPicture far(10, 10);
  RasterLine(far.Target, -2'000'000, 5, 2'000'000, 5, kOn, TLinePattern::Solid);
  EXPECT_EQ(far.Row(5), "##########");
}

TEST(ThinRaster, SmallEllipsesFollowTheRasterEngine) {
  struct {
    TPixelBox Box;
    std::vector<std::string> Rows;
  } cases[] = {
      {{1, 1, 1, 1}, {".....", ".....", ".....", ".....", "....."}},  // an empty box draws nothing
      {{1, 1, 2, 2}, {".....", ".##..", ".##..", ".....", "....."}},
      {{1, 1, 3, 3}, {".....", "..#..", ".#.#.", "..#..", "....."}},
      {{0, 0, 4, 4}, {".###.", "#...#", "#...#", "#...#", ".###."}},
  };
  for (const auto& c : cases) {
    TPicture p(5, 5);
    TEllipseRaster raster;
    raster.Draw(p.Target, c.Box, kOn, nullptr);
    EXPECT_EQ(p.Rows(), c.Rows) << c.Box.X2 - c.Box.X1;
  }
}

TEST(ThinRaster, ArcsRunCounterClockwiseBetweenTheirRadials) {
  const TPixelBox box{0, 0, 8, 8};  // centre (4, 4)
  struct {
    TArcRadials Radials;
    std::vector<std::string> Rows;
  } cases[] = {
      // From the right round the top to the left: the upper half.
      {{8, 4, 0, 4},
       {"...###...", "..#...#..", ".#.....#.", "#.......#", "#.......#", ".........", ".........", ".........",
        "........."}},
      // From the left round the bottom to the right: the lower half.
      {{0, 4, 8, 4},
       {".........", ".........", ".........", ".........", "#.......#", "#.......#", ".#.....#.", "..#...#..",
        "...###..."}},
  };
  for (const auto& c : cases) {
    TPicture p(9, 9);
    TEllipseRaster raster;
    raster.Draw(p.Target, box, kOn, &c.Radials);
    EXPECT_EQ(p.Rows(), c.Rows);
  }
  // Radials in one direction: the whole ellipse, small or beyond the cached sizes.
  for (int32_t size : {8, 5000}) {
    TPicture whole(9, 9), arc(9, 9);
    const TPixelBox b{0, 0, size, size};
    TEllipseRaster raster;
    raster.Draw(whole.Target, b, kOn, nullptr);
    const TArcRadials same{size, size / 2, size + 7, size / 2};
    raster.Draw(arc.Target, b, kOn, &same);
    EXPECT_EQ(arc.Rows(), whole.Rows()) << size;
  }
}

// A tile is full only when every one of its pixels inside the picture is drawn; boxes
// wholly outside the picture count as full.
TEST(ThinRaster, CoverageIsFullOnlyWhenEveryPixelOfTheBoxIsDrawn) {
  struct {
    const char* What;
    int32_t DrawnWidth, DrawnHeight;  // pixels drawn from the top-left corner
    TPixelBox Box;
    bool Full;
  } cases[] = {
      {"nothing drawn", 0, 0, {0, 0, 3, 3}, false},
      {"one tile drawn", 8, 8, {0, 0, 7, 7}, true},
      {"one pixel short of the tile", 8, 7, {2, 2, 3, 3}, false},
      {"box reaching the next tile", 8, 8, {4, 4, 8, 7}, false},
      {"cut tiles at the edges", 21, 13, {0, 0, 20, 12}, true},
      {"box beyond the picture", 21, 13, {-50, -50, 90, 90}, true},
      {"box wholly outside", 0, 0, {30, 0, 40, 5}, true},
      {"large box, one pixel missing", 20, 13, {0, 0, 20, 12}, false},
  };
  for (const auto& c : cases) {
    TPicture p(21, 13);
    TCoverage coverage(21, 13);
    p.Target.Coverage = &coverage;
    for (int32_t y = 0; y < c.DrawnHeight; ++y)
      for (int32_t x = 0; x < c.DrawnWidth; ++x) p.Target.Set(x, y, kOn);
    EXPECT_EQ(coverage.Full(c.Box), c.Full) << c.What;
    coverage.Clear();
    EXPECT_EQ(coverage.Full({0, 0, 20, 12}), false) << c.What;
  }
}

TEST(ThinRaster, CountedPixelsKeepTheirFirstColour) {
  TPicture p(4, 1);
  TCoverage coverage(4, 1);
  p.Target.Coverage = &coverage;
  p.Target.Set(1, 0, 2);
  p.Target.Set(1, 0, 3);
  p.Target.Set(2, 0, 3);
  EXPECT_EQ(p.Pixels, (std::vector<TRasterValue>{0, 2, 3, 0}));
  p.Target.Coverage = nullptr;  // without coverage the last colour wins
  p.Target.Set(1, 0, 3);
  EXPECT_EQ(p.Pixels[1], 3);
}

// Circles of the cached sizes that lie mostly outside a small picture light there exactly
// the pixels they light in the same place of a picture large enough to hold them.
TEST(ThinRaster, LargeCirclesMostlyOutsideThePictureKeepTheirVisiblePixels) {
  for (const TPixelBox& box : {TPixelBox{0, 0, 3000, 3000}, TPixelBox{0, 0, 4095, 4094}, TPixelBox{0, 0, 600, 601}}) {
    const int32_t size = box.X2 + 1;
    for (const auto& [x0, y0] : {std::pair{0, size / 2 - 20}, std::pair{size / 3, 0}, std::pair{size - 50, size / 2}}) {
      TPicture small(60, 40);
      TEllipseRaster raster;
      raster.Draw(small.Target, {box.X1 - x0, box.Y1 - y0, box.X2 - x0, box.Y2 - y0}, kOn, nullptr);
      std::vector<TRasterValue> large(size_t(size) * size_t(size), 0);
      raster.Draw({large.data(), size, size, size}, box, kOn, nullptr);
      for (int32_t y = 0; y < 40; ++y) {
        std::string row;
        for (int32_t x = 0; x < 60; ++x) {
          const int32_t lx = x + x0, ly = y + y0;
          row += lx < size && ly < size && large[size_t(ly) * size_t(size) + size_t(lx)] ? '#' : '.';
        }
        EXPECT_EQ(small.Row(y), row) << size << " at " << x0 << ", " << y0 << " row " << y;
      }
    }
  }
}

// Outlines narrow enough to be drawn a row at a time (up to 64 pixels across), cut by each
// edge of the picture or just outside it, light there what they light in a picture that
// holds them whole; whole circles and arcs, one wider than the row limit for comparison.
TEST(ThinRaster, NarrowOutlinesCutByThePictureKeepTheirVisiblePixels) {
  constexpr int32_t kW = 70, kH = 50, kMargin = 80;
  const TArcRadials radials[] = {{100, 0, 0, 0}, {40, 100, 0, 0}, {0, 0, 100, 0}};  // quarter, half, across +X
  for (const int32_t size : {2, 17, 62, 63, 64, 65}) {
    TEllipseRaster raster;
    const int32_t places[] = {-size - 1, -size, -size + 1, -size / 2, -1, 0, kW / 2, kW - size / 2, kW - 1, kW};
    for (const int32_t x0 : places)
      for (const int32_t y0 : {-size / 2, kH / 3, kH - size / 3, kH}) {
        const TPixelBox box{x0, y0, x0 + size - 1, y0 + size};
        for (int arc = -1; arc < 3; ++arc) {
          const TArcRadials* r = nullptr;
          TArcRadials placed;
          if (arc >= 0) {
            const int32_t cx = x0 + size / 2, cy = y0 + size / 2;
            placed = {cx + radials[arc].X3 - 50, cy + radials[arc].Y3 - 50, cx + radials[arc].X4 - 50,
                      cy + radials[arc].Y4 - 50};
            r = &placed;
          }
          TPicture small(kW, kH);
          raster.Draw(small.Target, box, kOn, r);
          const int32_t side = kW + 2 * kMargin;
          std::vector<TRasterValue> large(size_t(side) * size_t(side), 0);
          const TArcRadials shifted{placed.X3 + kMargin, placed.Y3 + kMargin, placed.X4 + kMargin, placed.Y4 + kMargin};
          raster.Draw({large.data(), side, side, side},
                      {box.X1 + kMargin, box.Y1 + kMargin, box.X2 + kMargin, box.Y2 + kMargin}, kOn,
                      r ? &shifted : nullptr);
          for (int32_t y = 0; y < kH; ++y) {
            std::string row;
            for (int32_t x = 0; x < kW; ++x) row += large[size_t(y + kMargin) * side + size_t(x + kMargin)] ? '#' : '.';
            ASSERT_EQ(small.Row(y), row) << size << " at " << x0 << ", " << y0 << " arc " << arc << " row " << y;
          }
        }
      }
  }
}

// Lines cut to the picture on both axes light there exactly what the whole line lights in a
// picture that holds all of it, in every direction and slope, solid and dash-dot.
TEST(ThinRaster, LinesCutToThePictureKeepEveryPixelInside) {
  constexpr int32_t kSmall = 40, kLarge = 1000, kOffset = 480;  // the small picture's place in the large one
  std::mt19937 random(7);
  std::uniform_int_distribution<int32_t> coordinate(-kOffset, kLarge - kOffset - 1);
  std::vector<TRasterValue> large(size_t(kLarge) * kLarge);
  for (int k = 0; k < 400; ++k) {
    const int32_t x1 = coordinate(random), y1 = coordinate(random);
    // Some end inside or beside the small picture, some far beyond it.
    const int32_t x2 = k % 3 == 0 ? x1 + coordinate(random) % 7 : coordinate(random);
    const int32_t y2 = k % 5 == 0 ? y1 : coordinate(random);
    const TLinePattern pattern = k % 2 ? TLinePattern::DashDot : TLinePattern::Solid;
    TPicture small(kSmall, kSmall);
    RasterLine(small.Target, x1, y1, x2, y2, kOn, pattern);
    std::fill(large.begin(), large.end(), 0);
    RasterLine({large.data(), kLarge, kLarge, kLarge}, x1 + kOffset, y1 + kOffset, x2 + kOffset, y2 + kOffset, kOn,
               pattern);
    for (int32_t y = 0; y < kSmall; ++y) {
      std::string row;
      for (int32_t x = 0; x < kSmall; ++x) row += large[size_t(y + kOffset) * kLarge + size_t(x + kOffset)] ? '#' : '.';
      ASSERT_EQ(small.Row(y), row) << "line " << x1 << "," << y1 << " - " << x2 << "," << y2 << " row " << y;
    }
  }
}

// Lines from one end of the coordinate range to the other still light, inside the picture,
// the pixel whose centre each step crosses: step i of n along the major axis moves the minor
// coordinate by floor((2i + 1) a / 2n), a the minor extent.
TEST(ThinRaster, LinesAcrossTheWholeCoordinateRangeKeepTheirSteps) {
  constexpr int32_t kMin = INT32_MIN, kMax = INT32_MAX;
  struct TCase {
    int32_t X1, Y1, X2, Y2;
  } const cases[] = {
      {kMin, -1'000'000'000, kMax, 1'000'000'000},  // flat, rising through the picture
      {kMax, 2'000'000'000, kMin, -2'000'000'000},  // flat, drawn backwards
      {-1'000'000'000, kMin, 1'000'000'000, kMax},  // steep
      {kMin, 5, kMax, 6},                           // almost level
      {kMin, kMax, kMax, kMin},                     // the whole range both ways
  };
  constexpr int32_t kSize = 64;
  for (const TCase& c : cases) {
    TPicture p(kSize, kSize);
    RasterLine(p.Target, c.X1, c.Y1, c.X2, c.Y2, kOn, TLinePattern::Solid);
    const int64_t dx = int64_t{c.X2} - c.X1, dy = int64_t{c.Y2} - c.Y1;
    const bool flat = std::llabs(dx) >= std::llabs(dy);
    const int64_t n = flat ? std::llabs(dx) : std::llabs(dy), a = flat ? std::llabs(dy) : std::llabs(dx);
    const int64_t majorStart = flat ? c.X1 : c.Y1, minorStart = flat ? c.Y1 : c.X1;
    const int64_t majorStep = (flat ? dx : dy) > 0 ? 1 : -1, minorStep = (flat ? dy : dx) >= 0 ? 1 : -1;
    std::vector<TRasterValue> expected(size_t(kSize) * kSize, 0);
    for (int64_t major = 0; major < kSize; ++major) {
      const int64_t i = (major - majorStart) * majorStep;
      const auto q = static_cast<int64_t>(static_cast<__int128>(2 * i + 1) * a / (2 * n));
      const int64_t minor = minorStart + minorStep * q;
      if (minor < 0 || minor >= kSize) continue;
      expected[size_t(flat ? minor * kSize + major : major * kSize + minor)] = kOn;
    }
    EXPECT_EQ(p.Pixels, expected) << c.X1 << "," << c.Y1 << " - " << c.X2 << "," << c.Y2;
  }
}

// Counter-clockwise order of directions (Y up) from +X, the upper half-plane first.
bool TurnsBefore(int64_t ax, int64_t ay, int64_t bx, int64_t by) {
  const bool lowerA = ay < 0 || (ay == 0 && ax < 0), lowerB = by < 0 || (by == 0 && bx < 0);
  if (lowerA != lowerB) return lowerB;
  return ax * by - ay * bx > 0;
}

// An arc of a cached circle lights the pixels of the whole circle whose direction from the
// centre lies from the first radial counter-clockwise to the second, both included: for
// small and large circles and radials all round.
TEST(ThinRaster, CachedArcsLightTheirSectorOfTheCircle) {
  std::mt19937 random(11);
  for (const int32_t size : {6, 37, 400, 2001, 4000}) {
    const TPixelBox box{-size / 2 + 20, -size / 2 + 15, size - size / 2 + 20, size - size / 2 + 15};  // about (20, 15)
    TPicture whole(40, 30);
    TEllipseRaster raster;
    raster.Draw(whole.Target, box, kOn, nullptr);
    std::uniform_int_distribution<int32_t> spread(-3 * size, 3 * size);
    for (int k = 0; k < 60; ++k) {
      const TArcRadials radials{20 + spread(random), 15 + spread(random), 20 + spread(random), 15 + spread(random)};
      if (radials.X3 == radials.X4 && radials.Y3 == radials.Y4) continue;
      TPicture arc(40, 30);
      raster.Draw(arc.Target, box, kOn, &radials);
      // Doubled offsets from the centre with Y up, as the raster measures them.
      const int64_t sx = int64_t{box.X1} + box.X2, sy = int64_t{box.Y1} + box.Y2;
      const auto direction = [&](int64_t x, int64_t y) { return std::pair{2 * x - sx, sy - 2 * y}; };
      const auto [ax, ay] = direction(radials.X3, radials.Y3);
      const auto [bx, by] = direction(radials.X4, radials.Y4);
      for (int32_t y = 0; y < 30; ++y) {
        std::string row;
        for (int32_t x = 0; x < 40; ++x) {
          const auto [px, py] = direction(x, y);
          const bool afterStart = !TurnsBefore(px, py, ax, ay), beforeEnd = !TurnsBefore(bx, by, px, py);
          const bool inSector = TurnsBefore(bx, by, ax, ay) ? (afterStart || beforeEnd) : (afterStart && beforeEnd);
          row += whole.Pixels[size_t(y) * 40 + size_t(x)] && inSector ? '#' : '.';
        }
        ASSERT_EQ(arc.Row(y), row) << "size " << size << " radials " << radials.X3 << "," << radials.Y3 << " "
                                   << radials.X4 << "," << radials.Y4 << " row " << y;
      }
    }
  }
}

// Drawing backwards over a picture with some tiles wholly drawn: pixels drawn before keep
// their colour, and every other pixel the shape lights gets it, however much of the shape
// is passed over in covered tiles.
TEST(ThinRaster, ShapesOverCoveredTilesLightEveryOpenPixel) {
  constexpr int32_t kW = 64, kH = 48;
  constexpr TRasterValue kBefore = 1, kShape = 2;
  const auto drawShape = [](const TRasterTarget& t, int shape, TEllipseRaster& raster) {
    const TArcRadials radials{70, 0, -10, 40};
    switch (shape) {
      case 0: RasterLine(t, -5, 3, 70, 41, kShape, TLinePattern::Solid); break;
      case 1: RasterLine(t, 60, -9, 5, 50, kShape, TLinePattern::DashDot); break;
      case 2: raster.Draw(t, {2, 1, 60, 59}, kShape, nullptr); break;
      case 3: raster.Draw(t, {-300, -280, 340, 360}, kShape, &radials); break;
      case 4: raster.Draw(t, {3, 2, 44, 43}, kShape, &radials); break;  // a narrow arc across +X
    }
  };
  for (int shape = 0; shape < 5; ++shape) {
    TEllipseRaster raster;
    TPicture alone(kW, kH);
    drawShape(alone.Target, shape, raster);
    TPicture p(kW, kH);
    TCoverage coverage(kW, kH);
    p.Target.Coverage = &coverage;
    // Whole tiles in a chequer, and single pixels in the open tiles.
    for (int32_t y = 0; y < kH; ++y)
      for (int32_t x = 0; x < kW; ++x)
        if (((x >> 3) + (y >> 3)) % 2 == 0 || (x * 7 + y * 3) % 11 == 0) p.Target.Set(x, y, kBefore);
    const std::vector<TRasterValue> before = p.Pixels;
    drawShape(p.Target, shape, raster);
    for (size_t i = 0; i < p.Pixels.size(); ++i) {
      const TRasterValue expected = before[i] ? before[i] : alone.Pixels[i];
      ASSERT_EQ(p.Pixels[i], expected) << "shape " << shape << " pixel " << i % kW << ", " << i / kW;
    }
  }
}

TEST(ThinRaster, CoverageKnowsWhenTheWholePictureIsDrawn) {
  TPicture p(13, 9);  // tiles cut at the right and bottom edges
  TCoverage coverage(13, 9);
  p.Target.Coverage = &coverage;
  for (int32_t y = 0; y < 9; ++y)
    for (int32_t x = 0; x < 13; ++x)
      if (x != 12 || y != 8) p.Target.Set(x, y, kOn);
  EXPECT_FALSE(coverage.AllFull()) << "one pixel short";
  p.Target.Set(12, 8, kOn);
  EXPECT_TRUE(coverage.AllFull());
  coverage.Clear();
  EXPECT_FALSE(coverage.AllFull());
}

}  // namespace
