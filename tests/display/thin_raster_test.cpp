#include "display/thin_raster.h"

#include <gtest/gtest.h>

#include <string>
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
      {{8, 4, 0, 4}, {"...###...", "..#...#..", ".#.....#.", "#.......#", "#.......#", ".........", ".........", ".........", "........."}},
      // From the left round the bottom to the right: the lower half.
      {{0, 4, 8, 4}, {".........", ".........", ".........", ".........", "#.......#", "#.......#", ".#.....#.", "..#...#..", "...###..."}},
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

}  // namespace
