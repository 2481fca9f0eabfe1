// TfrmStartup: the splash window, shown for six ticks of 300 ms while the main window is
// already usable.
#pragma once

#include <QTimer>
#include <QWidget>

#include "windows/window_style.h"

// Counts the splash's ticks down; the window hides when Tick says so.
class TSplashCountdown {
 public:
  static constexpr int kTicks = 6;
  void Start() { Left_ = kTicks; }
  // True when this tick ends the showing.
  bool Tick() { return --Left_ <= 0; }
  int Left() const { return Left_; }

 private:
  int Left_ = 0;
};

class TfrmStartup : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kTickMs = 300;
  // The countdown waits for the first paint, but never longer than this.
  static constexpr int kMaxWaitForPaintMs = 2000;

  explicit TfrmStartup(QWidget* parent = nullptr);

  // Shows the splash (not modal); the countdown starts once it is on screen, so a busy
  // start cannot use the 1.8 s up unseen. Again on closing the program.
  void Start();
  // Start, then keep serving events until the splash has hidden itself: closing the program
  // waits for it.
  void ShowAndWait();

  QTimer* FadeOutTimer() { return &tmrFadeOut; }
  const TTitlePicture& Title() const { return Title_; }

  void tmrFadeOutTimer();

 signals:
  void Finished();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void StartCountdown();

  QTimer tmrFadeOut;
  TSplashCountdown Countdown_;
  TTitlePicture Title_;
};
