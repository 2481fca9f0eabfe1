// Opening programs as a desktop program does: files dropped onto the window, the list of
// recently opened programs, and the user's own choices kept between runs (viewer_preferences).
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QMenu;
class QMimeData;

inline constexpr int kMostRecentFiles = 8;

// `list` with `path` in front, an earlier entry of the same file dropped, cut to `most`.
QStringList WithRecent(const QStringList& list, const QString& path, int most = kMostRecentFiles);

QStringList ReadRecentFiles();
// Puts an opened program at the top of the kept list; names of no existing file are not kept.
void RememberOpened(const QString& path);
bool ReadFollowFileChanges();
void WriteFollowFileChanges(bool on);

// Fills `menu` with the kept list, newest first, "&1 name" and so on; files no longer on disk
// are shown disabled. `open` gets the chosen file.
void FillRecentMenu(QMenu& menu, const QStringList& files, const std::function<void(const QString&)>& open);

// The program file a drag brings: its first local file that is not a folder; empty when it
// brings none.
QString DroppedProgram(const QMimeData* data);

// Installed on the main window: takes drags that bring a file and hands the dropped file on.
class TDropOpener : public QObject {
 public:
  TDropOpener(std::function<void(const QString&)> open, QObject* parent);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(const QString&)> Open;
};
