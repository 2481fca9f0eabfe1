// Graphic objects of the simulation view's display list: lines, circles and arcs in real
// coordinates, and how their pixel coordinates follow from the window.
//
// TGraphLine, TGraphCircle, TGraphArcCW and TGraphArcCCW are the ways of making one; Shape
// tells them apart when drawing. TDisplayList keeps them in a compact form of its own.
#pragma once

#include <QRgb>
#include <cstdint>
#include <vector>

#include "display/pixel_clip.h"
#include "display/thin_raster.h"
#include "display/view_window.h"

class QPoint;

enum TPenStyle : uint8_t { kPenSolid = 0, kPenDashDot = 3 };

// The object's own pen: colour, style and width (0 is the thinnest line).
struct TPenSpec {
  QRgb Colour = 0;
  uint8_t Style = kPenSolid;
  uint8_t Width = 1;
  friend bool operator==(const TPenSpec&, const TPenSpec&) = default;
};

enum class TShape : uint8_t { Line, Circle, ArcCW, ArcCCW };

// How the pixel coordinates of an object are to be drawn.
enum class TPixelForm : uint8_t {
  Hidden,    // nothing of it can be in the view (or its points are not finite)
  Direct,    // X1..Y4 hold the pixel coordinates
  Polyline,  // a circle too large to draw directly: sampled points near the view
};

// One graphic object as a value: what the view operations create and what the display
// list gives back. The list itself stores objects far more compactly (TDisplayList).
struct TGraphObject {
  TPenSpec Pen;
  TShape Shape = TShape::Line;
  uint8_t Kind = 0;  // 0 lines and circles, 2 arcs (P3 and P4 are converted too)
  TPixelForm Form = TPixelForm::Hidden;
  // Line: start and end. Circle and arc: upper-left (cx - r, cy + r) and lower-right
  // (cx + r, cy - r) corners of the square around the circle. Z plays no part in the view.
  TRealXY P1, P2;
  TRealXY P3, P4;  // arcs: points on the first and the second radial
  TRealXY Centre;  // circles and arcs: the square's centre and half side, as given
  double Radius = 0.0;
  int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0, X4 = 0, Y4 = 0;

  // Style 0 solid, 3 dash-dot; width 0..255.
  void SetStyle(int style, int width);
};

struct TGraphLine : TGraphObject {
  TGraphLine(const TRealXY& a, const TRealXY& b, QRgb colour);
};

struct TGraphCircle : TGraphObject {
  TGraphCircle(const TRealXY& centre, double radius, QRgb colour);
};

// Clockwise from start to end about the centre; the radius comes from the start point.
struct TGraphArcCW : TGraphObject {
  TGraphArcCW(const TRealXY& start, const TRealXY& centre, const TRealXY& end, QRgb colour);
};

struct TGraphArcCCW : TGraphObject {
  TGraphArcCCW(const TRealXY& start, const TRealXY& centre, const TRealXY& end, QRgb colour);
};

// Circles whose pixel radius exceeds this are drawn as sampled polylines.
inline constexpr double kMaxDirectRadius = 1 << 16;

// Pixel coordinates of a line for the window: clipped near the view, then converted.
// For lines the box holds the two end points, not ordered.
TPixelForm LinePixels(const TPixelMapping& m, TRealXY a, TRealXY b, TPixelBox& px);

// Up to two runs of sampled points in a shared buffer.
struct TCurveRun {
  uint32_t First = 0;
  uint16_t Count1 = 0;
  uint16_t Count2 = 0;
};

// Pixel box of a circle (radials null) or an arc for the window. Circles too large to
// draw directly become points appended to `curves`, described by `run`.
TPixelForm CurvePixels(const TPixelMapping& m, const TRealXY& centre, double radius, const TRealXY* p3,
                       const TRealXY* p4, TPixelBox& box, std::vector<QPoint>& curves, TCurveRun& run);

// Whether the pixel box (pen width included) touches a view of width x height.
bool BoxMayShow(const TPixelBox& px, int penWidth, int32_t width, int32_t height);
