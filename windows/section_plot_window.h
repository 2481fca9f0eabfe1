// The section plot: the depth of the simulated stock along a line dragged over the top
// view, in millimetres on both axes at one scale, with the pointer's place read out.
#pragma once

#include <QWidget>
#include <vector>

#include "stock/relief_3d.h"

class QLabel;

// How the plot maps millimetres to its pixels: one scale for both axes.
struct TSectionFrame {
  double Scale = 1.0;  // pixels per millimetre
  double Left = 0.0;   // pixel x of distance 0
  double Base = 0.0;   // pixel y of height `Top`
  double Top = 0.0;    // the highest height shown
  double X(double distance) const { return Left + distance * Scale; }
  double Y(double z) const { return Base + (Top - z) * Scale; }
  double DistanceAt(double x) const { return (x - Left) / Scale; }
};

// The frame that fits a section of `length` mm between heights `top` and `bottom` into a
// plot area of `width` x `height` pixels with `margin` pixels around it.
TSectionFrame FitSection(double length, double top, double bottom, int width, int height, int margin);

// The section point nearest to `distance`, or none in an empty section.
const TSectionPoint* NearestSectionPoint(const std::vector<TSectionPoint>& section, double distance);

class TSectionPlotWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TSectionPlotWindow(QWidget* parent = nullptr);

  // The heights along a line `length` mm long over a block from `bottom` to `top`.
  void SetSection(std::vector<TSectionPoint> section, double length, double top, double bottom);
  const std::vector<TSectionPoint>& Section() const { return Points; }
  // "Distance 12.345 mm, Z -3.000 mm" at the pointer, empty off the plot.
  QString ReadOut() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  TSectionFrame Frame() const;

  std::vector<TSectionPoint> Points;
  double Length = 0.0;
  double Top = 0.0;
  double Bottom = 0.0;
  QLabel* lblReadOut = nullptr;
};
