// The machine-coordinate window, offscreen.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/machine_view_link.h"
#include "tests/display/engine_program.h"
#include "windows/machine_view_run.h"
#include "windows/real_point_view.h"

namespace {

TEST(ZoomLabel, PositionByTenWithOneDecimalAndPercent) {
  struct {
    int Position;
    const char* Text;
  } cases[] = {{1, "000.1%"}, {9, "000.9%"}, {10, "001.0%"}, {50, "005.0%"}, {999, "099.9%"}, {1000, "100.0%"}};
  for (const auto& c : cases) EXPECT_EQ(ZoomLabelText(c.Position), c.Text) << c.Position;
}

TEST(RealPointView, ControlsAtStart) {
  TfrmRealPointView view;
  EXPECT_EQ(view.windowTitle(), "Simulation view: physical coordinates on ORVIK CNC controller");
  EXPECT_EQ(view.size(), QSize(880, 638));
  EXPECT_EQ(view.font().family(), "Tahoma");
  EXPECT_EQ(view.CloseButton->text(), "Close");
  EXPECT_EQ(view.RefreshButton->text(), "Refresh");
  EXPECT_EQ(view.ProgramInfoButton->text(), "Program information");
  EXPECT_EQ(view.ControllerButton->text(), "Infos about ORVIK USB CNC controller");
  EXPECT_TRUE(view.CloseButton->toolTip().isEmpty());
  EXPECT_TRUE(view.RefreshButton->toolTip().isEmpty());
  EXPECT_EQ(view.ProgramInfoButton->toolTip(), "Program information");
  EXPECT_EQ(view.ControllerButton->toolTip(), "Infos about ORVIK USB CNC controller");
  for (QLabel* l : view.CounterLabels) EXPECT_EQ(l->text(), "0");
  EXPECT_EQ(view.ContourBox->text(), "show contour");
  EXPECT_EQ(view.PathBox->text(), "show cutting path");
  EXPECT_TRUE(view.ContourBox->isChecked());
  EXPECT_TRUE(view.PathBox->isChecked());
  EXPECT_EQ(view.ZoomBar->minimum(), 1);
  EXPECT_EQ(view.ZoomBar->maximum(), 1000);
  EXPECT_EQ(view.ZoomBar->value(), 50);
  EXPECT_EQ(view.ZoomBar->pageStep(), 10);
  EXPECT_EQ(view.ZoomLabel->text(), "005.0%");
  for (QScrollBar* bar : {view.HorzBar, view.VertBar}) {
    EXPECT_EQ(bar->minimum(), -10000);
    EXPECT_EQ(bar->maximum(), 10000);
    EXPECT_EQ(bar->value(), 0);
  }
  EXPECT_EQ(view.HorzBar->orientation(), Qt::Horizontal);
  EXPECT_EQ(view.VertBar->orientation(), Qt::Vertical);
  const TMachineViewControls c = view.Controls();
  EXPECT_EQ(c.Zoom, 50);
  EXPECT_TRUE(c.ShowContour && c.ShowPath);
}

TEST(RealPointView, EveryControlAsksForANewRun) {
  TfrmRealPointView view;
  int redraws = 0;
  view.OnRedraw = [&] { ++redraws; };
  const auto changes = [&](const char* what, const std::function<void()>& change) {
    const int before = redraws;
    change();
    EXPECT_EQ(redraws, before + 1) << what;
  };
  changes("zoom", [&] { view.ZoomBar->setValue(123); });
  EXPECT_EQ(view.ZoomLabel->text(), "012.3%");
  changes("horizontal", [&] { view.HorzBar->setValue(-300); });
  changes("vertical", [&] { view.VertBar->setValue(70); });
  changes("contour", [&] { view.ContourBox->click(); });
  changes("path", [&] { view.PathBox->click(); });
  changes("refresh", [&] { view.RefreshButton->click(); });
  const TMachineViewControls c = view.Controls();
  EXPECT_EQ(c.Zoom, 123);
  EXPECT_EQ(c.HorzPos, -300);
  EXPECT_EQ(c.VertPos, 70);
  EXPECT_FALSE(c.ShowContour);
  EXPECT_FALSE(c.ShowPath);
}

TEST(RealPointView, ButtonsReachTheMainWindow) {
  TfrmRealPointView view;
  int closed = 0, info = 0, controller = 0;
  view.OnClosed = [&] { ++closed; };
  view.OnProgramInfo = [&] { ++info; };
  view.OnControllerInfo = [&] { ++controller; };
  view.show();
  view.CloseButton->click();
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(closed, 1);
  view.show();
  view.close();  // the window frame's close button
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(closed, 2);
  view.ProgramInfoButton->click();
  view.ControllerButton->click();
  EXPECT_EQ(info, 1);
  EXPECT_EQ(controller, 1);
}

TEST(RealPointView, DrawingRunShowsTheWindowThePictureAndTheCounters) {
  TfrmRealPointView view;
  const TEngineProgram p("G01 X5 Y-2 Z1\n");
  std::vector<std::string> messages;
  TMachineDrawRun run;
  run.Info = [&](const std::string& s) { messages.push_back(s); };
  DrawMachineView(view, p.Handle, 1, run);
  EXPECT_TRUE(view.isVisible());
  EXPECT_EQ(view.CounterLabels[0]->text(), "500");
  EXPECT_EQ(view.CounterLabels[1]->text(), "-200");
  EXPECT_EQ(view.CounterLabels[2]->text(), "100");
  const QImage& picture = view.Picture();
  ASSERT_EQ(picture.size(), view.Surface->size());
  ASSERT_GT(picture.height(), 510);
  EXPECT_EQ(picture.pixel(200 + 25, 500 + 10), qRgb(0, 255, 0));
  EXPECT_EQ(picture.pixel(200 + 25, 500 - 10), qRgb(0, 0, 0));
  EXPECT_TRUE(messages.empty());

  // An empty program clears the picture and leaves the counters.
  const TEngineProgram empty("");
  DrawMachineView(view, empty.Handle, 1, run);
  EXPECT_EQ(view.CounterLabels[0]->text(), "500");
  EXPECT_EQ(view.Picture().pixel(200 + 25, 500 + 10), qRgb(0, 0, 0));
  EXPECT_EQ(messages, std::vector<std::string>{"Empty list, no data to process"});
}

}  // namespace

namespace {

// The main window's side, with a processing run that reopens the program as ProcessFile does.
TEST(MachineViewLink, ToggleCloseAndProcessing) {
  TfrmRealPointView view;
  auto program = std::make_unique<TEngineProgram>("G01 X1 Y2\n");
  int processed = 0;
  std::vector<std::string> pane;
  TMachineDrawRun run;
  run.Info = [&](const std::string& s) { pane.push_back(s); };
  TMachineViewLink* linkPointer = nullptr;
  bool machineViewOn = false;
  TMachineViewLink link(
      view, machineViewOn,
      [&] {
        ++processed;
        linkPointer->AfterProcessing(program->Handle);
      },
      run);
  linkPointer = &link;
  EXPECT_FALSE(link.MachineViewOn());
  link.AfterProcessing(program->Handle);
  EXPECT_FALSE(view.isVisible()) << "not drawn while the mark is off";
  // The hidden window grown, as a picture of the main window lays it out, or a control set.
  view.resize(1200, 900);
  (void)view.grab();
  view.ZoomBar->setValue(60);
  EXPECT_EQ(processed, 0) << "the program is not run again for a window that is off";

  link.Toggle(program->Handle);
  EXPECT_TRUE(machineViewOn);
  EXPECT_TRUE(view.isVisible());
  EXPECT_EQ(view.CounterLabels[1]->text(), "200");

  // A control of the window processes the file again, which draws the window again.
  program = std::make_unique<TEngineProgram>("G01 X3 Y4\n");
  const int before = processed;
  view.ZoomBar->setValue(100);
  EXPECT_EQ(processed, before + 1);
  EXPECT_EQ(view.CounterLabels[0]->text(), "300");

  view.CloseButton->click();
  EXPECT_FALSE(machineViewOn);
  link.Toggle(program->Handle);
  EXPECT_TRUE(view.isVisible());
  link.Toggle(program->Handle);
  EXPECT_FALSE(link.MachineViewOn());
  EXPECT_FALSE(view.isVisible());
  EXPECT_TRUE(pane.empty());
}

}  // namespace
