// The pointer's coordinates, zoom to part and the job figures in the main window.
#include "app/view_navigation.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>

#include "app/info_pane.h"
#include "app/main_window.h"
#include "display/sim_box.h"
#include "tests/app/navigation_fixtures.h"
#include "tests/app/viewer_files.h"
#include "windows/show_cnc_file.h"

TEST(PointerText, ProgramCoordinatesAreTheViewMinusW0) {
  const TViewWindow w = View600x400();  // one pixel per millimetre
  EXPECT_EQ(PointerText(w, {0, 0}, {0, 400}, TMouseMode::Idle), "X -40.000  Y -40.000  No mode");
  EXPECT_EQ(PointerText(w, {100, 50}, {0, 400}, TMouseMode::Pan), "X -140.000  Y -90.000  Pan");
  EXPECT_EQ(PointerText(w, {100, 50}, {140, 300}, TMouseMode::SetW0), "X 0.000  Y 10.000  Set W0");
  TViewWindow empty;
  EXPECT_EQ(PointerText(empty, {0, 0}, {1, 1}, TMouseMode::ZoomWindow), "Zoom Window");
}

TEST(PartWindow, FramesTheBoxWithMarginAtTheViewsAspect) {
  struct TCase {
    const char* Name;
    TWindowRect Box;
    int32_t Width, Height;
    TWindowRect Expected;
  };
  const TCase cases[] = {
      {"same aspect", {0, 120, 0, 80}, 600, 400, {-6, 126, -4, 84}},
      {"wider view", {0, 120, 0, 80}, 800, 400, {-28, 148, -4, 84}},
      {"square view", {0, 120, 0, 80}, 400, 400, {-6, 126, -26, 106}},
      {"flat line", {0, 10, 5, 5}, 600, 400, {-0.5, 10.5, 5 - 11.0 / 3, 5 + 11.0 / 3}},
      {"single point", {3, 3, 4, 4}, 100, 100, {2.45, 3.55, 3.45, 4.55}},
  };
  for (const TCase& c : cases) {
    const auto r = PartWindow(c.Box, c.Width, c.Height);
    ASSERT_TRUE(r) << c.Name;
    EXPECT_NEAR(r->XMin, c.Expected.XMin, 1e-9) << c.Name;
    EXPECT_NEAR(r->XMax, c.Expected.XMax, 1e-9) << c.Name;
    EXPECT_NEAR(r->YMin, c.Expected.YMin, 1e-9) << c.Name;
    EXPECT_NEAR(r->YMax, c.Expected.YMax, 1e-9) << c.Name;
  }
  EXPECT_FALSE(PartWindow({0, 1, 0, 1}, 0, 400));
}

TEST(MainWindowNavigation, ZoomToPartFramesTheDemoPlate) {
  TStartPaths paths = TStartPaths::BesideExecutable();
  paths.SettingsFile = VELQUOR_SOURCE_DIR "/examples/tools.INI";  // the demo's drills, 3 mm
  TForm1 form(paths);
  form.View().SetW0X(30);
  form.View().SetW0Y(20);
  const TWindowRect start = form.View().Rect();
  form.mnuZoomToPartClick();
  EXPECT_EQ(form.View().Rect(), start) << "nothing to frame before a run";

  form.OpenProgram(QStringLiteral(VELQUOR_SOURCE_DIR "/examples/demo.cnc"));
  EXPECT_EQ(form.View().Rect(), start) << "the start window stays until the user asks";
  form.mnuZoomToPartClick();
  const TSimBox& v = form.View();
  // The 120 x 80 plate (and its lead-in from -15, -15) inside, W0 moved by (30, 20).
  EXPECT_LE(v.XMin, 30 - 15.0);
  EXPECT_GE(v.XMax, 30 + 120.0);
  EXPECT_LE(v.YMin, 20 - 15.0);
  EXPECT_GE(v.YMax, 20 + 80.0);
  EXPECT_LT(v.XMax - v.XMin, 1.5 * 135) << "framed, not merely shown";
  EXPECT_NEAR((v.XMax - v.XMin) / (v.YMax - v.YMin), static_cast<double>(v.Width) / v.Height, 1e-9);
  EXPECT_NEAR(v.Scale, v.Width / (v.XMax - v.XMin), 1e-12);
}

TEST(MainWindowNavigation, EveryRunGivesItsJobFiguresAndThePointerItsCoordinates) {
  TForm1 form(NoSettings());
  TTempFile program("G00 X0 Y0 Z0\nF1000\nG01 X100\nG01 Y100\nG01 X0\nG01 Y0\n", ".cnc");
  form.OpenProgram(QString::fromStdString(program.Name()));
  const QStringList lines = form.InfoPane().toPlainText().split(QLatin1Char('\n'));
  EXPECT_EQ(lines.filter(QStringLiteral("Job (")).size(), 1);
  const QString job = lines.filter(QStringLiteral("Job (")).value(0);
  EXPECT_TRUE(job.startsWith("Job (cutting path): X ")) << job.toStdString();
  EXPECT_TRUE(job.contains("Z -20.000 .. 0.000; feed 400.000 mm, rapid ")) << "from the tool's height";
  EXPECT_TRUE(job.endsWith(" mm, time 0:24")) << job.toStdString();
  EXPECT_TRUE(form.FiguresText().endsWith(" x 20.0 mm, 0:24")) << form.FiguresText().toStdString();

  TSimBox& view = form.View();
  view.SetW0X(100);
  view.SetW0Y(50);
  view.SetMouseMode(TMouseMode::ZoomVaria);
  const QPointF at(0, view.Height);
  QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&view, &move);
  const TRealXY p = view.PixelToReal(0, view.Height);
  char expected[96];
  std::snprintf(expected, sizeof expected, "X %.3f  Y %.3f  Zoom varia", p.X - 100, p.Y - 50);
  EXPECT_EQ(form.PointerStatusText(), QString::fromLatin1(expected));
  EXPECT_TRUE(form.PointerStatusText().startsWith("X -140.000  Y ")) << "pixel 0 is the window's left edge";
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&view, &leave);
  EXPECT_TRUE(form.PointerStatusText().isEmpty());
}

namespace {

void ClickAt(TSimBox& view, QPointF at) { QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, at.toPoint()); }

}  // namespace

TEST(MainWindowNavigation, PickModeNamesAndHighlightsTheClickedMove) {
  TForm1 form(NoSettings());
  TTempFile program("N10 G00 X0 Y0 Z0\nN20 G01 X100 Y0 F500\nN30 G03 X100 Y60 I0 J30\nM30\n", ".cnc");
  form.OpenProgram(QString::fromStdString(program.Name()));
  TSimBox& view = form.View();
  view.show();
  view.SetW0X(0);
  const auto pixel = [&](double x, double y) { return QPointF(view.PixelXExact(x), view.PixelYExact(y)); };
  const int before = form.InfoPane().toPlainText().split(QLatin1Char('\n')).size();

  ClickAt(view, pixel(50, 0));
  EXPECT_EQ(form.InfoPane().toPlainText().split(QLatin1Char('\n')).size(), before) << "not in Pick mode yet";

  form.mnuPickClick();  // View › Pick element, F6
  ASSERT_EQ(view.MouseMode, TMouseMode::Pick);
  ClickAt(view, pixel(50, 0));
  QStringList lines = form.InfoPane().toPlainText().split(QLatin1Char('\n'));
  EXPECT_EQ(lines.last().toStdString(), "Line 2 (N20): G01 to X100.000 Y0.000 Z0.000 (contour)");
  ASSERT_TRUE(view.Highlight());
  EXPECT_EQ(view.Highlight()->Line, 20);

  TfrmShowCncFile text;  // the program text window, open: it follows the pick
  form.SetCompanions({nullptr, nullptr, &text});
  ASSERT_TRUE(text.EditFile(QString::fromStdString(program.Name())));
  ClickAt(view, pixel(50, 0));
  EXPECT_EQ(text.Memo()->textCursor().selectedText(), "N20 G01 X100 Y0 F500");

  ClickAt(view, pixel(130, 30));  // on the arc's curve, right of its centre
  lines = form.InfoPane().toPlainText().split(QLatin1Char('\n'));
  EXPECT_EQ(lines.last().toStdString(),
            "Line 3 (N30): G03 to X100.000 Y60.000 Z0.000 centre X100.000 Y30.000 radius 30.000 (contour)");

  ClickAt(view, pixel(100, 30));  // the arc's centre is no part of it
  EXPECT_FALSE(view.Highlight());
  EXPECT_EQ(form.InfoPane().toPlainText().split(QLatin1Char('\n')).size(), lines.size());
  EXPECT_EQ(view.MouseMode, TMouseMode::Pick) << "the mode stays for the next click";
}
