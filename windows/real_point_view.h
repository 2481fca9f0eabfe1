// The machine-coordinate window: the ORVIK controller's steps of contour and cutting path,
// one pixel each, with zoom, scroll bars and the position the controller ends at.
#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <functional>

#include "windows/cnc_graphics.h"
#include "windows/image_sink.h"
#include "windows/machine_view_controls.h"

class QCheckBox;
class QLabel;
class QScrollBar;
class QToolButton;

// The black drawing surface: a picture the drawing run plots into.
class TMachineSurface : public QWidget {
 public:
  explicit TMachineSurface(QWidget* parent);
  QImage& Picture();
  std::function<void()> OnGrown;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QImage Image;
};

class TfrmRealPointView : public QWidget {
 public:
  explicit TfrmRealPointView(QWidget* parent = nullptr);

  TMachineViewControls Controls() const;
  TRasterSink SurfaceSink() { return RasterOf(Surface->Picture()); }
  const QImage& Picture() const { return Surface->Picture(); }
  void ShowStepCounters(const TStepPosition& counters);
  // The run has drawn: show the picture.
  void SurfaceDrawn();

  // The main window's side: ProcessFile for every control, its mark when the window closes,
  // the about window and the controller picture dialog.
  std::function<void()> OnRedraw;
  std::function<void()> OnClosed;
  std::function<void()> OnProgramInfo;
  std::function<void()> OnControllerInfo;

  QToolButton* CloseButton;
  QToolButton* RefreshButton;
  QToolButton* ProgramInfoButton;
  QToolButton* ControllerButton;
  std::array<QLabel*, 3> CounterLabels;
  QCheckBox* ContourBox;
  QCheckBox* PathBox;
  QScrollBar* ZoomBar;
  QLabel* ZoomLabel;
  QScrollBar* HorzBar;
  QScrollBar* VertBar;
  TMachineSurface* Surface;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ControlChanged();
  void CloseClick();
};
