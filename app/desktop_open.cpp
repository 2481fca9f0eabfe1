#include "app/desktop_open.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "app/viewer_preferences.h"

namespace {

constexpr const char* kRecentKey = "RecentFiles";
constexpr const char* kFollowKey = "FollowFileChanges";

// One name per file, so the same program opened two ways counts once.
QString Canonical(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

}  // namespace

QStringList WithRecent(const QStringList& list, const QString& path, int most) {
  QStringList out{path};
  for (const QString& p : list)
    if (out.size() < most && p != path) out << p;
  return out.mid(0, most);
}

QStringList ReadRecentFiles() { return ViewerPreferences().value(kRecentKey).toStringList().mid(0, kMostRecentFiles); }

void RememberOpened(const QString& path) {
  if (!QFileInfo(path).isFile()) return;
  ViewerPreferences().setValue(kRecentKey, WithRecent(ReadRecentFiles(), Canonical(path)));
}

bool ReadFollowFileChanges() { return ViewerPreferences().value(kFollowKey, true).toBool(); }

void WriteFollowFileChanges(bool on) { ViewerPreferences().setValue(kFollowKey, on); }

void FillRecentMenu(QMenu& menu, const QStringList& files, const std::function<void(const QString&)>& open) {
  menu.clear();
  if (files.isEmpty()) {
    menu.addAction(QStringLiteral("No recent files"))->setEnabled(false);
    return;
  }
  for (int i = 0; i < files.size(); ++i) {
    const QString file = files[i];
    // "&&" shows an ampersand in a file name instead of making it an accelerator.
    const QString shown = QDir::toNativeSeparators(file).replace('&', QStringLiteral("&&"));
    QAction* a = menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    a->setEnabled(QFileInfo(file).isFile());
    QObject::connect(a, &QAction::triggered, &menu, [open, file] { open(file); });
  }
}

QString DroppedProgram(const QMimeData* data) {
  if (!data || !data->hasUrls()) return {};
  // A folder is no program: dropping one would only read an empty program.
  for (const QUrl& url : data->urls())
    if (url.isLocalFile() && !url.toLocalFile().isEmpty() && !QFileInfo(url.toLocalFile()).isDir())
      return url.toLocalFile();
  return {};
}

TDropOpener::TDropOpener(std::function<void(const QString&)> open, QObject* parent)
    : QObject(parent), Open(std::move(open)) {}

bool TDropOpener::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDropEvent*>(event);
      if (DroppedProgram(drag->mimeData()).isEmpty()) return false;
      drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QString file = DroppedProgram(drop->mimeData());
      if (file.isEmpty()) return false;
      drop->acceptProposedAction();
      Open(file);
      return true;
    }
    default: return QObject::eventFilter(watched, event);
  }
}
