// One-pixel-wide lines, ellipses and elliptic arcs written straight into a picture, for the
// millions of small objects of a program; wide pens stay with QPainter.
//
// The pixels follow the raster engine's aliased one-pixel pens: a line lights the pixels
// whose centres it crosses from its start up to, not including, its end pixel; an ellipse
// inscribed in the box (X1, Y1)-(X2, Y2) lights the pixels X1..X2 and Y1..Y2 on its outline.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

// One byte per pixel: the slot of a colour, 0 for a pixel nothing was drawn on. A picture
// of a byte per pixel stays in the processor's cache where 32-bit pixels would not.
using TRasterValue = uint8_t;

// Pixel box of an ellipse, X1 <= X2 and Y1 <= Y2.
struct TPixelBox {
  int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// Which tiles of a picture have every pixel drawn. Objects painted from the last to the
// first keep the first colour a pixel gets, so an object lying wholly in full tiles would
// change nothing: thousands of overlapping objects cost one look each instead of their pixels.
class TCoverage {
 public:
  TCoverage(int32_t width, int32_t height);
  // Marks the pixel drawn; false when it already was. A bit per pixel: the marks of a whole
  // picture stay in the processor's cache, so looking at pixels already drawn costs little.
  bool Take(int32_t x, int32_t y) {
    uint64_t& word = Drawn[size_t(y) * PixelWords + size_t(x >> 6)];
    const uint64_t bit = uint64_t{1} << (x & 63);
    if (word & bit) return false;
    word |= bit;
    const int32_t tx = x >> kTileShift, ty = y >> kTileShift;
    if (--Missing[size_t(ty) * size_t(TilesX) + size_t(tx)] == 0) {
      FullTiles[size_t(ty) * TileWords + size_t(tx >> 6)] |= uint64_t{1} << (tx & 63);
      --OpenTotal;
    }
    return true;
  }
  // Marks the pixels of `bits` in 64-bit word `word` of row y (bit b: pixel 64 * word + b)
  // drawn; returns those that were not drawn before. A row's pixels in one step, without a
  // test per pixel whose outcome the processor cannot guess.
  uint64_t TakeWord(int32_t y, size_t word, uint64_t bits) {
    uint64_t& drawn = Drawn[size_t(y) * PixelWords + word];
    const uint64_t fresh = bits & ~drawn;
    if (fresh == 0) return 0;
    drawn |= fresh;
    static_assert(kTileShift == 3, "a byte of a word is a tile's part of the row");
    const size_t ty = size_t(y >> kTileShift), firstTile = word * 8;
    uint8_t* missing = Missing.data() + ty * size_t(TilesX) + firstTile;
    for (uint64_t left = fresh; left != 0;) {
      const int tile = std::countr_zero(left) >> 3;
      const uint64_t part = left & (uint64_t{0xff} << (8 * tile));
      left ^= part;
      missing[tile] = static_cast<uint8_t>(missing[tile] - std::popcount(part));
      if (missing[tile] == 0) {
        const size_t tx = firstTile + size_t(tile);
        FullTiles[ty * TileWords + (tx >> 6)] |= uint64_t{1} << (tx & 63);
        --OpenTotal;
      }
    }
    return fresh;
  }
  bool TileFull(int32_t x, int32_t y) const {
    return Missing[size_t(y >> kTileShift) * size_t(TilesX) + size_t(x >> kTileShift)] == 0;
  }
  // Every pixel of the picture is drawn: nothing drawn under it could show.
  bool AllFull() const { return OpenTotal == 0; }
  // Every pixel of the box inside the picture is drawn (or none is inside).
  bool Full(const TPixelBox& box) const {
    const int32_t x1 = std::max(box.X1, 0), x2 = std::min(box.X2, Width - 1);
    const int32_t y1 = std::max(box.Y1, 0), y2 = std::min(box.Y2, Height - 1);
    if (x1 > x2 || y1 > y2) return true;
    const int32_t tx1 = x1 >> kTileShift, tx2 = x2 >> kTileShift;
    const size_t w1 = size_t(tx1 >> 6), w2 = size_t(tx2 >> 6);
    for (int32_t ty = y1 >> kTileShift; ty <= y2 >> kTileShift; ++ty) {
      const uint64_t* row = FullTiles.data() + size_t(ty) * TileWords;
      for (size_t w = w1; w <= w2; ++w) {
        uint64_t want = ~uint64_t{0};
        if (w == w1) want &= ~uint64_t{0} << (tx1 & 63);
        if (w == w2) want &= ~uint64_t{0} >> (63 - (tx2 & 63));
        if ((row[w] & want) != want) return false;
      }
    }
    return true;
  }
  // Back to nothing drawn.
  void Clear();

  static constexpr int kTileShift = 3;  // tiles of 8 x 8 pixels

 private:
  int32_t Width, Height, TilesX, TilesY;
  size_t PixelWords, TileWords;     // 64-bit words per row of pixels and per row of tiles
  std::vector<uint64_t> Drawn;      // a bit per pixel
  std::vector<uint8_t> Missing;     // pixels of each tile not drawn yet
  std::vector<uint64_t> FullTiles;  // a bit per tile wholly drawn, so that a box is a few words
  size_t OpenTotal = 0;             // tiles of the picture not wholly drawn
  std::vector<uint8_t> EmptyMissing;
};

struct TRasterTarget {
  TRasterValue* Bits = nullptr;
  int32_t Stride = 0;  // pixels per row
  int32_t Width = 0;
  int32_t Height = 0;
  // Set: pixels keep the first colour they get (drawing backwards) and are marked here.
  TCoverage* Coverage = nullptr;

  void Set(int32_t x, int32_t y, TRasterValue colour) const {
    if (static_cast<uint32_t>(x) >= static_cast<uint32_t>(Width) ||
        static_cast<uint32_t>(y) >= static_cast<uint32_t>(Height))
      return;
    SetInside(x, y, colour);
  }
  // A pixel known to be inside the picture.
  void SetInside(int32_t x, int32_t y, TRasterValue colour) const {
    if (!Coverage || Coverage->Take(x, y)) Bits[static_cast<int64_t>(y) * Stride + x] = colour;
  }
  // The pixels x + b of row y for the set bits b of `bits`, those outside the picture left out.
  void SetRow(int32_t y, int64_t x, uint64_t bits, TRasterValue colour) const {
    if (static_cast<uint32_t>(y) >= static_cast<uint32_t>(Height)) return;
    if (x < 0) {
      if (x <= -64) return;
      bits >>= -x;
      x = 0;
    }
    if (const int64_t room = Width - x; room < 64) {
      if (room <= 0) return;
      bits &= (uint64_t{1} << room) - 1;
    }
    const auto word = static_cast<size_t>(x >> 6);
    const int shift = static_cast<int>(x & 63);
    SetWord(y, word, bits << shift, colour);
    if (shift != 0) SetWord(y, word + 1, bits >> (64 - shift), colour);
  }

 private:
  void SetWord(int32_t y, size_t word, uint64_t bits, TRasterValue colour) const {
    if (bits == 0) return;
    if (Coverage) bits = Coverage->TakeWord(y, word, bits);
    TRasterValue* row = Bits + static_cast<int64_t>(y) * Stride + static_cast<int64_t>(word * 64);
    for (; bits != 0; bits &= bits - 1) row[std::countr_zero(bits)] = colour;
  }
};

// Pen pattern along a line, in pixel steps.
enum class TLinePattern : uint8_t { Solid, DashDot };

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
  // The least and greatest offsets of a run of an outline's pixels.
  struct TRunBox {
    TOffset Min, Max;
  };
  // The outline in angular order and, for wider ones, the boxes of its runs of 8, 64 and
  // 512 pixels: the outline of a large circle that leaves the picture is walked only where
  // it is inside, and drawing backwards only where the tiles under it are still open.
  static constexpr int kLevels = 3;
  static constexpr size_t kRun[kLevels] = {8, 64, 512};
  struct TOutline {
    std::vector<TOffset> Pixels;
    std::vector<TRunBox> Runs[kLevels];
    // Outlines at most kRowBits wide: the pixels of each row as bits, drawn a row at a time.
    std::vector<uint64_t> Rows;
  };
  static constexpr int32_t kRowBits = 64;
  // Draws the pixels i..end of a narrow outline placed at the box a row at a time.
  static void PutRows(const TRasterTarget& t, const TOutline& outline, const TPixelBox& box, TRasterValue colour,
                      size_t i, size_t end);
  // Boxes below this width whose height differs by at most one pixel (circles, as both
  // axes share one scale), up to this many outline pixels in all.
  static constexpr int32_t kCachedSize = 4096;
  static constexpr size_t kCachedPixels = size_t{1} << 22;
  struct TOutlineRuns;
  // Null when the box is not cached and cannot be.
  const TOutline* Outline(int32_t w, int32_t h);
  std::vector<int32_t> Slot;  // by width and height - width: place in Outlines, or -1
  std::vector<TOutline> Outlines;
  size_t OutlinePixels = 0;
};
