#include "windows/startup_window.h"

#include <QEventLoop>
#include <QLabel>

#include "windows/file_version_info.h"
#include "windows/picture_view.h"
#include "windows/window_style.h"

namespace {

constexpr int kWidth = 475;
constexpr int kHeight = 289;
constexpr const char* kPicture = ":/pictures/splash.jpg";

}  // namespace

TfrmStartup::TfrmStartup(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("frmStartup");
  setWindowTitle("Velquor");
  SetUpCompanionWindow(this);
  Title_ = AddTitlePicture(
      this, {kWidth, kHeight}, kPicture,
      {.ProductName = {BoldFont(), 16, 236}, .Version = {TinyFont(), 6, 4}, .Rights = {BoldFont(), 16, 258}});

  tmrFadeOut.setInterval(kTickMs);
  connect(&tmrFadeOut, &QTimer::timeout, this, &TfrmStartup::tmrFadeOutTimer);
}

void TfrmStartup::Start() {
  Countdown_.Start();
  CenterOnScreen(this);
  show();
  raise();
  QTimer::singleShot(kMaxWaitForPaintMs, this, &TfrmStartup::StartCountdown);
}

void TfrmStartup::StartCountdown() {
  if (Countdown_.Left() > 0 && !tmrFadeOut.isActive()) tmrFadeOut.start();
}

void TfrmStartup::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  StartCountdown();
}

void TfrmStartup::tmrFadeOutTimer() {
  if (!Countdown_.Tick()) return;
  tmrFadeOut.stop();
  hide();
  emit Finished();
}

void TfrmStartup::ShowAndWait() {
  Start();
  QEventLoop loop;
  connect(this, &TfrmStartup::Finished, &loop, &QEventLoop::quit);
  loop.exec();
}
