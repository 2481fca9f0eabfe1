// The real-coordinate window of the simulation view and its mapping to pixels.
// Plain data and arithmetic, no Qt: the view, the renderer and the tests share it.
#pragma once

#include <cstdint>

// Pixels are 32-bit; real values that would land beyond this many pixels outside the
// view are clipped before conversion (see TDisplayList), so every pixel value stays
// far inside the int32 range and inside what the raster engine handles.
inline constexpr double kPixelMargin = 1 << 20;

// Nearest integer, ties to even, saturated to the int32 range (0 for NaN).
int32_t NearestInt(double v);

struct TRealXY {
  double X = 0.0;
  double Y = 0.0;
  friend bool operator==(const TRealXY&, const TRealXY&) = default;
};

struct TPixelXY {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPixelXY&, const TPixelXY&) = default;
};

struct TWindowRect {
  double XMin = 0.0;
  double XMax = 0.0;
  double YMin = 0.0;
  double YMax = 0.0;
  friend bool operator==(const TWindowRect&, const TWindowRect&) = default;
};

// X grows to the right, Y up; pixel (0, 0) is the top-left corner of the view.
struct TViewWindow {
  double XMin = -40.0;
  double XMax = 500.0;
  double YMin = -40.0;
  double YMax = 300.0;
  double Scale = 0.0;  // pixels per millimetre, both axes
  int32_t Width = 0;
  int32_t Height = 0;

  // A view without pixels or without a usable scale converts nothing.
  bool CanConvert() const { return Width > 0 && Height > 0 && Scale > 0.0; }

  int32_t RealToPixelX(double x) const;
  int32_t RealToPixelY(double y) const;
  // Unrounded pixel values; beyond the int32 range for far-away points.
  double PixelXExact(double x) const { return (x - XMin) * Scale; }
  double PixelYExact(double y) const { return Height - (y - YMin) * Scale; }
  double BildXToRealX(double px) const;
  double BildYToRealY(double py) const;
  TRealXY PixelToReal(int32_t px, int32_t py) const { return {BildXToRealX(px), BildYToRealY(py)}; }

  TWindowRect Rect() const { return {XMin, XMax, YMin, YMax}; }
  void SetRect(const TWindowRect& r);

  // Scale := Width / (XMax - XMin); 0 when that is not a positive finite number.
  void UpdateScale();
  // A new client size at the same scale: the top-left corner stays where it is and the
  // window shows more (or less) of the plane. Without a scale only the size changes.
  void ResizeKeepingScale(int32_t width, int32_t height);

  // The window operations of the view; none of them repaints.
  void ZoomAboutPixel(double px, double py, double factor);  // the pixel's point becomes the centre
  void CentreOn(const TRealXY& c);                           // same size, new centre
  // Scales the window by `factor` about the pixel's point, which stays under that pixel.
  void ZoomKeepingPixel(double px, double py, double factor);
  // Moves the window by the given pixels (right and down positive); the scale stays.
  void ScrollByPixels(double dx, double dy);
  void ScaleAbout(const TRealXY& c, double factor);  // new window centred on c
  void SetViewWidth(int32_t w);
  void ScrollToX(int32_t pos);
  void ScrollToY(int32_t pos);
  // Moves the window so that the real point `anchor` lies under pixel (px, py).
  void PanAnchorTo(const TRealXY& anchor, int32_t px, int32_t py);
  // Zoom to the pixel rectangle c1-c2, widened to the view's aspect. False (window
  // unchanged) when the new window would have no width.
  bool ZoomToPixelRect(TPixelXY c1, TPixelXY c2);
};

// Both windows map every real point to the same pixel.
inline bool SameWindow(const TViewWindow& a, const TViewWindow& b) {
  return a.XMin == b.XMin && a.XMax == b.XMax && a.YMin == b.YMin && a.YMax == b.YMax && a.Scale == b.Scale &&
         a.Width == b.Width && a.Height == b.Height;
}
