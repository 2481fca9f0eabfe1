// Clipping in real coordinates, so that far-away geometry never reaches the pixel
// conversion with values beyond what 32-bit pixels and the raster engine can hold.
#pragma once

#include "display/view_window.h"

// Liang-Barsky: cuts the segment a-b to the box. False when no part of it is inside
// (or a coordinate is not finite).
bool ClipSegment(TRealXY& a, TRealXY& b, const TWindowRect& box);

// The real rectangle of the pixels from -margin to Width + margin (and Height + margin).
TWindowRect RealBoxAroundView(const TViewWindow& w, double marginPx);

// The window with what every conversion of one recalculation shares.
struct TPixelMapping {
  explicit TPixelMapping(const TViewWindow& w);
  TViewWindow Window;
  TWindowRect SafeBox;  // real rectangle of the pixels within kPixelMargin around the view
  TWindowRect ViewBox;  // real rectangle of the view's pixels

  bool InSafeBox(const TRealXY& p) const {
    return p.X >= SafeBox.XMin && p.X <= SafeBox.XMax && p.Y >= SafeBox.YMin && p.Y <= SafeBox.YMax;
  }
  // Conversions for points inside the safe box (pixel values far below 2^31).
  int32_t PixelX(double x) const { return NearestSmall((x - Window.XMin) * Window.Scale); }
  int32_t PixelY(double y) const { return Window.Height - NearestSmall((y - Window.YMin) * Window.Scale); }

  // Any point: the fast conversion inside the safe box, the saturating one outside it.
  TPixelXY Pixel(const TRealXY& p) const {
    if (InSafeBox(p)) return {PixelX(p.X), PixelY(p.Y)};
    return {Window.RealToPixelX(p.X), Window.RealToPixelY(p.Y)};
  }

  // Nearest integer, ties to even, for |v| < 2^51: adding 1.5 * 2^52 leaves no fraction bits.
  static int32_t NearestSmall(double v) {
    constexpr double kShift = 6755399441055744.0;
    return static_cast<int32_t>(static_cast<int64_t>((v + kShift) - kShift));
  }
};

// A run of angles (radians, counter-clockwise) From..To.
struct TAngleRun {
  double From = 0.0;
  double To = 0.0;
};

struct TAngleRuns {
  int Count = 0;
  TAngleRun Run[2];
};

// The parts of the arc about `c` with radius r, from angle `from` counter-clockwise
// through `sweep` (0 < sweep <= 2 pi), that may lie inside `box`: at most two runs.
TAngleRuns VisibleArcRuns(const TRealXY& c, double r, double from, double sweep, const TWindowRect& box);
