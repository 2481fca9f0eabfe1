#include "app/viewer_args.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <filesystem>

#include "tests/command_runner.h"
#include "tests/support/temp_folder.h"
#include "windows/window_place.h"

namespace {

TEST(ViewerArgs, ProgramOptionsAndMistakes) {
  struct TCase {
    QStringList Args;
    QString Program, Settings, Grab;
    bool Quit;
    bool Error;
  } const cases[] = {
      {{}, "", "", "", false, false},
      {{"a.cnc"}, "a.cnc", "", "", false, false},
      {{"a.cnc", "--settings", "t.INI", "--grab", "x.png", "--quit"}, "a.cnc", "t.INI", "x.png", true, false},
      {{"--grab", "x.png"}, "", "", "x.png", false, false},
      {{"--quit"}, "", "", "", true, true},
      {{"--grab"}, "", "", "", false, true},
      {{"--settings"}, "", "", "", false, true},
      {{"a.cnc", "b.cnc"}, "a.cnc", "", "", false, true},
      {{"--fast"}, "", "", "", false, true},
  };
  for (const auto& c : cases) {
    const TViewerArgs a = ParseViewerArgs(c.Args);
    const std::string what = c.Args.join(' ').toStdString();
    EXPECT_EQ(a.Program, c.Program) << what;
    EXPECT_EQ(a.SettingsFile, c.Settings) << what;
    EXPECT_EQ(a.GrabFile, c.Grab) << what;
    EXPECT_EQ(a.Quit, c.Quit) << what;
    EXPECT_EQ(!a.Error.isEmpty(), c.Error) << what;
  }
  EXPECT_TRUE(ParseViewerArgs({"--help"}).Help);
}

// The real viewer, started on the demo part, grabbed and ended.
TEST(ViewerExecutable, ShowsTheDemoContourAndItsMessages) {
  const TTempFolder folder;
  const std::string shot = folder.File("grab.png");
  const std::string demo = VELQUOR_SOURCE_DIR "/examples/demo.cnc";
  const TCommandResult r = RunShellCommand("QT_QPA_PLATFORM=offscreen '" VELQUOR_VIEWER "' '" + demo +
                                           "' --settings '" VELQUOR_SOURCE_DIR "/examples/tools.INI' --grab '" + shot +
                                           "' --quit 2>/dev/null");
  ASSERT_EQ(r.Status, 0) << r.Output;
  EXPECT_NE(r.Output.find("Starup Velquor\n"), std::string::npos) << r.Output;
  EXPECT_NE(r.Output.find("Try to open CNC-file : " + demo + "\n"), std::string::npos) << r.Output;
  EXPECT_NE(r.Output.find("Message from CAM processor: Init CNC-Dll\n"), std::string::npos) << r.Output;

  const QImage picture(QString::fromStdString(shot));
  ASSERT_FALSE(picture.isNull());
  // The start size, made smaller where the screen is smaller.
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const TScreenRect placed = PlaceWindow(994, 885, kFrameEstimate,
                                         {screen.x(), screen.y(), screen.width(), screen.height()});
  EXPECT_EQ(picture.size(), QSize(placed.Width, placed.Height));
  int yellow = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) yellow += picture.pixel(x, y) == qRgb(255, 255, 0);
  EXPECT_GT(yellow, 500) << "the contour of the demo part";

  const TCommandResult bad = RunShellCommand("QT_QPA_PLATFORM=offscreen '" VELQUOR_VIEWER "' --quit 2>&1");
  EXPECT_EQ(bad.Status, 2);
  EXPECT_NE(bad.Output.find("usage: velquor"), std::string::npos);
}

}  // namespace
