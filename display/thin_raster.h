// One-pixel-wide lines, ellipses and elliptic arcs written straight into a picture, for the
// millions of small objects of a program; wide pens stay with QPainter.
//
// The pixels follow the raster engine's aliased one-pixel pens: a line lights the pixels
// whose centres it crosses from its start up to, not including, its end pixel; an ellipse
// inscribed in the box (X1, Y1)-(X2, Y2) lights the pixels X1..X2 and Y1..Y2 on its outline.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// One byte per pixel: the slot of a colour, 0 for a pixel nothing was drawn on. A picture
// of a byte per pixel stays in the processor's cache where 32-bit pixels would not.
using TRasterValue = uint8_t;

struct TRasterTarget {
  TRasterValue* Bits = nullptr;
  int32_t Stride = 0;  // pixels per row
  int32_t Width = 0;
  int32_t Height = 0;

  void Set(int32_t x, int32_t y, TRasterValue colour) const {
    if (static_cast<uint32_t>(x) < static_cast<uint32_t>(Width) && static_cast<uint32_t>(y) < static_cast<uint32_t>(Height))
      Bits[static_cast<int64_t>(y) * Stride + x] = colour;
  }
};

// Pen pattern along a line, in pixel steps.
enum class TLinePattern : uint8_t { Solid, DashDot };

// Pixel box of an ellipse, X1 <= X2 and Y1 <= Y2.
struct TPixelBox {
  int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// The two radials of an arc, as pixels they pass through; the arc runs counter-clockwise
// on the screen from the first to the second (equal directions: the whole ellipse).
struct TArcRadials {
  int32_t X3 = 0, Y3 = 0, X4 = 0, Y4 = 0;
};

void RasterLine(const TRasterTarget& t, int32_t x1, int32_t y1, int32_t x2, int32_t y2, TRasterValue colour,
                TLinePattern pattern);

// Ellipse outlines: those of boxes up to kCachedSize pixels are computed once per size and
// kept in angular order, so an arc is a run of them; larger ones are computed for their
// visible part only.
class TEllipseRaster {
 public:
  // Whole ellipse, or only the pixels between the radials when `radials` is given.
  void Draw(const TRasterTarget& t, const TPixelBox& box, TRasterValue colour, const TArcRadials* radials);

 private:
  struct TOffset {
    int16_t X, Y;
  };
  // Boxes below this width whose height differs by at most one pixel (circles, as both
  // axes share one scale), up to this many outline pixels in all.
  static constexpr int32_t kCachedSize = 4096;
  static constexpr size_t kCachedPixels = size_t{1} << 22;
  // Null when the box is not cached and cannot be.
  const std::vector<TOffset>* Outline(int32_t w, int32_t h);
  std::vector<int32_t> Slot;  // by width and height - width: place in Outlines, or -1
  std::vector<std::vector<TOffset>> Outlines;
  size_t OutlinePixels = 0;
};
