// File > Export picture... in the main window with the demo program: the PNG is the view's
// back buffer, the SVG holds one path per drawn object over the same extents.
#include "app/export_picture.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>
#include <memory>

#include "app/info_pane.h"
#include "app/main_window.h"
#include "display/picture_export.h"
#include "display/sim_box.h"
#include "tests/app/viewer_files.h"
#include "tests/platform/test_files.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/svg_reading.h"

namespace {

namespace fs = std::filesystem;

const std::string kDemo = VELQUOR_SOURCE_DIR "/examples/demo.cnc";

class TExportPictureTest : public testing::Test {
 protected:
  TExportPictureTest() {
    // A copy: nothing the window does may touch the example's settings file.
    fs::copy_file(VELQUOR_SOURCE_DIR "/examples/tools.INI", In("tools.INI"));
    TStartPaths paths = TStartPaths::BesideExecutable();
    paths.SettingsFile = In("tools.INI");
    paths.FontPath = VELQUOR_FONT_DIR;
    Form = std::make_unique<TForm1>(paths);
    Form->SetDialogs(Script.Dialogs());
    Form->OpenProgram(QString::fromStdString(kDemo));
    for (QCheckBox* box : Form->findChildren<QCheckBox*>())
      if (box->text() == "view cutting path") box->click();
    Form->View().PaintView();
  }

  std::string In(const char* name) const { return (fs::path(Dir.Path()) / name).string(); }
  QString LastPaneLine() const { return Form->InfoPane().toPlainText().split('\n').constLast(); }

  // The view's picture without its objects: grid, axes and markers only.
  QImage Ground() const {
    const TSimView& shown = Form->View();
    TSimView ground;
    static_cast<TViewWindow&>(ground) = static_cast<const TViewWindow&>(shown);
    ground.GridSize = shown.GridSize;
    ground.SpindlePos = shown.SpindlePos;
    ground.W0Pos = shown.W0Pos;
    ground.T0Pos = shown.T0Pos;
    ground.Invalidate();
    ground.PaintView();
    return ground.BackBuffer();
  }

  TTempFolder Dir;
  TScriptedDialogs Script;
  TKeepWindowOnOpen Keep;  // the view's window is the start window's
  std::unique_ptr<TForm1> Form;
};

TEST_F(TExportPictureTest, DemoSvgHoldsOnePathPerDrawnObjectOverThePngsExtents) {
  Form->ExportPicture(QString::fromStdString(In("demo.png")));
  EXPECT_EQ(LastPaneLine().toStdString(), "Picture saved to " + In("demo.png"));
  Form->ExportPicture(QString::fromStdString(In("demo.svg")));
  EXPECT_EQ(LastPaneLine().toStdString(), "Picture saved to " + In("demo.svg"));

  const TSvgRead svg = ReadSvg(QString::fromStdString(In("demo.svg")));
  ASSERT_TRUE(svg.Ok);
  EXPECT_GT(Form->View().LastDrawnCount(), 500u);  // contour, path, tool circles, engraving
  EXPECT_EQ(svg.Paths.size(), Form->View().LastDrawnCount());

  const QImage png(QString::fromStdString(In("demo.png")));
  ASSERT_EQ(png.size(), Form->View().BackBuffer().size());
  const QRectF lit = LitPixelBounds(png.convertToFormat(QImage::Format_RGB32), Ground());
  const QRectF drawn = SvgPixelBounds(svg, png.size());
  // The demo lies well inside the view, so the extents are its own.
  EXPECT_GT(lit.left(), 10);
  EXPECT_LT(lit.bottom(), png.height() - 10);
  constexpr double kPixels = 2;
  EXPECT_NEAR(drawn.left(), lit.left(), kPixels);
  EXPECT_NEAR(drawn.right(), lit.right(), kPixels);
  EXPECT_NEAR(drawn.top(), lit.top(), kPixels);
  EXPECT_NEAR(drawn.bottom(), lit.bottom(), kPixels);
}

TEST_F(TExportPictureTest, PngIsTheBackBufferAsDrawn) {
  Form->ExportPicture(QString::fromStdString(In("view.PNG")));
  const QImage png(QString::fromStdString(In("view.PNG")));
  ASSERT_FALSE(png.isNull()) << LastPaneLine().toStdString();
  EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), Form->View().BackBuffer().convertToFormat(QImage::Format_RGB32));
}

TEST_F(TExportPictureTest, BadNamesAreToldInThePane) {
  Form->ExportPicture(QString::fromStdString(In("view.bmp")));
  EXPECT_EQ(LastPaneLine().toStdString(), UnknownPictureFormatMessage(In("view.bmp")));
  EXPECT_FALSE(fs::exists(In("view.bmp")));
  Form->ExportPicture(QString::fromStdString(In("missing/view.svg")));
  EXPECT_TRUE(LastPaneLine().startsWith(QString::fromStdString("cannot write " + In("missing/view.svg") + ": ")))
      << LastPaneLine().toStdString();
}

TEST_F(TExportPictureTest, MenuEntryAsksForTheFileBesideTheProgram) {
  QAction* entry = nullptr;
  for (QAction* menu : Form->menuBar()->actions())
    for (QAction* a : menu->menu()->actions())
      if (a->text() == QString::fromUtf8("&Export picture\u2026")) entry = a;
  ASSERT_NE(entry, nullptr);
  Script.Files = {QString::fromStdString(In("chosen.svg"))};
  entry->trigger();
  ASSERT_EQ(Script.FileQuestions.size(), 1u);
  const TFileQuestion& asked = Script.FileQuestions[0];
  EXPECT_EQ(asked.Title, "Export picture");
  EXPECT_EQ(asked.Action, TFileAction::Save);
  ASSERT_EQ(asked.Filters.size(), 2u);
  EXPECT_EQ(asked.Filters[0].Name, "PNG picture (*.png)");
  EXPECT_EQ(asked.Filters[0].Suffix, "png");
  EXPECT_EQ(asked.Filters[1].Name, "SVG drawing (*.svg)");
  EXPECT_EQ(asked.Filters[1].Suffix, "svg");
  EXPECT_EQ(asked.Start.toStdString(), fs::path(kDemo).replace_extension(".png").string());
  EXPECT_TRUE(ReadSvg(QString::fromStdString(In("chosen.svg"))).Ok) << LastPaneLine().toStdString();
  // Cancelled, nothing is written.
  const QString pane = Form->InfoPane().toPlainText();
  Script.Files = {QString()};
  entry->trigger();
  EXPECT_EQ(Form->InfoPane().toPlainText(), pane);
}

TEST(ExportPicture, SuggestedNameIsTheProgramsWithThePictureExtension) {
  EXPECT_EQ(SuggestedPictureName("/work/parts/plate.v2.cnc"), "/work/parts/plate.v2.png");
  EXPECT_EQ(SuggestedPictureName(""), "");
}

}  // namespace
