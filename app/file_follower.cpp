#include "app/file_follower.h"

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

TFileStamp StampOf(const QString& path) {
  struct stat st {};
  if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
  return {true, static_cast<int64_t>(st.st_size),
          static_cast<int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
          static_cast<uint64_t>(st.st_ino)};
}

TFollowAction FollowStep(TFollowState& state, const TFileStamp& now) {
  if (!now.Exists) {
    if (state.VanishTold) return TFollowAction::None;
    state.VanishTold = true;
    return TFollowAction::Vanished;
  }
  state.VanishTold = false;
  if (now == state.Processed) return TFollowAction::None;
  state.Processed = now;
  return TFollowAction::Process;
}

std::string FollowMessage(TFollowAction action, const std::string& file) {
  if (action == TFollowAction::Vanished) return "File vanished from disk, the picture stays as it was: " + file;
  return "File changed on disk, processing it again: " + file;
}

TFileFollower::TFileFollower(TOnAction onAction, QObject* parent)
    : QObject(parent), OnAction(std::move(onAction)), Watcher(new QFileSystemWatcher(this)), Settle(new QTimer(this)) {
  Settle->setSingleShot(true);
  Settle->setInterval(kFollowSettleMs);
  // Every further change of the file starts the wait again; other files of its folder do not,
  // or a busy folder would keep it from ever settling.
  const auto changed = [this] {
    const TFileStamp now = StampOf(File);
    if (now == Seen) return;
    Seen = now;
    Settle->start();
  };
  connect(Watcher, &QFileSystemWatcher::fileChanged, this, changed);
  connect(Watcher, &QFileSystemWatcher::directoryChanged, this, changed);
  connect(Settle, &QTimer::timeout, this, &TFileFollower::Settled);
}

void TFileFollower::Processing(const QString& path) {
  if (path != File) {
    File = path;
    State = {};
  }
  State.Processed = StampOf(File);
  State.VanishTold = !State.Processed.Exists;  // a missing file gets the run's own messages
  Seen = State.Processed;
  Watch();
}

void TFileFollower::SetEnabled(bool on) {
  if (on == On) return;
  On = on;
  Watch();
  Seen = StampOf(File);
  if (On && !File.isEmpty()) Settle->start();
}

void TFileFollower::Watch() {
  const QStringList watched = Watcher->files() + Watcher->directories();
  if (!watched.isEmpty()) Watcher->removePaths(watched);
  if (!On || File.isEmpty()) {
    Settle->stop();
    return;
  }
  const QFileInfo info(File);
  if (info.exists()) Watcher->addPath(File);
  if (info.absoluteDir().exists()) Watcher->addPath(info.absolutePath());
}

void TFileFollower::Settled() {
  if (!On || File.isEmpty()) return;
  // A file replaced by a rename is a new file: the old watch went with the old one.
  if (!Watcher->files().contains(File) && QFileInfo::exists(File)) Watcher->addPath(File);
  const TFollowAction action = FollowStep(State, StampOf(File));
  if (action != TFollowAction::None) OnAction(action);
}
