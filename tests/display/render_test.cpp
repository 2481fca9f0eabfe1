// velquor-cnc render, run as the program it is.
#include <gtest/gtest.h>

#include "tests/command_runner.h"
#include "tests/support/temp_folder.h"
#include "tests/svg_reading.h"

#include <unistd.h>
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct TRenderResult {
  int Exit = -1;
  std::string Output;
};

TRenderResult RunCli(const std::string& args) {
  const TCommandResult c = RunShellCommand("QT_QPA_PLATFORM=offscreen '" VELQUOR_CLI "' " + args + " 2>&1");
  return TRenderResult{c.Status, c.Output};
}

struct TRenderFixture : TTempFolderTest {
  TRenderFixture() { Write("square.cnc", "G00 X10 Y10\nG01 X110 Y10\nG01 X110 Y110\nG02 X10 Y110 I-50 J0\n"); }
  std::string In(const char* name) const { return Folder.File(name); }
};

TEST_F(TRenderFixture, DrawsTheContourInTheStartWindow) {
  const TRenderResult r = RunCli("render " + In("square.cnc") + " -o " + In("out.png"));
  ASSERT_EQ(r.Exit, 0) << r.Output;
  EXPECT_NE(r.Output.find("Message from CAM processor: Init CNC-Dll"), std::string::npos);
  EXPECT_EQ(r.Output.find("Empty list"), std::string::npos) << "the path was not asked for";
  const QImage image(QString::fromStdString(In("out.png")));
  ASSERT_EQ(image.size(), QSize(994, 628));
  // Start window: X from -40, 600 mm over 994 pixels; Y from -40.
  const double scale = 994.0 / 600;
  const auto px = [&](double x) { return static_cast<int>(std::nearbyint((x + 40) * scale)); };
  const auto py = [&](double y) { return 628 - static_cast<int>(std::nearbyint((y + 40) * scale)); };
  EXPECT_EQ(image.pixel(px(63), py(10)), qRgb(255, 255, 0));   // bottom edge, not on a grid point
  EXPECT_EQ(image.pixel(px(110), py(63)), qRgb(255, 255, 0));  // right edge
  EXPECT_EQ(image.pixel(px(60), py(160)), qRgb(255, 255, 0));  // top of the arc above
  EXPECT_EQ(image.pixel(px(63), py(63)), qRgb(0, 0, 0));
}

TEST_F(TRenderFixture, OptionsMoveTheWindowAndThePicture) {
  const TRenderResult r = RunCli("render " + In("square.cnc") + " -o " + In("small.png") +
                                 " --size 300x200 --window 0,150,0 --w0 10,0 --grid 5 --edges");
  ASSERT_EQ(r.Exit, 0) << r.Output;
  const QImage image(QString::fromStdString(In("small.png")));
  ASSERT_EQ(image.size(), QSize(300, 200));
  // 2 pixels per millimetre; the bottom edge runs at Y 10 from X 20 to 120 (shifted by W0).
  EXPECT_EQ(image.pixel(2 * 63, 200 - 20), qRgb(255, 255, 0));
  EXPECT_EQ(image.pixel(2 * 20 + 1, 200 - 20), qRgb(255, 0, 0));  // red edge cross at its start
}

TEST_F(TRenderFixture, BadUsageIsReported) {
  ExpectUsageErrors("QT_QPA_PLATFORM=offscreen '" VELQUOR_CLI "'",
                    {
                        {"render", "no program given"},
                        {"render x.cnc", "no output file given"},
                        {"render x.cnc -o y.png --size 0x10", "--size"},
                        {"render x.cnc -o y.png --size 10", "--size wants WxH"},
                        {"render x.cnc -o y.png --window 5,1,0", "XMAX above XMIN"},
                        {"render x.cnc -o y.png --grid 0", "--grid"},
                        {"render x.cnc -o y.png --radius 255=1", "--radius"},
                        {"render x.cnc -o y.png --w0 1", "--w0 wants X,Y"},
                        {"render x.cnc -o y.png --bogus", "unknown option --bogus"},
                    });
  EXPECT_EQ(RunCli("render --help").Exit, 0);
}

TEST_F(TRenderFixture, SettingsFileGivesTheToolTable) {
  Write("tools.ini", "[Tools]\nT00 Diameter=6\nT00 Height=12\n");
  const TRenderResult r = RunCli("render " + In("square.cnc") + " -o " + In("s.png") + " --settings " +
                                 In("tools.ini"));
  EXPECT_EQ(r.Exit, 0) << r.Output;
  EXPECT_TRUE(std::filesystem::exists(In("s.png")));
  const TRenderResult missing = RunCli("render " + In("square.cnc") + " -o " + In("m.png") + " --settings " +
                                       In("nothing.ini"));
  EXPECT_EQ(missing.Exit, 1);
  EXPECT_NE(missing.Output.find("cannot read settings file"), std::string::npos) << missing.Output;
  EXPECT_FALSE(std::filesystem::exists(In("m.png")));
}

TEST_F(TRenderFixture, UnwritableOutputFails) {
  const TRenderResult r = RunCli("render " + In("square.cnc") + " -o " + In("no/such/dir/out.png"));
  EXPECT_EQ(r.Exit, 1);
  EXPECT_NE(r.Output.find("cannot write"), std::string::npos);
}

// The demo as a picture and as a drawing: the drawing's paths cover what the picture shows
// beyond its grid, axes and markers (the same command without objects).
TEST_F(TRenderFixture, DemoDrawingHasThePicturesExtents) {
  const std::string demo = " " VELQUOR_SOURCE_DIR "/examples/demo.cnc --settings " VELQUOR_SOURCE_DIR
                           "/examples/tools.INI --window -40,180,-40 --size 800x500";
  for (const char* out : {"demo.png", "demo.SVG"}) {
    const TRenderResult r = RunCli("render" + demo + " --path -o " + In(out));
    ASSERT_EQ(r.Exit, 0) << out << ": " << r.Output;
  }
  ASSERT_EQ(RunCli("render" + demo + " --no-contour -o " + In("ground.png")).Exit, 0);
  const QImage picture = QImage(QString::fromStdString(In("demo.png"))).convertToFormat(QImage::Format_RGB32);
  const QImage ground = QImage(QString::fromStdString(In("ground.png"))).convertToFormat(QImage::Format_RGB32);
  const TSvgRead svg = ReadSvg(QString::fromStdString(In("demo.SVG")));
  ASSERT_TRUE(svg.Ok);
  EXPECT_GT(svg.Paths.size(), 500u);
  const QRectF lit = LitPixelBounds(picture, ground);
  const QRectF drawn = SvgPixelBounds(svg, picture.size());
  EXPECT_GT(lit.left(), 10);  // inside the picture: the extents are the demo's own
  EXPECT_LT(lit.right(), picture.width() - 10);
  EXPECT_GT(lit.top(), 10);
  EXPECT_LT(lit.bottom(), picture.height() - 10);
  EXPECT_NEAR(drawn.left(), lit.left(), 2);
  EXPECT_NEAR(drawn.right(), lit.right(), 2);
  EXPECT_NEAR(drawn.top(), lit.top(), 2);
  EXPECT_NEAR(drawn.bottom(), lit.bottom(), 2);
}

TEST_F(TRenderFixture, UnknownPictureExtensionIsRefusedBeforeTheRun) {
  const TRenderResult r = RunCli("render " + In("square.cnc") + " -o " + In("out.gif"));
  EXPECT_EQ(r.Exit, 2);
  EXPECT_NE(r.Output.find("unknown extension .gif, use .png or .svg"), std::string::npos) << r.Output;
  EXPECT_EQ(r.Output.find("Try to open"), std::string::npos) << r.Output;
  EXPECT_FALSE(std::filesystem::exists(In("out.gif")));
}

TEST_F(TRenderFixture, UnwritableDrawingFails) {
  const TRenderResult r = RunCli("render " + In("square.cnc") + " -o " + In("no/such/dir/out.svg"));
  EXPECT_EQ(r.Exit, 1);
  EXPECT_NE(r.Output.find("cannot write " + In("no/such/dir/out.svg")), std::string::npos) << r.Output;
}

TEST_F(TRenderFixture, MissingProgramStillRendersTheEmptyView) {
  const TRenderResult r = RunCli("render " + In("missing.cnc") + " -o " + In("empty.png") + " --path");
  EXPECT_EQ(r.Exit, 0) << r.Output;
  EXPECT_TRUE(std::filesystem::exists(In("empty.png")));
}

}  // namespace
