// TSimBox: the simulation view as a widget. It paints into its own back buffer (so XOR
// markers and the rubber band can be drawn and removed between paints) and shows it.
#pragma once

#include <QWidget>

class QPainter;

#include <optional>
#include <vector>

#include "display/pick_index.h"
#include "display/sim_view.h"

// Playback's tool: a circle of the tool's radius about its centre, in view coordinates.
struct TToolCircle {
  TRealXY Centre;
  double Radius = 0.0;  // 0: only the centre mark
};

class TSimBox : public QWidget, public TSimView {
  Q_OBJECT

 public:
  explicit TSimBox(QWidget* parent = nullptr);

  // Sets the widget's size and the view's Width and Height at once. A hidden widget gets
  // its resize event only when shown, so the owner calls this before it sets the start
  // window from the view's size.
  void SetClientSize(int width, int height);
  // The picked move, drawn over the view in white; none clears it.
  void SetHighlight(std::optional<TPickElement> element);
  // Several moves at once (those of one program line); empty clears them.
  void SetHighlights(std::vector<TPickElement> elements);
  // The first highlighted move, if any.
  std::optional<TPickElement> Highlight() const;
  const std::vector<TPickElement>& Highlights() const { return Highlighted; }
  // Drawn over the view with a centre mark, so that a tool of a pixel or two still shows.
  void SetToolCircle(std::optional<TToolCircle> circle);
  const std::optional<TToolCircle>& ToolCircle() const { return Tool; }

  // Wheel steps per notch as Qt counts them (QWheelEvent::angleDelta).
  static constexpr double kWheelUnitsPerNotch = 120.0;

 signals:
  // The wheel zoomed or scrolled the window: the owner's scroll bars follow.
  void WindowWheeled();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

  void RepaintNeeded() override;
  void BufferChanged() override;
  void CursorChanged() override;
  void MovePointerTo(TPixelXY p) override;

 private:
  void PaintToolCircle(QPainter& p, const TToolCircle& tool) const;

  std::vector<TPickElement> Highlighted;
  bool UpdateQueued = false;  // update() asked for and the paint not yet come
  std::optional<TToolCircle> Tool;
};
