#include "display/sim_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QTest>

namespace {

// A shown 800 x 600 view of X 0..800, Y 0..600.
struct TSimBoxFixture : testing::Test {
  TSimBoxFixture() {
    Box.SetClientSize(800, 600);
    Box.SetRect({0, 800, 0, 600});
    Box.UpdateScale();
    Box.Invalidate();
    Box.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&Box));
    QApplication::processEvents();
  }
  int WhitePixels() const {
    int n = 0;
    const QImage& image = Box.BackBuffer();
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == qRgb(255, 255, 255);
    return n;
  }
  TSimBox Box;
};

TEST_F(TSimBoxFixture, PaintEventShowsTheBackBuffer) {
  EXPECT_EQ(Box.size(), QSize(800, 600));
  EXPECT_EQ(Box.Width, 800);
  EXPECT_DOUBLE_EQ(Box.Scale, 1.0);
  EXPECT_FALSE(Box.RepaintRequested());
  EXPECT_EQ(Box.BackBuffer().size(), QSize(800, 600));
  const QImage shown = Box.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shown, Box.BackBuffer());
  EXPECT_EQ(Box.cursor().shape(), Qt::CrossCursor);
}

// Objects added in a batch ask for one repaint; objects added after it was painted ask again.
TEST_F(TSimBoxFixture, EveryBatchOfObjectsIsPainted) {
  for (int batch = 0; batch < 2; ++batch) {
    for (int i = 0; i < 100; ++i)
      Box.AddLine({100.0 + i, 100.0 + 100 * batch, 0}, {100.0 + i, 150.0 + 100 * batch, 0}, kPenSolid, 1,
                  QColor(255, 255, 255));
    EXPECT_TRUE(Box.RepaintRequested()) << batch;
    QApplication::processEvents();
    EXPECT_FALSE(Box.RepaintRequested()) << "batch " << batch << " painted";
    EXPECT_EQ(Box.BackBuffer().pixel(150, 600 - 120 - 100 * batch), qRgb(255, 255, 255)) << batch;
  }
}

TEST_F(TSimBoxFixture, ZoomWindowDrawsAndRemovesTheRubberBand) {
  Box.SetMouseMode(TMouseMode::ZoomWindow);
  const int before = WhitePixels();
  QTest::mousePress(&Box, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseMove(&Box, QPoint(300, 150));
  EXPECT_GT(WhitePixels(), before + 400);  // the XOR outline of 200 x 50
  QTest::mouseMove(&Box, QPoint(300, 160));
  QTest::mouseRelease(&Box, Qt::LeftButton, {}, QPoint(300, 160));
  EXPECT_DOUBLE_EQ(Box.XMin, 100);
  EXPECT_DOUBLE_EQ(Box.XMax, 300);
  EXPECT_EQ(Box.MouseMode, TMouseMode::ZoomWindow);
  QApplication::processEvents();
  EXPECT_FALSE(Box.RepaintRequested());
  EXPECT_DOUBLE_EQ(Box.RealToPixelX(200), 400);
}

TEST_F(TSimBoxFixture, ZoomVariaMovesThePointerToTheCentre) {
  Box.SetMouseMode(TMouseMode::ZoomVaria);
  QTest::mousePress(&Box, Qt::LeftButton, {}, QPoint(200, 150));
  EXPECT_EQ(QCursor::pos(), Box.mapToGlobal(QPoint(400, 300)));
  EXPECT_DOUBLE_EQ((Box.XMin + Box.XMax) / 2, 200);
  const double width = Box.XMax - Box.XMin;
  Box.LastDragX = 400;
  QTest::mouseMove(&Box, QPoint(380, 300));  // left: larger
  EXPECT_DOUBLE_EQ(Box.XMax - Box.XMin, width * 1.03);
  QTest::mouseRelease(&Box, Qt::LeftButton, {}, QPoint(380, 300));
  EXPECT_EQ(Box.MouseMode, TMouseMode::Idle);
}

TEST_F(TSimBoxFixture, SetW0AndSpindleWithHandCursor) {
  Box.SetMouseMode(TMouseMode::SetW0);
  EXPECT_EQ(Box.cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(&Box, Qt::LeftButton, {}, QPoint(120, 200));
  EXPECT_EQ(Box.W0Pos, (TRealXY{120, 400}));
  EXPECT_EQ(Box.cursor().shape(), Qt::CrossCursor);

  Box.SetMouseMode(TMouseMode::SetSpindle);
  EXPECT_EQ(Box.cursor().shape(), Qt::CrossCursor);
  QTest::mouseMove(&Box, QPoint(20, 30));
  EXPECT_EQ(Box.cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(&Box, Qt::LeftButton, {}, QPoint(30, 590));
  EXPECT_EQ(Box.SpindlePos, (TRealXY{30, 10}));
  EXPECT_EQ(Box.W0Pos, (TRealXY{120, 400}));
  EXPECT_EQ(Box.MouseMode, TMouseMode::Idle);
  QTest::mouseClick(&Box, Qt::LeftButton, {}, QPoint(50, 50));  // the next release does nothing
  EXPECT_EQ(Box.SpindlePos, (TRealXY{30, 10}));
}

TEST_F(TSimBoxFixture, DoubleClickZoomsOutAboutThePointer) {
  QTest::mouseDClick(&Box, Qt::LeftButton, {}, QPoint(400, 300));  // the centre stays
  EXPECT_EQ(Box.Rect(), (TWindowRect{-80, 880, -60, 660}));
  QTest::mouseDClick(&Box, Qt::LeftButton, {}, QPoint(100, 100));  // another point moves to the centre
  EXPECT_DOUBLE_EQ(Box.BildXToRealX(400), -80 + 100 * 1.2);
  EXPECT_DOUBLE_EQ(Box.BildYToRealY(300), 660 - 100 * 1.2);
}

TEST_F(TSimBoxFixture, PanWithTheMouse) {
  Box.SetMouseMode(TMouseMode::Pan);
  QTest::mousePress(&Box, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseMove(&Box, QPoint(160, 130));
  QTest::mouseRelease(&Box, Qt::LeftButton, {}, QPoint(160, 130));
  EXPECT_DOUBLE_EQ(Box.XMin, -60);
  EXPECT_DOUBLE_EQ(Box.YMin, 30);
  EXPECT_EQ(Box.MouseMode, TMouseMode::Idle);
}

}  // namespace
