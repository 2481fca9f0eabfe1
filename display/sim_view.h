// The simulation view without its window: the real-coordinate window, the mouse modes,
// the markers, the display list and PaintView into a back buffer. TSimBox puts it on the
// screen; the renderer paints it into a picture file.
#pragma once

#include <QColor>
#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "base/records.h"
#include "display/display_list.h"
#include "display/view_window.h"

// Values of MouseMode, chosen by the main window.
struct TMouseMode {
  enum : int32_t { Idle = 0, SetW0 = 1, SetSpindle = 2, ZoomVaria = 3, ZoomWindow = 4, Pan = 5 };
  // Clicks in this mode are the main window's: the view leaves them alone.
  static constexpr int32_t Pick = 6;
};

enum class TViewCursor { Crosshair, Hand };

// Factors by which the mouse scales the visible window; above 1 shows more of the plane.
inline constexpr double kDoubleClickScale = 1.2;
// Zoom-varia mode: each move of a drag to the left shows more, to the right less.
inline constexpr double kDragLeftScale = 1.03;
inline constexpr double kDragRightScale = 0.97;
// One notch of the mouse wheel zooms in (away from the user) or out by this factor.
inline constexpr double kWheelNotchScale = 1.25;
// Sideways, one notch scrolls this share of the view's width.
inline constexpr double kWheelNotchScrollShare = 0.1;

class TSimView : public TViewWindow {
 public:
  TSimView();
  virtual ~TSimView() = default;
  TSimView(const TSimView&) = delete;
  TSimView& operator=(const TSimView&) = delete;

  TWindowRect HomeWindow;
  int32_t MouseMode = TMouseMode::Idle;
  bool Dragging = false;
  TRealXY Anchor;
  TPixelXY Corner1{0, 0};
  TPixelXY Corner2{0, 0};
  int32_t GridSize = 20;
  TRealXY SpindlePos;
  TRealXY W0Pos;
  TRealXY T0Pos;
  TDisplayList Objects;
  bool NeedsRecalc = false;
  int32_t LastDragX = 0;
  TViewCursor Cursor = TViewCursor::Crosshair;

  const std::string& MyName() const { return aMyName; }
  void SetMyName(const std::string& name);

  // The client size in pixels; a new size repaints everything.
  void Resize(int32_t width, int32_t height);

  void Invalidate();
  void ZoomPoint(TPixelXY p, double f);
  void ZoomScroll(TPixelXY p, double f) { ZoomPoint(p, f); }
  void ZoomHome();
  void SetViewWidth(int32_t w);
  void ScrollToX(int32_t pos);
  void ScrollToY(int32_t pos);
  void SetGridSize(int32_t mm);
  void SetMouseMode(int32_t m);
  void SetCursor(TViewCursor c);

  void SetSpindlePos(double x, double y);
  double SpindleX() const { return SpindlePos.X; }
  double SpindleY() const { return SpindlePos.Y; }
  void SetW0X(double x);
  void SetW0Y(double y);
  double W0X() const { return W0Pos.X; }
  double W0Y() const { return W0Pos.Y; }

  // Style 0 solid, 3 dash-dot; width 0 the thinnest line.
  void AddLine(const TPoint& a, const TPoint& b, int style, int width, QColor colour);
  void AddArcCW(const TPoint& start, const TPoint& end, int style, int width, QColor colour, const TPoint& centre);
  void AddArcCCW(const TPoint& start, const TPoint& end, int style, int width, QColor colour, const TPoint& centre);
  void AddCircle(const TPoint& centre, int style, double radius, int width, QColor colour);
  void AddCross(const TPoint& p, int style, int width, QColor colour);
  void ClearObjects();

  // Playback: only the first `count` objects of the list are painted (all by default). A
  // larger limit paints just the objects it adds on the kept picture.
  void SetObjectLimit(size_t count);
  size_t ObjectLimit() const { return Limit; }
  static constexpr size_t kAllObjects = SIZE_MAX;

  // Painted on the black before the grid and the objects, for the view's window (the
  // simulated stock's relief); none paints nothing. Setting it repaints everything.
  using TUnderlay = std::function<void(QImage& picture, const TViewWindow& window)>;
  void SetUnderlay(TUnderlay underlay);

  // Paints everything into the back buffer.
  void PaintView();
  const QImage& BackBuffer() const { return Buffer; }
  // Objects drawn by the last PaintView (the others lay outside the view).
  size_t LastDrawnCount() const { return LastDrawn; }

  // Mouse input in view pixels.
  void MousePress(int32_t x, int32_t y);
  void MouseMove(int32_t x, int32_t y);
  void MouseRelease(int32_t x, int32_t y);
  void MouseDoubleClick(int32_t x, int32_t y);
  // The wheel turned by `notches` (positive away from the user; a touchpad gives parts of
  // one) with the pointer at (x, y): zooms about the pointer in every mouse mode, or
  // scrolls sideways.
  void Wheel(double x, double y, double notches, bool sideways);

  bool RepaintRequested() const { return RepaintPending; }

 protected:
  // Hooks for the window that shows the view.
  virtual void RepaintNeeded() {}  // a full PaintView is due
  virtual void BufferChanged() {}  // XOR drawing went straight to the buffer
  virtual void CursorChanged() {}
  virtual void MovePointerTo(TPixelXY) {}  // view pixels

 private:
  void AddObject(const TGraphObject& o, int style, int width);
  void DrawMarkers(QPainter& p) const;
  // Draws (or, drawn twice, removes) one marker straight into the buffer.
  template <typename Paint>
  void XorOnBuffer(Paint paint);
  void DrawRubberBand();

  std::string aMyName;
  QImage Buffer;
  // The buffer before the markers and what it was painted for: a paint for the same window,
  // grid and objects copies it instead of drawing millions of objects again.
  struct TComposedFor {
    TViewWindow Window;
    int32_t GridSize = 0;
    uint64_t Objects = 0;
    size_t Limit = 0;  // objects drawn: the first ones of the list
    uint64_t Underlay = 0;
  };
  bool ComposedServes(const TComposedFor& now) const;
  // The kept picture shows a shorter prefix of the same objects in the same window.
  bool ComposedGrowsTo(const TComposedFor& now) const;
  // Black, grid and axes: the picture of no objects.
  void ComposeBackground(const TComposedFor& now);
  // Paints the objects the prefix adds, keeping pictures of prefixes on the way.
  void GrowComposed(const TComposedFor& now);
  void ShowComposed();
  size_t Limit = kAllObjects;

  // Pictures of prefixes at whole multiples of PrefixStep (a share of the list), kept while
  // a prefix is shown: a backward jump paints on from the nearest one below it instead of
  // from the start. Made on the way of forward paints, valid for one window, grid and list.
  struct TPrefixPicture {
    QImage Picture;
    size_t Drawn = 0;
  };
  size_t PrefixStep() const;  // 0: no pictures kept
  bool RestorePrefixPicture(const TComposedFor& now);
  std::vector<TPrefixPicture> PrefixPictures;  // by multiple of the step, 1 first
  TComposedFor PrefixKey;
  QImage Composed;
  TComposedFor ComposedKey;
  bool RepaintPending = true;
  size_t LastDrawn = 0;
  TUnderlay Underlay;
  uint64_t UnderlayVersion = 0;
};

// A colour as the view stores it.
inline QRgb ToRgb(QColor c) { return c.rgb(); }
