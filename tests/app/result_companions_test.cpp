// View › Result in 3D and View › Section with the real main window offscreen: the 3D window
// follows the result and answers the mouse; a line dragged over the view gives the depth
// along it.
#include <gtest/gtest.h>

#include <QAction>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTest>
#include <QWheelEvent>
#include <cmath>

#include "app/main_window.h"
#include "app/result_companions.h"
#include "app/stock_preferences.h"
#include "app/stock_result_view.h"
#include "display/sim_box.h"
#include "tests/app/viewer_files.h"
#include "windows/section_plot_window.h"

namespace {

constexpr int kWaitMs = 20000;

// A slot from X 100 to 300 at Y 100, 2 mm deep, cut by tool 1 (40 mm radius without a
// settings file).
const char* const kSlot = "T1\nM03\nG00 Z5\nG00 X100 Y100\nG01 Z-2 F100\nG01 X300\nG00 Z5\nM05\n";

struct TResultCompanionsTest : testing::Test {
  TResultCompanionsTest() {
    TStockPreferences p;
    p.ResultOn = true;
    WriteStockPreferences(p);
    TStartPaths paths = TStartPaths::BesideExecutable();
    paths.SettingsFile = "/nonexistent/velquor.INI";
    Form = std::make_unique<TForm1>(paths);
    Form->View().SetClientSize(400, 300);
    Form->OpenProgram(QString::fromStdString(Program.Name()));
  }
  ~TResultCompanionsTest() override { WriteStockPreferences({}); }
  bool Finished() {
    return QTest::qWaitFor([&] { return !Form->StockResult().Running() && Form->StockResult().Shown(); }, kWaitMs);
  }
  QAction* Action(const char* name) { return Form->menuBar()->findChild<QAction*>(name); }
  TTempFile Program{kSlot, ".cnc"};
  std::unique_ptr<TForm1> Form;
};

TEST_F(TResultCompanionsTest, TheWindowIn3dFollowsTheResultAndTheMouse) {
  ASSERT_TRUE(Finished());
  ASSERT_TRUE(Action("mnuResult3d"));
  Action("mnuResult3d")->trigger();
  TResult3dWindow& w = Form->ResultCompanions().Window3d();
  ASSERT_TRUE(w.isVisible());
  EXPECT_EQ(w.View().Azimuth, kStartAzimuth);
  EXPECT_EQ(w.View().Elevation, kStartElevation);
  EXPECT_FALSE(w.Picture().isNull());

  const QPoint from(200, 200);
  QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, from);
  QMouseEvent drag(QEvent::MouseMove, QPointF(from + QPoint(50, 25)), w.mapToGlobal(QPointF(from + QPoint(50, 25))),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&w, &drag);
  EXPECT_NEAR(w.View().Azimuth, 360 + kStartAzimuth - 50 * kDegreesPerPixel, 1e-9);
  EXPECT_NEAR(w.View().Elevation, kStartElevation + 25 * kDegreesPerPixel, 1e-9);

  const double scale = w.View().Scale;
  QWheelEvent notch(QPointF(300, 150), w.mapToGlobal(QPointF(300, 150)), QPoint(), QPoint(0, kWheelNotch), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&w, &notch);
  EXPECT_NEAR(w.View().Scale, scale * kZoomPerNotch, 1e-9);

  QTest::keyClick(&w, Qt::Key_Home);
  EXPECT_EQ(w.View().Elevation, kStartElevation);
  EXPECT_NEAR(w.View().Scale, scale, 1e-9);
}

TEST_F(TResultCompanionsTest, ALineDraggedInSectionModePlotsTheSlotsWidthAndDepth) {
  ASSERT_TRUE(Finished());
  TSimBox& view = Form->View();
  view.SetRect({50, 350, 20, 245});
  view.UpdateScale();
  ASSERT_TRUE(Action("mnuSection"));
  Action("mnuSection")->setChecked(true);
  const QPoint a(view.RealToPixelX(200), view.RealToPixelY(40)), b(view.RealToPixelX(200), view.RealToPixelY(160));
  QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, a);
  QMouseEvent move(QEvent::MouseMove, QPointF(b), view.mapToGlobal(QPointF(b)), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &move);
  QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, b);

  const TSectionPlotWindow& plot = Form->ResultCompanions().SectionWindow();
  EXPECT_TRUE(plot.isVisible());
  const double cell = Form->StockResult().Shown()->Map.Cell;
  const double pixel = 1 / view.Scale;
  double first = -1, last = -1, deepest = 0;
  for (const TSectionPoint& p : plot.Section()) {
    if (p.Z < -1) {
      if (first < 0) first = p.Distance;
      last = p.Distance;
    }
    deepest = std::min(deepest, p.Z);
  }
  EXPECT_NEAR(last - first, 80, cell + 2 * pixel);
  EXPECT_NEAR(deepest, -2, 1e-6);
  EXPECT_EQ(view.Rect().XMin, 50) << "the drag drew a section, it did not zoom";
}

}  // namespace
