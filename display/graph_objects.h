// Graphic objects of the simulation view's display list: lines, circles and arcs in real
// coordinates with their pixel coordinates cached for the current window.
//
// The objects are plain values held contiguously by TDisplayList (programs of millions of
// moves become millions of objects); TGraphLine, TGraphCircle, TGraphArcCW and TGraphArcCCW
// are the ways of making one, and Shape tells them apart when drawing.
#pragma once

#include <QRgb>
#include <cstdint>
#include <vector>

#include "display/pixel_clip.h"
#include "display/view_window.h"

class QPainter;
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

// How the cached pixel coordinates are to be drawn.
enum class TPixelForm : uint8_t {
  Hidden,    // nothing of it can be in the view (or its points are not finite)
  Direct,    // X1..Y4 hold the pixel coordinates
  Polyline,  // a circle too large for the raster engine: sampled points near the view
};

struct TGraphObject {
  TPenSpec Pen;
  TShape Shape = TShape::Line;
  uint8_t Kind = 0;  // 0 lines and circles, 2 arcs (P3 and P4 are converted too)
  TPixelForm Form = TPixelForm::Hidden;
  // Line: start and end. Circle and arc: upper-left (cx - r, cy + r) and lower-right
  // (cx + r, cy - r) corners of the square around the circle. Z plays no part in the view.
  TRealXY P1, P2;
  TRealXY P3, P4;  // arcs: points on the first and the second radial
  int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0, X3 = 0, Y3 = 0, X4 = 0, Y4 = 0;
  // Polyline form: up to two runs of points in the display list's curve buffer.
  uint32_t CurveFirst = 0;
  uint16_t CurveCount1 = 0;
  uint16_t CurveCount2 = 0;

  // Style 0 solid, 3 dash-dot; width 0..255.
  void SetStyle(int style, int width);
  // Pixel coordinates for the window; Polyline points are appended to `curves`.
  void ComputePixels(const TPixelMapping& m, std::vector<QPoint>& curves);
  // Pixel bounding box test against the view (pen width included).
  bool MayShowIn(int32_t width, int32_t height) const;
  // Draws with the painter's current pen (TDisplayList sets it from Pen).
  void Draw(QPainter& canvas, const QPoint* curves) const;
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
