// Follows the program file on disk: when it changes and the writes have settled, the owner
// processes it again; when it vanishes, the owner says so once. Editors often save by writing
// a new file and renaming it over the old one, so the folder is watched as well and the file
// is watched again once it is back.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>

class QFileSystemWatcher;
class QTimer;

// How long the file must stay unchanged before it is read again.
inline constexpr int kFollowSettleMs = 300;

// What identifies one version of a file on disk.
struct TFileStamp {
  bool Exists = false;
  int64_t Size = 0;
  int64_t ModifiedNs = 0;
  uint64_t Inode = 0;
  friend bool operator==(const TFileStamp&, const TFileStamp&) = default;
};

TFileStamp StampOf(const QString& path);

enum class TFollowAction { None, Process, Vanished };

// The stamp of the version last processed, and whether its vanishing was told.
struct TFollowState {
  TFileStamp Processed;
  bool VanishTold = false;
};

// One look at the file after the writes settled: a new version is processed, a vanished
// file is told once (until it comes back), anything else does nothing.
TFollowAction FollowStep(TFollowState& state, const TFileStamp& now);

// The pane line for a processed-again or vanished file.
std::string FollowMessage(TFollowAction action, const std::string& file);

class TFileFollower : public QObject {
  Q_OBJECT

 public:
  using TOnAction = std::function<void(TFollowAction)>;
  TFileFollower(TOnAction onAction, QObject* parent = nullptr);

  // The file is about to be processed: its present version counts as seen. Empty stops following.
  void Processing(const QString& path);
  // Off: changes go unnoticed. On again: a version written meanwhile is processed.
  void SetEnabled(bool on);
  bool Enabled() const { return On; }
  const QString& Path() const { return File; }

 private:
  void Watch();
  void Settled();

  TOnAction OnAction;
  QFileSystemWatcher* Watcher = nullptr;
  QTimer* Settle = nullptr;
  QString File;
  TFollowState State;
  TFileStamp Seen;  // the file at the last change noticed
  bool On = true;
};
