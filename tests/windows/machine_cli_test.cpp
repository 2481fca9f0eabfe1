// velquor-cnc machine, run as the program it is.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/command_runner.h"
#include "tests/support/temp_folder.h"

namespace {

TCommandResult RunCli(const std::string& args) {
  return RunShellCommand("QT_QPA_PLATFORM=offscreen '" VELQUOR_CLI "' " + args + " 2>&1");
}

struct TMachineCliFixture : TTempFolderTest {
  TMachineCliFixture() {
    Write("line.cnc", "G01 X1 Y0\nG01 X1 Y2\n");
    Write("empty.cnc", "");
  }
  std::string In(const char* name) const { return Folder.File(name); }
  struct TDrawn {
    QImage Image;
    std::string Output;  // what it printed
  };
  // Runs `machine` on `program` and reads the picture it wrote.
  TDrawn Picture(const char* program, const std::string& options = "") const {
    const TCommandResult r = RunCli("machine " + In(program) + " -o " + In("out.png") + options);
    EXPECT_EQ(r.Status, 0) << r.Output;
    return {QImage(QString::fromStdString(In("out.png"))), r.Output};
  }
};

TEST_F(TMachineCliFixture, DrawsBothListsAtTheStartZoom) {
  const auto [image, output] = Picture("line.cnc");
  EXPECT_EQ(output, "Current X: 100\nCurrent Y: 200\nCurrent Z: 0\n");
  ASSERT_EQ(image.size(), QSize(880, 638));
  // Zoom 50: 20 steps to the pixel from (200, 500); the path is drawn over the contour.
  EXPECT_EQ(image.pixel(205, 500), qRgb(0, 255, 0));
  EXPECT_EQ(image.pixel(205, 495), qRgb(0, 255, 0));
  EXPECT_EQ(image.pixel(204, 495), qRgb(0, 0, 0));
}

TEST_F(TMachineCliFixture, ControlsAsOptions) {
  const QImage image = Picture("line.cnc", " --size 300x260 --zoom 1000 --hscroll 100 --vscroll 250 --no-path").Image;
  ASSERT_EQ(image.size(), QSize(300, 260));
  // Origin (100, 250).
  EXPECT_EQ(image.pixel(100 + 100, 250), qRgb(255, 255, 0));
  EXPECT_EQ(image.pixel(100 + 100, 250 - 200), qRgb(255, 255, 0)) << "one pixel per step";
  EXPECT_EQ(image.pixel(100 + 101, 250), qRgb(0, 0, 0));
}

TEST_F(TMachineCliFixture, EmptyProgramGivesTheBlackSurface) {
  const auto [image, output] = Picture("empty.cnc");
  EXPECT_EQ(output, "Empty list, no data to process\nCurrent X: 0\nCurrent Y: 0\nCurrent Z: 0\n");
  ASSERT_EQ(image.size(), QSize(880, 638));
  EXPECT_EQ(image.pixel(200, 500), qRgb(0, 0, 0));
}

TEST_F(TMachineCliFixture, ProgramsOf816And817LinesAreDrawn) {
  for (int lines : {816, 817}) {
    std::ofstream program(In("long.cnc"), std::ios::trunc);
    for (int i = 0; i < lines; ++i) program << "G01 X1 Y" << i << "\n";
    program.close();
    const std::string output = Picture("long.cnc").Output;
    EXPECT_EQ(output.find("could not open"), std::string::npos) << output;
    EXPECT_NE(output.find("Current Y: " + std::to_string(100 * (lines - 1))), std::string::npos) << output;
  }
}

TEST_F(TMachineCliFixture, UnreadableInputOrUnwritablePictureFails) {
  struct {
    std::string Args, Text;
  } cases[] = {
      {"machine " + In("missing.cnc") + " -o " + In("x.png"), "cannot read"},
      {"machine " + Folder.Path() + " -o " + In("x.png"), "cannot read"},
      {"machine " + In("line.cnc") + " -o " + In("no/such/dir/x.png"), "cannot write"},
      {"machine " + In("line.cnc") + " -o " + In("x.png") + " --settings " + In("missing.INI"), "settings"},
  };
  for (const auto& c : cases) {
    const TCommandResult r = RunCli(c.Args);
    EXPECT_EQ(r.Status, 1) << c.Args << "\n" << r.Output;
    EXPECT_NE(r.Output.find(c.Text), std::string::npos) << r.Output;
  }
}

TEST_F(TMachineCliFixture, BadUsageIsReported) {
  ExpectUsageErrors("QT_QPA_PLATFORM=offscreen '" VELQUOR_CLI "'",
                    {
                        {"machine", "no program given"},
                        {"machine x.cnc", "no output file given"},
                        {"machine x.cnc -o y.png --zoom 0", "--zoom wants a whole number from 1 to 1000"},
                        {"machine x.cnc -o y.png --zoom 1001", "--zoom"},
                        {"machine x.cnc -o y.png --hscroll 10001", "--hscroll"},
                        {"machine x.cnc -o y.png --vscroll -10001", "--vscroll"},
                        {"machine x.cnc -o y.png --size 0x10", "--size"},
                        {"machine x.cnc -o y.png --radius 255=1", "--radius"},
                        {"machine x.cnc -o y.png --start 1,2", "--start wants X,Y,Z"},
                        {"machine x.cnc -o y.png --zoom", "--zoom needs a value"},
                        {"machine x.cnc y.cnc -o y.png", "one program"},
                        {"machine x.cnc -o y.png --bogus", "unknown option --bogus"},
                    });
  // The limits themselves are taken.
  const TCommandResult r = RunCli("machine " + In("line.cnc") + " -o " + In("edge.png") +
                                  " --zoom 1000 --hscroll -10000 --vscroll 10000 --radius 254=1.5 --start 1,2,3");
  EXPECT_EQ(r.Status, 0) << r.Output;
}

}  // namespace
