#include "app/playback_bar.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

#include "app/process_file.h"
#include "display/sim_box.h"
#include "engine/run_elements.h"

namespace {

constexpr int kBarMargin = 2;
constexpr double kMillisecondsPerSecond = 1000.0;

QToolButton* MakeButton(QWidget* parent, QStyle::StandardPixmap icon, const char* hint, const char* name) {
  auto* b = new QToolButton(parent);
  b->setIcon(parent->style()->standardIcon(icon));
  b->setToolTip(QString::fromUtf8(hint));
  b->setObjectName(QString::fromUtf8(name));
  b->setAutoRaise(true);
  return b;
}

}  // namespace

TPlaybackBar::TPlaybackBar(TSimBox& view, const TViewerState& state, QWidget* parent)
    : QWidget(parent), View(view), State(state) {
  setObjectName(QStringLiteral("PlaybackBar"));
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(kBarMargin, kBarMargin, kBarMargin, kBarMargin);
  btnStepBack = MakeButton(this, QStyle::SP_MediaSeekBackward, "Step back one element", "btnStepBack");
  btnPlay = MakeButton(this, QStyle::SP_MediaPlay, "Play", "btnPlay");
  btnStepForward = MakeButton(this, QStyle::SP_MediaSeekForward, "Step forward one element", "btnStepForward");
  sldPosition = new QSlider(Qt::Horizontal, this);
  sldPosition->setObjectName(QStringLiteral("sldPosition"));
  sldPosition->setToolTip(QStringLiteral("Elements drawn"));
  cbSpeed = new QComboBox(this);
  cbSpeed->setObjectName(QStringLiteral("cbSpeed"));
  cbSpeed->setToolTip(QStringLiteral("Playback speed: x1 runs at the programmed feeds"));
  for (const TPlaySpeedRow& s : kPlaySpeeds) cbSpeed->addItem(QString::fromUtf8(s.Caption));
  for (QWidget* w :
       {static_cast<QWidget*>(btnStepBack), static_cast<QWidget*>(btnPlay), static_cast<QWidget*>(btnStepForward)})
    row->addWidget(w);
  row->addWidget(sldPosition, 1);
  row->addWidget(cbSpeed);
  lblStatus = new QLabel(this);
  lblStatus->setObjectName(QStringLiteral("lblPlayback"));
  lblStatus->hide();

  Timer.setInterval(kTickMilliseconds);
  connect(&Timer, &QTimer::timeout, this, [this] { Advance(Wall.restart() / kMillisecondsPerSecond); });
  connect(btnStepBack, &QToolButton::clicked, this, &TPlaybackBar::StepBack);
  connect(btnStepForward, &QToolButton::clicked, this, &TPlaybackBar::StepForward);
  connect(btnPlay, &QToolButton::clicked, this, [this] { Playing() ? Pause() : Play(); });
  connect(sldPosition, &QSlider::valueChanged, this, [this](int k) {
    if (static_cast<size_t>(k) != K) SetPosition(static_cast<size_t>(k));
  });
  connect(cbSpeed, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (i >= 0 && i < static_cast<int>(kPlaySpeeds.size())) PlaySpeed = kPlaySpeeds[static_cast<size_t>(i)].Speed;
  });
  hide();
}

void TPlaybackBar::SetActive(bool on) {
  if (on == IsActive) return;
  IsActive = on;
  setVisible(on);
  lblStatus->setVisible(on);
  if (on) {
    ReadTrack();
    SetPosition(0);
    return;
  }
  Pause();
  PlayTrack = TPlaybackTrack();  // millions of steps: kept only while playing back
  K = 0;
  View.SetObjectLimit(TSimView::kAllObjects);
  View.SetToolCircle(std::nullopt);
}

void TPlaybackBar::RunChanged() {
  if (!IsActive) return;
  Pause();
  ReadTrack();
  ShowPosition(std::min(K, PlayTrack.Count()));
}

void TPlaybackBar::ReadTrack() {
  LastLine = 0;
  const TPlayedList& played = State.Played;
  const bool any = State.EngineHandle > 0 && !played.Empty();
  PlayTrack = any ? PlaybackTrackOfRun(State.EngineHandle, played, FeedUnitOfRun(State.EngineHandle))
                  : TPlaybackTrack();
  const QSignalBlocker quiet(sldPosition);
  sldPosition->setRange(0, static_cast<int>(PlayTrack.Count()));
  for (QWidget* w : {static_cast<QWidget*>(btnStepBack), static_cast<QWidget*>(btnPlay),
                     static_cast<QWidget*>(btnStepForward), static_cast<QWidget*>(sldPosition)})
    w->setEnabled(any);
}

void TPlaybackBar::SetPosition(size_t k) {
  k = std::min(k, PlayTrack.Count());
  PlaySeconds = PlayTrack.TimeAt(k);
  ShowPosition(k);
}

void TPlaybackBar::ShowPosition(size_t k) {
  K = k;
  if (PlayTrack.Count() == 0) {
    // Nothing plays back: the view shows what the run drew.
    View.SetObjectLimit(TSimView::kAllObjects);
    View.SetToolCircle(std::nullopt);
    lblStatus->setText(QStringLiteral("Nothing drawn to play back"));
    return;
  }
  View.SetObjectLimit(PlayTrack.ObjectLimit(k));
  const TToolMark tool = PlayTrack.ToolAt(k, State.Settings.Tools);
  View.SetToolCircle(TToolCircle{tool.Centre, tool.Radius});
  {
    const QSignalBlocker quiet(sldPosition);
    sldPosition->setValue(static_cast<int>(k));
  }
  lblStatus->setText(QString::fromStdString(PlaybackStatus(PlayTrack, k)));
  if (const int32_t line = PlayTrack.FileLineAt(k); line > 0 && line != LastLine) {
    LastLine = line;
    emit LineReached(line);
  }
}

void TPlaybackBar::StepForward() {
  Pause();
  SetPosition(K + 1);
}

void TPlaybackBar::StepBack() {
  Pause();
  SetPosition(K == 0 ? 0 : K - 1);
}

void TPlaybackBar::Play() {
  if (PlayTrack.Count() == 0) return;
  if (K >= PlayTrack.Count()) SetPosition(0);  // played to the end: from the start again
  Wall.start();
  Timer.start();
  UpdatePlayButton();
}

void TPlaybackBar::Pause() {
  Timer.stop();
  UpdatePlayButton();
}

void TPlaybackBar::SetSpeed(TPlaySpeed speed) {
  for (size_t i = 0; i < kPlaySpeeds.size(); ++i)
    if (kPlaySpeeds[i].Speed == speed) cbSpeed->setCurrentIndex(static_cast<int>(i));
}

void TPlaybackBar::Advance(double wallSeconds) {
  PlaySeconds = AdvancePlayTime(PlaySeconds, wallSeconds, PlaySpeed);
  const size_t k = PlayTrack.PositionAt(PlaySeconds);
  if (k != K) ShowPosition(k);
  if (K >= PlayTrack.Count()) Pause();
}

void TPlaybackBar::UpdatePlayButton() {
  const bool playing = Playing();
  btnPlay->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
  btnPlay->setToolTip(playing ? QStringLiteral("Pause") : QStringLiteral("Play"));
}
