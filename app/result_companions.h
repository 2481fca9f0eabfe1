// What the simulated stock shows besides the top view: View › Result in 3D, a window that
// follows every new result, and View › Section, a mouse mode in which a line dragged over
// the view gives a plot of the depth along it.
#pragma once

#include <QObject>
#include <memory>
#include <vector>

#include "base/records.h"
#include "engine/cnc_api.h"
#include "stock/stock_simulation.h"
#include "windows/result_3d_window.h"

class QAction;
class QMenu;
class QWidget;
class TSectionPlotWindow;
class TSimBox;

// The straight pieces of list `mode` of a run (arcs and helices in chords), starting at
// `start`, in program coordinates.
std::vector<TOverlaySegment> ListSegments(int32_t handle, uint8_t mode, const TCncPoint& start);

class TResultCompanions : public QObject {
 public:
  // Adds View › Result in 3D and View › Section to `viewMenu`; `view` is the top view.
  TResultCompanions(QWidget& window, QMenu& viewMenu, TSimBox& view);
  ~TResultCompanions() override;

  // A new result of the run of `handle` from `start` (none: the result was cleared).
  void ResultChanged(std::shared_ptr<const TStockResult> result, int32_t handle, const TCncPoint& start);
  void RunningChanged(bool running);

  TResult3dWindow& Window3d() { return *Window; }
  TSectionPlotWindow& SectionWindow() { return *Plot; }
  QAction& SectionAction() { return *SectionMode; }
  QAction& Window3dAction() { return *Show3d; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class TLineOverlay;
  void UpdateSection();
  void ShowPlot();

  TSimBox& View;
  std::unique_ptr<TResult3dWindow> Window;
  std::unique_ptr<TSectionPlotWindow> Plot;
  TLineOverlay* Line = nullptr;
  QAction* Show3d = nullptr;
  QAction* SectionMode = nullptr;
  std::shared_ptr<const TStockResult> Result;
  bool Dragging = false;
  bool PlotPlaced = false;
  double FromX = 0, FromY = 0, ToX = 0, ToY = 0;  // the section line, in millimetres
};
