// Saving the view: the format from the extension, the PNG as the back buffer, the SVG as
// its drawn objects, and files that cannot be written.
#include "display/picture_export.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <QImage>
#include <filesystem>

#include "display/sim_view.h"
#include "tests/support/temp_folder.h"
#include "tests/svg_reading.h"

namespace {

TEST(PictureExport, ExtensionChoosesTheFormatInAnyCase) {
  const struct {
    const char* Name;
    std::optional<TPictureFormat> Format;
  } cases[] = {
      {"part.png", TPictureFormat::Png},
      {"/tmp/Part.PNG", TPictureFormat::Png},
      {"a.b.Svg", TPictureFormat::Svg},
      {"part.svg", TPictureFormat::Svg},
      {"part.svgz", std::nullopt},
      {"part.jpg", std::nullopt},
      {"part", std::nullopt},
      {"dir.svg/part", std::nullopt},
      {"part.png.", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(PictureFormatFor(c.Name), c.Format) << c.Name;
}

TEST(PictureExport, UnknownExtensionNamesWhatIsWritten) {
  EXPECT_EQ(UnknownPictureFormatMessage("out.BMP"),
            "cannot save the picture as out.BMP: unknown extension .bmp, use .png or .svg");
  EXPECT_EQ(UnknownPictureFormatMessage("out"), "cannot save the picture as out: no extension, use .png or .svg");
}

struct TExportTest : TTempFolderTest {
  TExportTest() {
    View.Resize(300, 200);
    View.SetRect({-10, 140, -10, 90});
    View.UpdateScale();
    View.SetSpindlePos(5, 5);
    View.AddLine({0, 0, 0}, {100, 50, 0}, 0, 1, QColor(255, 255, 0));
    View.AddCircle({20, 30, 0}, 0, 6, 0, QColor(0, 128, 0));
    View.AddArcCW({60, 0, 0}, {80, 0, 0}, 3, 0, QColor(0, 255, 0), {70, 0, 0});
    View.AddLine({500, 0, 0}, {600, 0, 0}, 0, 1, QColor(255, 255, 0));  // outside the window
    View.PaintView();
  }
  std::string In(const char* name) const { return Folder.File(name); }
  TSimView View;
};

TEST_F(TExportTest, PngIsTheBackBuffer) {
  const TExportResult r = ExportPicture(View, In("view.png"));
  ASSERT_TRUE(r.Ok) << r.Error;
  const QImage saved(QString::fromStdString(In("view.png")));
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), View.BackBuffer().convertToFormat(QImage::Format_RGB32));
}

TEST_F(TExportTest, SvgHoldsTheDrawnObjects) {
  const TExportResult r = ExportPicture(View, In("view.SVG"));
  ASSERT_TRUE(r.Ok) << r.Error;
  const TSvgRead svg = ReadSvg(QString::fromStdString(In("view.SVG")));
  ASSERT_TRUE(svg.Ok);
  EXPECT_EQ(View.LastDrawnCount(), 3u);
  EXPECT_EQ(svg.Paths.size(), 3u);
  EXPECT_EQ(svg.ViewBox, QRectF(-10, -90, 150, 100));
}

TEST_F(TExportTest, UnknownExtensionIsRefusedAndNothingWritten) {
  const TExportResult r = ExportPicture(View, In("view.jpg"));
  EXPECT_FALSE(r.Ok);
  EXPECT_EQ(r.Error, UnknownPictureFormatMessage(In("view.jpg")));
  EXPECT_FALSE(std::filesystem::exists(In("view.jpg")));
}

TEST_F(TExportTest, UnwritablePathIsAMessage) {
  for (const char* name : {"no/such/dir/view.png", "no/such/dir/view.svg"}) {
    const TExportResult r = ExportPicture(View, In(name));
    EXPECT_FALSE(r.Ok) << name;
    EXPECT_EQ(r.Error.rfind("cannot write " + In(name) + ": ", 0), 0u) << r.Error;
  }
  // A folder where the file should be.
  std::filesystem::create_directories(In("taken.png"));
  const TExportResult r = ExportPicture(View, In("taken.png"));
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Error.find("cannot write"), std::string::npos) << r.Error;
  EXPECT_TRUE(std::filesystem::is_directory(In("taken.png")));
}

TEST(PictureExport, ViewNeverPaintedHasNoPicture) {
  TSimView view;
  const TExportResult r = ExportPicture(view, "/tmp/velquor_never_painted.png");
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Error.find("no picture"), std::string::npos) << r.Error;
}

}  // namespace
