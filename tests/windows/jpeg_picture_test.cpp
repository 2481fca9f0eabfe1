#include "windows/jpeg_picture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <random>

#include "windows/picture_view.h"

namespace {

QByteArray ShippedPicture(const char* name) {
  QFile f(QString(":/pictures/") + name);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
  return f.readAll();
}

TJpegResult Decode(const QByteArray& bytes) {
  return DecodeJpeg({reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())});
}

TEST(JpegPicture, ShippedPicturesDecodeToTheirSizes) {
  const struct {
    const char* Name;
    int Width, Height;
  } pictures[] = {{"splash.jpg", 475, 289}, {"about.jpg", 484, 296}, {"controller.jpg", 505, 377}};
  for (const auto& p : pictures) {
    const TJpegResult r = LoadJpegPicture(QString(":/pictures/") + p.Name);
    EXPECT_TRUE(r.Error.isEmpty()) << r.Error.toStdString();
    EXPECT_EQ(r.Image.size(), QSize(p.Width, p.Height)) << p.Name;
    // The drawing is on black: the corner is dark, and somewhere there is a line.
    EXPECT_LT(qGray(r.Image.pixel(1, 1)), 40) << p.Name;
    // The same file in the source tree, read from disk.
    const TJpegResult disk = LoadJpegPicture(QString(VELQUOR_SOURCE_DIR "/windows/pictures/") + p.Name);
    EXPECT_EQ(disk.Image, r.Image) << p.Name;
  }
}

TEST(JpegPicture, CutFilesFailWithAReason) {
  const QByteArray whole = ShippedPicture("about.jpg");
  for (qsizetype n : {qsizetype{2}, qsizetype{20}, qsizetype{400}, whole.size() / 2, whole.size() - 2}) {
    const TJpegResult r = Decode(whole.left(n));
    EXPECT_TRUE(r.Image.isNull()) << n;
    EXPECT_FALSE(r.Error.isEmpty()) << n;
  }
}

TEST(JpegPicture, GarbageAndEmptyInputFail) {
  std::mt19937 random(7);
  QByteArray noise(4096, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  QByteArray corruptBody = ShippedPicture("splash.jpg");
  for (qsizetype i = corruptBody.size() / 2; i < corruptBody.size() / 2 + 64; ++i) corruptBody[i] = '\xFF';
  for (const QByteArray& bytes :
       {noise, QByteArray("G01 X5 Y5\n"), QByteArray(), QByteArray("\xFF\xD8\xFF", 3), corruptBody}) {
    const TJpegResult r = Decode(bytes);
    EXPECT_TRUE(r.Image.isNull());
    EXPECT_FALSE(r.Error.isEmpty());
  }
}

TEST(JpegPicture, PictureSizeLimit) {
  EXPECT_TRUE(JpegSizeAllowed(8192, 8192));
  EXPECT_FALSE(JpegSizeAllowed(8192, 8193));
  EXPECT_FALSE(JpegSizeAllowed(65535, 65535));
  // A header that claims a huge picture is refused before any memory is taken.
  QByteArray huge = ShippedPicture("splash.jpg");
  const qsizetype sof = huge.indexOf(QByteArray("\xFF\xC0", 2));
  ASSERT_GT(sof, 0);
  huge[sof + 5] = '\xFF';  // height 0xFF..
  huge[sof + 7] = '\xFF';  // width 0xFF..
  const TJpegResult r = Decode(huge);
  EXPECT_TRUE(r.Image.isNull());
  EXPECT_TRUE(r.Error.contains("too large")) << r.Error.toStdString();
}

int WarningCount = 0;

void CountWarnings(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type == QtWarningMsg) ++WarningCount;
}

TEST(PictureView, MissingPictureLeavesABlackAreaAndOneMessage) {
  TPictureView view;
  view.resize(40, 30);
  WarningCount = 0;
  const QtMessageHandler previous = qInstallMessageHandler(CountWarnings);
  EXPECT_FALSE(view.LoadPicture("/nonexistent/picture.jpg"));
  qInstallMessageHandler(previous);
  EXPECT_EQ(WarningCount, 1);
  EXPECT_TRUE(view.Error().contains("/nonexistent/picture.jpg"));
  const QImage shot = view.grab().toImage();
  EXPECT_EQ(shot.pixelColor(20, 15), QColor(Qt::black));
  EXPECT_TRUE(view.LoadPicture(":/pictures/controller.jpg"));
  EXPECT_TRUE(view.Error().isEmpty());
}

}  // namespace
