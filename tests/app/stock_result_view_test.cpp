// View > Result with the real main window offscreen: the relief under the drawn lists, the
// findings in the pane, the depth under the pointer, the preferences kept, a cancelled run
// dropped. The user's configuration is the test's own (qt_main).
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>

#include "app/info_pane.h"
#include "app/main_window.h"
#include "app/stock_preferences.h"
#include "app/stock_result_view.h"
#include "display/sim_box.h"
#include "tests/app/viewer_files.h"

namespace {

constexpr int kWaitMs = 20000;

// A slot 200 mm long with tool 1 (40 mm radius without a settings file), then a rapid into
// the stock. The run starts below the top (at minus the tool's height), away from the stock.
const char* const kProgram =
    "T1\nM03\nG00 Z5\nG00 X100 Y100\nG01 Z-2 F100\nG01 X300\nN7 G00 Z-1\nN8 G00 X100 Y130\nM05\n";

struct TStockResultTest : testing::Test {
  TStockResultTest() {
    TStartPaths p = TStartPaths::BesideExecutable();
    p.SettingsFile = "/nonexistent/velquor.INI";
    Form = std::make_unique<TForm1>(p);
    Form->View().SetClientSize(400, 300);
  }
  ~TStockResultTest() override { WriteStockPreferences({}); }
  TStockResultView& Result() { return Form->StockResult(); }
  QAction* Action(const char* name) { return Form->menuBar()->findChild<QAction*>(name); }
  bool Finished() {
    return QTest::qWaitFor([&] { return !Result().Running(); }, kWaitMs);
  }
  TTempFile Program{kProgram, ".cnc"};
  std::unique_ptr<TForm1> Form;
};

TEST_F(TStockResultTest, ShowsTheReliefUnderTheListsWithFindingsAndDepth) {
  ASSERT_TRUE(Action("mnuResult"));
  Action("mnuResult")->setChecked(true);
  EXPECT_TRUE(ReadStockPreferences().ResultOn);
  Form->OpenProgram(QString::fromStdString(Program.Name()));
  ASSERT_TRUE(Finished());
  const TStockResult* shown = Result().Shown();
  ASSERT_TRUE(shown);
  EXPECT_DOUBLE_EQ(shown->Map.MinZ(), -2.0);
  ASSERT_EQ(shown->FindingsTotal, 1u);
  EXPECT_EQ(shown->Findings[0].Line, 8);
  EXPECT_TRUE(Form->InfoPane().toPlainText().contains("Stock: line 8: rapid_into_stock at X "));

  // The middle of the slot is painted dark, the untouched stock light, both under the lists.
  TSimBox& view = Form->View();
  view.SetRect({250, 350, 80, 155});
  view.UpdateScale();
  view.PaintView();
  // The stock reaches 42 mm beyond the slot, the cutter 40; the rapid cut to Z -1 over the
  // slot's middle and its side, away from the corner at (341, 141). Both points lie off the
  // grid's rows and columns.
  const QPoint cut(view.RealToPixelX(283), view.RealToPixelY(118)),
      untouched(view.RealToPixelX(341), view.RealToPixelY(141));
  EXPECT_LT(qGray(view.BackBuffer().pixel(cut)), qGray(view.BackBuffer().pixel(untouched)));
  EXPECT_NE(view.BackBuffer().pixel(untouched), qRgb(0, 0, 0));

  QMouseEvent move(QEvent::MouseMove, QPointF(cut), view.mapToGlobal(QPointF(cut)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &move);
  EXPECT_EQ(Result().DepthText(), QStringLiteral("Depth 2.000 mm"));

  // Off: the relief goes and no run starts.
  Action("mnuResult")->setChecked(false);
  EXPECT_FALSE(Result().Shown());
  EXPECT_FALSE(Result().Running());
}

TEST_F(TStockResultTest, ACancelledRunLeavesNothingAndTheDialogsChoiceIsKept) {
  TStockPreferences p;
  p.ResultOn = true;
  p.Box = TStockBox{0, 0, 100, 60, 0, 5};
  p.Cell = 0.01;  // 60 M cells: long enough to cancel
  p.Shapes[3] = {TCutterKind::VBit, 60};
  WriteStockPreferences(p);
  const TStockPreferences read = ReadStockPreferences();
  EXPECT_EQ(read.Box, p.Box);
  EXPECT_EQ(read.Cell, p.Cell);
  EXPECT_EQ(read.Shapes, p.Shapes);

  Form = nullptr;  // a new window reads the preferences
  TStartPaths paths = TStartPaths::BesideExecutable();
  paths.SettingsFile = "/nonexistent/velquor.INI";
  Form = std::make_unique<TForm1>(paths);
  Form->OpenProgram(QString::fromStdString(Program.Name()));
  ASSERT_TRUE(Result().Running());
  Result().Cancel();
  EXPECT_FALSE(Result().Running());
  EXPECT_FALSE(Result().Shown());
  QTest::qWait(200);
  EXPECT_FALSE(Result().Shown());
}

}  // namespace
