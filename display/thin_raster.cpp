#include "display/thin_raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <optional>
#include <utility>

namespace {

// Dash-dot in pixel steps: a dash of 4, a gap of 2, a dot, a gap of 2.
constexpr int32_t kDashDotPeriod = 9;
bool DashDotLit(int32_t phase) { return phase < 4 || phase == 6; }

int32_t RoundHalfUp(double v) { return static_cast<int32_t>(std::floor(v + 0.5)); }

// One side of an ellipse's outline, walked along axis a (columns or rows): the other
// coordinate is b = cb + side * r2 * sqrt(1 - ((a - ca) / r1)^2). Only where the outline is
// flatter than 45 degrees along a (the other walk takes the rest) and b falls in bLo..bHi,
// so the work follows the visible part, not the size.
template <typename Plot>
void OutlineSide(double ca, double cb, double r1, double r2, int side, int32_t aLo, int32_t aHi, int32_t bLo,
                 int32_t bHi, Plot plot) {
  const double r1s = r1 * r1, r2s = r2 * r2;
  const double turn = r1s / std::sqrt(r1s + r2s) + 1;
  double vLo = side < 0 ? cb - bHi - 0.5 : bLo - cb - 0.5;
  double vHi = side < 0 ? cb - bLo + 0.5 : bHi - cb + 0.5;
  vLo = std::max(vLo, 0.0);
  vHi = std::min(vHi, r2);
  if (vLo > vHi) return;
  const auto across = [&](double v) {
    const double t = 1.0 - (v / r2) * (v / r2);
    return t > 0.0 ? r1 * std::sqrt(t) : 0.0;
  };
  const double uMin = std::max(0.0, across(vHi) - 1), uMax = std::min(turn, across(vLo) + 1);
  if (uMin > uMax) return;
  const auto walk = [&](double from, double to) {
    const auto lo = static_cast<int32_t>(std::clamp(std::floor(from), double(aLo), double(aHi) + 1));
    const auto hi = static_cast<int32_t>(std::clamp(std::ceil(to), double(aLo) - 1, double(aHi)));
    for (int32_t a = lo; a <= hi; ++a) {
      const double u = a - ca, t = 1.0 - (u * u) / r1s;
      if (t < 0.0) continue;
      const double v = r2 * std::sqrt(t);
      if (r2s * std::fabs(u) > r1s * v) continue;  // steeper here: the other walk takes it
      plot(a, RoundHalfUp(cb + side * v));
    }
  };
  if (2 * uMin <= 1) {
    walk(ca - uMax, ca + uMax);
  } else {
    walk(ca - uMax, ca - uMin);
    walk(ca + uMin, ca + uMax);
  }
}

// Outline pixels of the ellipse inscribed in the box that fall in the columns colLo..colHi
// and rows rowLo..rowHi: one pixel per column where the outline is flat, one per row where
// it is steep.
template <typename Plot>
void EllipseOutline(const TPixelBox& b, int32_t colLo, int32_t colHi, int32_t rowLo, int32_t rowHi, Plot plot) {
  const int64_t w = int64_t{b.X2} - b.X1, h = int64_t{b.Y2} - b.Y1;
  if (w == 0 && h == 0) return;  // the raster engine draws nothing for an empty box
  if (w <= 1 || h <= 1) {        // too thin for an outline: the whole box
    for (int32_t y = std::max(b.Y1, rowLo); y <= std::min(b.Y2, rowHi); ++y)
      for (int32_t x = std::max(b.X1, colLo); x <= std::min(b.X2, colHi); ++x) plot(x, y);
    return;
  }
  const double cx = (double(b.X1) + b.X2) / 2, cy = (double(b.Y1) + b.Y2) / 2;
  const double rx = w / 2.0, ry = h / 2.0;
  const auto columns = [&](int32_t x, int32_t y) { plot(x, y); };
  const auto rows = [&](int32_t y, int32_t x) { plot(x, y); };
  for (int side : {-1, 1}) {
    OutlineSide(cx, cy, rx, ry, side, colLo, colHi, rowLo, rowHi, columns);
    OutlineSide(cy, cx, ry, rx, side, rowLo, rowHi, colLo, colHi, rows);
  }
}

// Angular order counter-clockwise from +X of vectors with Y up, without angles: the upper
// half-plane first, then by cross product.
bool AngleBefore(int64_t ax, int64_t ay, int64_t bx, int64_t by) {
  const bool lowerA = ay < 0 || (ay == 0 && ax < 0), lowerB = by < 0 || (by == 0 && bx < 0);
  if (lowerA != lowerB) return lowerB;
  return ax * by - ay * bx > 0;
}

// Roughly where the direction (x, y) (Y up) falls in the angular order of a circle's outline
// of n pixels: each eighth of a turn holds as many pixels, spread as the sine (one pixel per
// row where the outline is steep, per column where it is flat). SIZE_MAX for small outlines.
size_t PlaceOnCircle(size_t n, int64_t x, int64_t y) {
  constexpr size_t kSmall = 128;  // a search over a few cache lines costs less than the root
  if (n <= kSmall || (x == 0 && y == 0)) return SIZE_MAX;
  // Within its quarter, the direction's parts along the quarter's first axis and the next.
  const int quarter = y >= 0 ? (x > 0 ? 0 : 1) : (x < 0 ? 2 : 3);
  const double fx = static_cast<double>(x), fy = static_cast<double>(y);
  const double along[4] = {fx, fy, -fx, -fy}, across[4] = {fy, -fx, -fy, fx};
  const double u = along[quarter], v = across[quarter], length = std::sqrt(fx * fx + fy * fy);
  // The sine of the angle from the eighth's first axis, as a share of the sine of an eighth.
  const bool second = v >= u;
  const double within = second ? 1 - u / length * std::numbers::sqrt2 : v / length * std::numbers::sqrt2;
  const double eighths = 2 * quarter + (second ? 1 : 0) + within;
  return static_cast<size_t>(std::clamp(eighths * static_cast<double>(n) / 8, 0.0, static_cast<double>(n)));
}

// The first i in [0, n) where `holds` turns false (it holds up to some place, then never),
// looked for near `guess` first (SIZE_MAX: no guess): large outlines are far apart in
// memory, and a search over all of one waits for memory at every step.
template <typename Holds>
size_t PartitionNear(size_t n, size_t guess, Holds holds) {
  constexpr size_t kWindow = 16;
  size_t lo = 0, hi = n;
  if (guess != SIZE_MAX) {
    lo = guess > kWindow ? guess - kWindow : 0;
    hi = std::min(n, guess + kWindow);
    if ((lo > 0 && !holds(lo - 1)) || (hi < n && holds(hi))) {  // not near the guess
      lo = 0;
      hi = n;
    }
  }
  while (lo < hi) {
    const size_t mid = lo + (hi - lo) / 2;
    if (holds(mid)) lo = mid + 1;
    else hi = mid;
  }
  return lo;
}

// Which pixels of an ellipse belong to the arc: vectors from the centre in doubled pixel
// units with Y up, tested against the two radials by cross products (no angles).
struct TSector {
  TSector(const TPixelBox& b, const TArcRadials& r) {
    const int64_t sx = int64_t{b.X1} + b.X2, sy = int64_t{b.Y1} + b.Y2;
    Ax = 2 * int64_t{r.X3} - sx;
    Ay = sy - 2 * int64_t{r.Y3};
    Bx = 2 * int64_t{r.X4} - sx;
    By = sy - 2 * int64_t{r.Y4};
    Shorten(Ax, Ay);
    Shorten(Bx, By);
    const int64_t cross = Ax * By - Ay * Bx;
    Whole = cross == 0 && Ax * Bx + Ay * By > 0;  // same direction: all the way round
    Wide = cross < 0;                             // more than half a turn
  }
  // (vx, vy): the pixel's doubled offset from the centre, Y up.
  bool Contains(int64_t vx, int64_t vy) const {
    if (Whole) return true;
    const bool afterStart = Ax * vy - Ay * vx >= 0, beforeEnd = vx * By - vy * Bx >= 0;
    return Wide ? (afterStart || beforeEnd) : (afterStart && beforeEnd);
  }

  // Pixel bounds of the arc on the ellipse inscribed in b: its two ends and the points of
  // the four axis directions it passes, one pixel wider for rounding.
  TPixelBox Bounds(const TPixelBox& b) const {
    if (Whole) return b;
    const double cx = (double(b.X1) + b.X2) / 2, cy = (double(b.Y1) + b.Y2) / 2;
    const double rx = std::max((double(b.X2) - b.X1) / 2, 0.5), ry = std::max((double(b.Y2) - b.Y1) / 2, 0.5);
    double x1 = INFINITY, x2 = -INFINITY, y1 = INFINITY, y2 = -INFINITY;
    const auto take = [&](double x, double y) {
      x1 = std::min(x1, x);
      x2 = std::max(x2, x);
      y1 = std::min(y1, y);
      y2 = std::max(y2, y);
    };
    for (const auto& [dx, dy] : {std::pair{Ax, Ay}, std::pair{Bx, By}}) {
      const double ux = dx / rx, uy = dy / ry, t = 1.0 / std::sqrt(ux * ux + uy * uy);
      take(cx + dx * t, cy - dy * t);
    }
    if (Contains(1, 0)) take(b.X2, cy);
    if (Contains(0, 1)) take(cx, b.Y1);
    if (Contains(-1, 0)) take(b.X1, cy);
    if (Contains(0, -1)) take(cx, b.Y2);
    return {static_cast<int32_t>(std::max<double>(b.X1, std::floor(x1) - 1)),
            static_cast<int32_t>(std::max<double>(b.Y1, std::floor(y1) - 1)),
            static_cast<int32_t>(std::min<double>(b.X2, std::ceil(x2) + 1)),
            static_cast<int32_t>(std::min<double>(b.Y2, std::ceil(y2) + 1))};
  }

  // A radial point at the centre points along +X; far-away ones keep only their direction,
  // so that the products stay within 64 bits.
  static void Shorten(int64_t& x, int64_t& y) {
    if (x == 0 && y == 0) x = 1;
    constexpr int64_t kLimit = int64_t{1} << 24;
    while (std::llabs(x) > kLimit || std::llabs(y) > kLimit) {
      x /= 2;
      y /= 2;
    }
  }
  int64_t Ax, Ay, Bx, By;
  bool Whole = false, Wide = false;
};

}  // namespace

TCoverage::TCoverage(int32_t width, int32_t height)
    : Width(std::max(width, 0)),
      Height(std::max(height, 0)),
      TilesX((Width + (1 << kTileShift) - 1) >> kTileShift),
      TilesY((Height + (1 << kTileShift) - 1) >> kTileShift),
      PixelWords((size_t(Width) + 63) / 64),
      TileWords((size_t(TilesX) + 63) / 64),
      Drawn(PixelWords * size_t(Height), 0),
      FullTiles(TileWords * size_t(TilesY), 0) {
  constexpr int32_t kSide = 1 << kTileShift;
  EmptyMissing.resize(size_t(TilesX) * size_t(TilesY));
  for (int32_t ty = 0; ty < TilesY; ++ty)
    for (int32_t tx = 0; tx < TilesX; ++tx)  // tiles at the right and bottom edge may be cut
      EmptyMissing[size_t(ty) * size_t(TilesX) + size_t(tx)] = static_cast<uint8_t>(
          std::min(kSide, Width - tx * kSide) * std::min(kSide, Height - ty * kSide));
  Missing = EmptyMissing;
  OpenTotal = EmptyMissing.size();
}

void TCoverage::Clear() {
  std::copy(EmptyMissing.begin(), EmptyMissing.end(), Missing.begin());
  std::fill(FullTiles.begin(), FullTiles.end(), 0);
  std::fill(Drawn.begin(), Drawn.end(), 0);
  OpenTotal = EmptyMissing.size();
}

namespace {

// floor(p / d) and p mod d for p = a * b >= 0, d > 0. Lines near the view have factors of a
// few million; only far larger ones, given straight to the rasteriser, need 128 bits.
struct TQuotient {
  int64_t Q, R;
};
TQuotient DivideProduct(int64_t a, int64_t b, int64_t d) {
  constexpr int64_t kSmall = int64_t{1} << 31;
  if (a < kSmall && b < kSmall) return {a * b / d, a * b % d};
  const __int128 p = static_cast<__int128>(a) * b;
  return {static_cast<int64_t>(p / d), static_cast<int64_t>(p % d)};
}

// The first step i with q(i) > q, for 0 <= q < a <= n: i = ceil((2n (q + 1) - a) / 2a), at
// most n.
int64_t FirstStepAbove(int64_t q, int64_t n, int64_t a) {
  constexpr int64_t kSmall = int64_t{1} << 30;
  if (n < kSmall && q < kSmall) return (2 * n * (q + 1) + a - 1) / (2 * a);
  return static_cast<int64_t>((static_cast<__int128>(2 * n) * (q + 1) + a - 1) / (2 * a));
}

// A line as steps along its major axis: step i lights the pixel (major0 + majorStep * i,
// minor0 + minorStep * q(i)) with q(i) = floor((2i + 1) * a / 2n), the line at the pixel's centre.
struct TLineSteps {
  bool XMajor;
  int64_t N, A, Major0, Minor0, MajorStep, MinorStep;

  // Steps First..Last whose pixels lie inside a picture of majorSize x minorSize.
  bool Inside(int64_t majorSize, int64_t minorSize, int64_t& first, int64_t& last) const {
    first = 0;
    last = N - 1;  // the end pixel is left out
    if (MajorStep > 0) {
      first = std::max(first, -Major0);
      last = std::min(last, majorSize - 1 - Major0);
    } else {
      first = std::max(first, Major0 - (majorSize - 1));
      last = std::min(last, Major0);
    }
    // q(i) is non-decreasing: the minor limits cut a range of steps too.
    const int64_t qLo = MinorStep > 0 ? -Minor0 : Minor0 - (minorSize - 1);
    const int64_t qHi = MinorStep > 0 ? minorSize - 1 - Minor0 : Minor0;
    if (qHi < 0) return false;
    // q(i) stays below A: limits beyond that cut nothing.
    if (qLo > A) return false;
    if (qLo > 0) first = std::max(first, FirstStepAbove(qLo - 1, N, A));
    if (qHi < A) last = std::min(last, FirstStepAbove(qHi, N, A) - 1);
    return first <= last;
  }
};

}  // namespace

void RasterLine(const TRasterTarget& t, int32_t x1, int32_t y1, int32_t x2, int32_t y2, TRasterValue colour,
                TLinePattern pattern) {
  const int64_t dx = int64_t{x2} - x1, dy = int64_t{y2} - y1;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);
  if (n == 0) {  // a line within one pixel lights that pixel
    t.Set(x1, y1, colour);
    return;
  }
  const TLineSteps line{xMajor,
                        n,
                        std::llabs(xMajor ? dy : dx),
                        xMajor ? x1 : y1,
                        xMajor ? y1 : x1,
                        (xMajor ? dx : dy) > 0 ? 1 : -1,
                        (xMajor ? dy : dx) >= 0 ? 1 : -1};
  const int64_t majorSize = xMajor ? t.Width : t.Height, minorSize = xMajor ? t.Height : t.Width;
  int64_t lo = 0, hi = 0;
  if (!line.Inside(majorSize, minorSize, lo, hi)) return;
  const int64_t twoN = 2 * n, twoA = 2 * line.A;
  const TQuotient start = DivideProduct(2 * lo + 1, line.A, twoN);
  int64_t q = start.Q, r = start.R;
  const bool dashed = pattern == TLinePattern::DashDot;
  int32_t phase = static_cast<int32_t>(lo % kDashDotPeriod);
  const auto put = [&](int64_t i) {
    if (dashed && !DashDotLit(phase)) return;
    const int64_t major = line.Major0 + line.MajorStep * i, minor = line.Minor0 + line.MinorStep * q;
    if (xMajor) t.Set(static_cast<int32_t>(major), static_cast<int32_t>(minor), colour);
    else t.Set(static_cast<int32_t>(minor), static_cast<int32_t>(major), colour);
  };
  const auto step = [&] {
    if (++phase == kDashDotPeriod) phase = 0;
    r += twoA;
    if (r >= twoN) {
      r -= twoN;
      ++q;
    }
  };
  // Steps i to `last` (all inside the picture); the step of a solid line without a
  // test whose outcome the processor cannot foresee.
  const auto steps = [&](int64_t& i, int64_t last) {
    if (dashed) {
      for (; i <= last; ++i) put(i), step();
      return;
    }
    // Copies, so that the loop keeps them in registers: the pixel stores could change
    // anything reached through a reference.
    const TRasterTarget target = t;
    const bool flat = xMajor;
    const TRasterValue value = colour;
    const int64_t majorStep = line.MajorStep, minorStep = line.MinorStep, up = twoA, wrap = twoN;
    int64_t rest = r, major = line.Major0 + majorStep * i, minor = line.Minor0 + minorStep * q;
    for (int64_t k = last - i; k >= 0; --k) {
      if (flat) target.SetInside(static_cast<int32_t>(major), static_cast<int32_t>(minor), value);
      else target.SetInside(static_cast<int32_t>(minor), static_cast<int32_t>(major), value);
      rest += up;
      const int64_t carry = rest >= wrap ? 1 : 0;
      rest -= wrap & -carry;
      minor += minorStep * carry;
      major += majorStep;
    }
    r = rest;
    q = (minor - line.Minor0) * line.MinorStep;
    i = last + 1;
  };
  if (!t.Coverage) {
    int64_t i = lo;
    steps(i, hi);
    return;
  }
  // Drawing backwards, most of a long line runs through tiles already wholly drawn: the
  // steps within one tile along the major axis are drawn only when a tile they may touch is
  // open (with a slope of at most one, that of their first pixel or the next one across).
  constexpr int64_t kTile = int64_t{1} << TCoverage::kTileShift;
  const int64_t tileQ = twoA * kTile / twoN, tileR = twoA * kTile % twoN;  // a whole tile's steps at once
  for (int64_t i = lo; i <= hi;) {
    const int64_t major = line.Major0 + line.MajorStep * i, minor = line.Minor0 + line.MinorStep * q;
    const int64_t last = std::min(hi,
                                  i + (line.MajorStep > 0 ? kTile - 1 - (major & (kTile - 1)) : major & (kTile - 1)));
    const auto far = static_cast<int32_t>(std::clamp<int64_t>(minor + line.MinorStep * (last - i), 0, minorSize - 1));
    const auto at = static_cast<int32_t>(major), near = static_cast<int32_t>(minor);
    const bool covered = xMajor ? t.Coverage->TileFull(at, near) && t.Coverage->TileFull(at, far)
                                : t.Coverage->TileFull(near, at) && t.Coverage->TileFull(far, at);
    if (!covered) {
      steps(i, last);
    } else if (last - i + 1 == kTile) {
      phase = (phase + static_cast<int32_t>(kTile)) % kDashDotPeriod;
      r += tileR;
      q += tileQ;
      if (r >= twoN) {
        r -= twoN;
        ++q;
      }
      i = last + 1;
    } else {
      for (; i <= last; ++i) step();
    }
  }
}

const TEllipseRaster::TOutline* TEllipseRaster::Outline(int32_t w, int32_t h) {
  if (w >= kCachedSize || h >= kCachedSize || std::abs(h - w) > 1) return nullptr;
  if (Slot.empty()) Slot.assign(size_t{kCachedSize} * 3, -1);
  int32_t& slot = Slot[static_cast<size_t>(w) * 3 + static_cast<size_t>(h - w + 1)];
  if (slot >= 0) return &Outlines[static_cast<size_t>(slot)];
  if (OutlinePixels > kCachedPixels) return nullptr;
  slot = static_cast<int32_t>(Outlines.size());
  TOutline& outline = Outlines.emplace_back();
  std::vector<TOffset>& out = outline.Pixels;
  EllipseOutline({0, 0, w, h}, 0, w, 0, h, [&](int32_t x, int32_t y) {
    out.push_back({static_cast<int16_t>(x), static_cast<int16_t>(y)});
  });
  // Counter-clockwise from +X, so that an arc is one run of the list (or two, across +X).
  std::sort(out.begin(), out.end(), [w, h](TOffset p, TOffset q) {
    if (p.X == q.X && p.Y == q.Y) return false;
    const int64_t px = 2 * p.X - w, py = h - 2 * p.Y, qx = 2 * q.X - w, qy = h - 2 * q.Y;
    if (AngleBefore(px, py, qx, qy)) return true;
    if (AngleBefore(qx, qy, px, py)) return false;
    return p.Y != q.Y ? p.Y < q.Y : p.X < q.X;  // same direction: any fixed order
  });
  out.erase(std::unique(out.begin(), out.end(), [](TOffset p, TOffset q) { return p.X == q.X && p.Y == q.Y; }),
            out.end());
  if (w < kRowBits) {
    outline.Rows.assign(static_cast<size_t>(h) + 1, 0);
    for (const TOffset o : out) outline.Rows[static_cast<size_t>(o.Y)] |= uint64_t{1} << o.X;
  } else {
    for (int level = 0; level < kLevels; ++level) {
      const size_t run = kRun[level];
      for (size_t first = 0; first < out.size(); first += run) {
        TOffset lo = out[first], hi = out[first];
        for (size_t i = first; i < std::min(out.size(), first + run); ++i) {
          lo = {std::min(lo.X, out[i].X), std::min(lo.Y, out[i].Y)};
          hi = {std::max(hi.X, out[i].X), std::max(hi.Y, out[i].Y)};
        }
        outline.Runs[level].push_back({lo, hi});
      }
    }
  }
  OutlinePixels += out.size();
  return &outline;
}

void TEllipseRaster::PutRows(const TRasterTarget& t, const TOutline& outline, const TPixelBox& box, TRasterValue colour,
                             size_t i, size_t end) {
  const std::vector<uint64_t>& whole = outline.Rows;
  if (i == 0 && end == outline.Pixels.size()) {
    for (size_t y = 0; y < whole.size(); ++y) t.SetRow(box.Y1 + static_cast<int32_t>(y), box.X1, whole[y], colour);
    return;
  }
  uint64_t rows[kRowBits + 1] = {};
  int32_t top = kRowBits, bottom = 0;
  for (const TOffset* o = outline.Pixels.data() + i; o != outline.Pixels.data() + end; ++o) {
    rows[o->Y] |= uint64_t{1} << o->X;
    top = std::min<int32_t>(top, o->Y);
    bottom = std::max<int32_t>(bottom, o->Y);
  }
  for (int32_t y = top; y <= bottom; ++y) t.SetRow(box.Y1 + y, box.X1, rows[y], colour);
}

// The pixels i..end of a cached outline placed at a box, drawn run by run from the longest
// runs down: a run that lies outside the picture or, drawing backwards, over covered tiles
// is passed over whole.
struct TEllipseRaster::TOutlineRuns {
  const TRasterTarget& Target;
  const TOutline& Outline;
  const TPixelBox& Box;
  bool Inside;  // the whole box lies in the picture
  TRasterValue Colour;

  bool MayShow(int level, size_t run) const {
    const auto [lo, hi] = Outline.Runs[level][run];
    const TPixelBox pixels{Box.X1 + lo.X, Box.Y1 + lo.Y, Box.X1 + hi.X, Box.Y1 + hi.Y};
    const TRasterTarget& t = Target;
    if (!Inside && (pixels.X2 < 0 || pixels.X1 >= t.Width || pixels.Y2 < 0 || pixels.Y1 >= t.Height)) return false;
    // The longest runs are seldom wholly in drawn tiles: looking costs more than it saves.
    return level == kLevels - 1 || !(t.Coverage && t.Coverage->Full(pixels));
  }
  void Put(int level, size_t i, size_t end) const {
    const size_t length = kRun[level];
    while (i < end) {
      const size_t run = i / length, runEnd = std::min(end, (run + 1) * length);
      if (MayShow(level, run)) {
        if (level > 0) {
          Put(level - 1, i, runEnd);
        } else {
          const TOffset* pixels = Outline.Pixels.data();
          if (Inside) {
            for (size_t k = i; k < runEnd; ++k) Target.SetInside(Box.X1 + pixels[k].X, Box.Y1 + pixels[k].Y, Colour);
          } else {
            for (size_t k = i; k < runEnd; ++k) Target.Set(Box.X1 + pixels[k].X, Box.Y1 + pixels[k].Y, Colour);
          }
        }
      }
      i = runEnd;
    }
  }
};

void TEllipseRaster::Draw(const TRasterTarget& t, const TPixelBox& box, TRasterValue colour,
                          const TArcRadials* radials) {
  const int64_t w = int64_t{box.X2} - box.X1, h = int64_t{box.Y2} - box.Y1;
  const std::optional<TSector> sector = radials ? std::optional<TSector>(TSector(box, *radials)) : std::nullopt;
  const bool whole = !sector || sector->Whole;
  const TOutline* cached = w < kCachedSize && h < kCachedSize
                               ? Outline(static_cast<int32_t>(w), static_cast<int32_t>(h))
                               : nullptr;
  if (cached) {
    const std::vector<TOffset>& outline = cached->Pixels;
    const bool inside = box.X1 >= 0 && box.Y1 >= 0 && box.X2 < t.Width && box.Y2 < t.Height;
    const auto put = [&](std::vector<TOffset>::const_iterator from, std::vector<TOffset>::const_iterator to) {
      if (!cached->Rows.empty()) {
        PutRows(t, *cached, box, colour, static_cast<size_t>(from - outline.begin()),
                static_cast<size_t>(to - outline.begin()));
        return;
      }
      const TOutlineRuns runs{t, *cached, box, inside, colour};
      runs.Put(kLevels - 1, static_cast<size_t>(from - outline.begin()), static_cast<size_t>(to - outline.begin()));
    };
    if (whole) {
      put(outline.begin(), outline.end());
      return;
    }
    const auto before = [w, h](TOffset o, std::pair<int64_t, int64_t> v) {
      return AngleBefore(2 * o.X - w, h - 2 * o.Y, v.first, v.second);
    };
    const auto after = [w, h](std::pair<int64_t, int64_t> v, TOffset o) {
      return AngleBefore(v.first, v.second, 2 * o.X - w, h - 2 * o.Y);
    };
    const std::pair a{sector->Ax, sector->Ay}, b{sector->Bx, sector->By};
    const size_t n = outline.size();
    const auto first = outline.begin() +
                       static_cast<std::ptrdiff_t>(PartitionNear(n, PlaceOnCircle(n, a.first, a.second),
                                                                 [&](size_t i) { return before(outline[i], a); }));
    const auto last = outline.begin() +
                      static_cast<std::ptrdiff_t>(PartitionNear(n, PlaceOnCircle(n, b.first, b.second),
                                                                [&](size_t i) { return !after(b, outline[i]); }));
    if (AngleBefore(b.first, b.second, a.first, a.second)) {  // passes +X
      put(first, outline.end());
      put(outline.begin(), last);
    } else {
      put(first, last);
    }
    return;
  }
  const TPixelBox part = whole ? box : sector->Bounds(box);
  EllipseOutline(box, std::max(0, part.X1), std::min(t.Width - 1, part.X2), std::max(0, part.Y1),
                 std::min(t.Height - 1, part.Y2), [&](int32_t x, int32_t y) {
                   if (whole || sector->Contains(2 * (int64_t{x} - box.X1) - w, h - 2 * (int64_t{y} - box.Y1)))
                     t.Set(x, y, colour);
                 });
}
