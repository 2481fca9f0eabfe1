// The playback bar under the view: a slider over the elements of the played list, Play and
// Pause, a step back and forward, and the speed. It only wires these controls to the pure
// playback track (app/playback) and to the view's object limit and tool circle.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <cstddef>

#include "app/playback.h"

class QComboBox;
class QLabel;
class QSlider;
class QToolButton;
class TSimBox;
struct TViewerState;

class TPlaybackBar : public QWidget {
  Q_OBJECT

 public:
  // Frames while playing: 25 a second.
  static constexpr int kTickMilliseconds = 40;

  TPlaybackBar(TSimBox& view, const TViewerState& state, QWidget* parent = nullptr);

  // Shown, the view draws only the first elements (from the start); hidden, all of them.
  void SetActive(bool on);
  bool Active() const { return IsActive; }
  // After every processing run: the track is read again and the position kept where it can.
  void RunChanged();

  size_t Position() const { return K; }
  void SetPosition(size_t k);
  void StepForward();
  void StepBack();
  void Play();
  void Pause();
  bool Playing() const { return Timer.isActive(); }
  void SetSpeed(TPlaySpeed speed);
  TPlaySpeed Speed() const { return PlaySpeed; }
  // Plays on by `wallSeconds` of the clock; the timer calls it with the time since its last tick.
  void Advance(double wallSeconds);

  const TPlaybackTrack& Track() const { return PlayTrack; }

 signals:
  // The played position moved on to an element of program line `fileLine` (from 1).
  void LineReached(int32_t fileLine);

 public:
  // The status area's playback text, hidden while the bar is.
  QLabel& StatusLabel() { return *lblStatus; }

 private:
  void ReadTrack();
  // Shows position k: the view's objects, the tool circle, the slider and the status.
  void ShowPosition(size_t k);
  void UpdatePlayButton();

  TSimBox& View;
  const TViewerState& State;
  TPlaybackTrack PlayTrack;
  size_t K = 0;
  int32_t LastLine = 0;  // the line LineReached told last
  double PlaySeconds = 0.0;
  TPlaySpeed PlaySpeed = TPlaySpeed::Times1;
  bool IsActive = false;
  QTimer Timer;
  QElapsedTimer Wall;

  QToolButton* btnStepBack = nullptr;
  QToolButton* btnPlay = nullptr;
  QToolButton* btnStepForward = nullptr;
  QSlider* sldPosition = nullptr;
  QComboBox* cbSpeed = nullptr;
  QLabel* lblStatus = nullptr;
};
