// Splash, about window and controller dialog.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QEnterEvent>
#include <QHash>
#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "windows/about_box.h"
#include "windows/controller_dialog.h"
#include "windows/file_version_info.h"
#include "windows/picture_view.h"
#include "windows/startup_window.h"

namespace {

TEST(OwnVersionInfo, TheTestProgramCarriesTheProjectVersion) {
  EXPECT_EQ(OwnVersionInfo().ProductName, "Velquor");
  EXPECT_EQ(OwnVersionInfo().ProductVersion, VELQUOR_PROJECT_VERSION);
  EXPECT_FALSE(OwnVersionInfo().TypeName.empty());
}

TEST(Startup, LabelsPictureAndWindowKind) {
  TfrmStartup splash;
  EXPECT_EQ(splash.size(), QSize(475, 289));
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(splash.Title().Version->text().toStdString(), VersionLine(OwnVersionInfo()));
  EXPECT_TRUE(splash.Title().Version->text().startsWith("Version: "));
  EXPECT_TRUE(splash.Title().Version->text().endsWith("  "));
  EXPECT_EQ(splash.Title().ProductName->text(), "Velquor");
  EXPECT_EQ(splash.Title().Rights->text().toStdString(), OwnVersionInfo().LegalCopyRight);
  EXPECT_EQ(splash.Title().Picture->Picture().size(), QSize(475, 289));
  EXPECT_EQ(splash.FadeOutTimer()->interval(), 300);
  EXPECT_FALSE(splash.FadeOutTimer()->isActive());
  EXPECT_FALSE(splash.isVisible());
}

TEST(Startup, HidesAfterSixTicks) {
  TfrmStartup splash;
  splash.Start();
  EXPECT_TRUE(splash.isVisible());
  // The countdown starts with the first paint.
  EXPECT_TRUE(QTest::qWaitFor([&] { return splash.FadeOutTimer()->isActive(); }));
  for (int tick = 1; tick < TSplashCountdown::kTicks; ++tick) {
    splash.tmrFadeOutTimer();
    EXPECT_TRUE(splash.isVisible()) << tick;
  }
  splash.tmrFadeOutTimer();
  EXPECT_FALSE(splash.isVisible());
  EXPECT_FALSE(splash.FadeOutTimer()->isActive());
}

TEST(Startup, ShowAndWaitReturnsAfterTheTimerTickedSixTimes) {
  TfrmStartup splash;
  QSignalSpy ticks(splash.FadeOutTimer(), &QTimer::timeout);
  splash.ShowAndWait();
  EXPECT_EQ(ticks.count(), TSplashCountdown::kTicks);
  EXPECT_FALSE(splash.isVisible());
  // It runs again on closing the program.
  splash.ShowAndWait();
  EXPECT_EQ(ticks.count(), 2 * TSplashCountdown::kTicks);
}

class TUrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> Opened;
 public slots:
  void Open(const QUrl& url) { Opened.push_back(url); }
};

TEST(AboutBox, TextsLinkAndOk) {
  TAboutBox about(nullptr, QUrl(QStringLiteral("https://velquor.org/updates")));
  EXPECT_EQ(about.windowTitle(), "Information");
  EXPECT_EQ(about.size(), QSize(484, 296));
  EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(about.Title().ProductName->text(), "Velquor");
  EXPECT_EQ(about.Title().Version->text().toStdString(), VersionLine(OwnVersionInfo()));
  EXPECT_TRUE(about.Title().Version->font().bold());
  EXPECT_EQ(about.Title().Picture->Picture().size(), QSize(484, 296));
  bool updatesShown = false;
  for (const QLabel* l : about.findChildren<QLabel*>()) updatesShown |= l->text() == "Updates available on:";
  EXPECT_TRUE(updatesShown);
  EXPECT_TRUE(about.OkButton()->isDefault());

  TLinkLabel* link = about.Link();
  EXPECT_EQ(link->text(), about.UpdateUrl().toString());
  EXPECT_TRUE(link->font().underline());
  EXPECT_EQ(link->TextColor(), TLinkLabel::kNormalColor);
  QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QApplication::sendEvent(link, &enter);
  EXPECT_EQ(link->TextColor(), TLinkLabel::kHoverColor);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(link, &leave);
  EXPECT_EQ(link->TextColor(), TLinkLabel::kNormalColor);

  TUrlCatcher catcher;
  const QString scheme = about.UpdateUrl().scheme();
  QDesktopServices::setUrlHandler(scheme, &catcher, "Open");
  QTest::mouseClick(link, Qt::LeftButton);
  QDesktopServices::unsetUrlHandler(scheme);
  ASSERT_EQ(catcher.Opened.size(), 1);
  EXPECT_EQ(catcher.Opened[0], about.UpdateUrl());

  about.ShowInFront();
  EXPECT_TRUE(about.isVisible());
  EXPECT_FALSE(about.isModal());
  about.OkButton()->click();
  EXPECT_FALSE(about.isVisible());
}

TEST(AboutBox, NoUpdateAddressNoLink) {
  for (const char* address : {"", "not a web address", "file:///etc/passwd"}) {
    TAboutBox about(nullptr, QUrl(QString::fromUtf8(address)));
    about.show();
    for (const QLabel* l : about.findChildren<QLabel*>())
      EXPECT_FALSE(l->isVisible() && (l == about.Link() || l->text() == "Updates available on:")) << address;
  }
  EXPECT_TRUE(TAboutBox::ConfiguredUpdateUrl().isEmpty()) << "no placeholder address is built in";
}

// Every text over the splash and about pictures stands on a backing that it contrasts with,
// whatever the picture shows there; the light link colours stand out from it too.
TEST(PictureTexts, ContrastAtLeastFourAndAHalfToOne) {
  EXPECT_NEAR(ContrastRatio(Qt::white, Qt::black), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio(QColor(118, 118, 118), Qt::white), 4.54, 0.01);      // just above the line
  EXPECT_LT(ContrastRatio(QColor(119, 119, 119), Qt::white), kMinimumContrast);  // just below
  EXPECT_LT(ContrastRatio(QColor(0, 0, 255), Qt::black), kMinimumContrast) << "plain blue would not do";
  TAboutBox about(nullptr, QUrl(QStringLiteral("https://velquor.org/updates")));
  TfrmStartup splash;
  for (QWidget* window : {static_cast<QWidget*>(&about), static_cast<QWidget*>(&splash)}) {
    window->show();
    const QImage shot = window->grab().toImage();
    for (const QLabel* label : window->findChildren<QLabel*>()) {
      if (!label->isVisible() || label->text().isEmpty()) continue;
      // The backing is the colour most pixels of the label show.
      QHash<QRgb, int> count;
      const QRect r = label->geometry().intersected(shot.rect());
      for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) ++count[shot.pixel(x, y)];
      QRgb backing = 0;
      for (auto it = count.cbegin(); it != count.cend(); ++it)
        if (it.value() > count.value(backing)) backing = it.key();
      const QColor text = label->palette().color(QPalette::WindowText);
      EXPECT_GE(ContrastRatio(text, QColor(backing)), kMinimumContrast) << label->text().toStdString();
      for (const QColor& link : {TLinkLabel::kNormalColor, TLinkLabel::kHoverColor})
        EXPECT_GE(ContrastRatio(link, QColor(backing)), kMinimumContrast);
    }
    window->hide();
  }
}

TEST(ControllerDialog, PictureAndClose) {
  TdlgController dialog;
  EXPECT_EQ(dialog.windowTitle(), "ORVIK USB CNC Controller");
  EXPECT_EQ(dialog.size(), QSize(534, 437));
  EXPECT_EQ(dialog.Picture()->size(), QSize(505, 377));
  EXPECT_EQ(dialog.Picture()->Picture().size(), QSize(505, 377));
  EXPECT_EQ(dialog.CloseButton()->text(), "Close");
  dialog.ShowController();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.isModal());
  dialog.CloseButton()->click();
  EXPECT_FALSE(dialog.isVisible());
}

}  // namespace

#include "small_windows_test.moc"
