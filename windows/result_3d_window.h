// View › Result in 3D: the simulated stock drawn in software from an orbiting camera. A left
// drag orbits, a right drag pans, the wheel zooms about the pointer and Home goes back to the
// start view; the toolpath lists can be laid over it as lines at their true heights.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "stock/relief_3d.h"
#include "stock/stock_simulation.h"

class QCheckBox;
class QLabel;
class QProgressBar;

// One straight piece of a toolpath list in program coordinates.
struct TOverlaySegment {
  TWorldPoint From;
  TWorldPoint To;
};

// A toolpath list to lay over the relief, with its colour.
struct TOverlayList {
  const char* Name;  // the check box's text
  uint32_t Colour;   // 0xRRGGBB
  std::vector<TOverlaySegment> Segments;
};

// The orbit and zoom a mouse gesture asks for, in the window's terms.
constexpr double kDegreesPerPixel = 0.4;
constexpr double kZoomPerNotch = 1.25;
constexpr int kWheelNotch = 120;  // angleDelta of one notch

class TResult3dWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TResult3dWindow(QWidget* parent = nullptr);

  // A new result: framed from the start view unless one was shown before, whose angles and
  // zoom are kept. None clears the window.
  void SetResult(std::shared_ptr<const TStockResult> result, std::vector<TOverlayList> overlays = {});
  // Says that a simulation is running (the picture shows the last result meanwhile) and how
  // far it got; Esc asks for it to stop.
  void SetRunning(bool running);
  void SetProgress(int percent);
  std::function<void()> CancelRequested;

  const TOrbitView& View() const { return Camera; }
  void SetView(const TOrbitView& view);
  void ResetView();
  // The picture as the window last drew it.
  const QImage& Picture() const { return Frame; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Redraw();
  void PaintOverlays(QImage& image) const;
  QRect PictureArea() const;

  std::shared_ptr<const TStockResult> Result;
  std::unique_ptr<TReliefRenderer> Renderer;
  std::vector<TOverlayList> Overlays;
  std::vector<QCheckBox*> OverlayBoxes;
  QWidget* OverlayRow = nullptr;
  QLabel* Status = nullptr;
  QProgressBar* Progress = nullptr;
  TOrbitView Camera;
  QImage Frame;
  QPoint LastMouse;
  int WheelRest = 0;       // angleDelta not yet a whole notch
  bool UserMoved = false;  // orbited, panned or zoomed since the start view
  bool Running = false;
};
