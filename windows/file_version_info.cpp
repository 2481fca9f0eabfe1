#include "windows/file_version_info.h"

#include <QMimeDatabase>
#include <QString>

#include "platform/executable_path.h"

std::string ShellTypeName(const std::string& path) {
  const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromStdString(path));
  return type.isValid() ? type.comment().left(static_cast<qsizetype>(kMaxTypeNameLength)).toStdString() : "";
}

TVersionReadResult ReadFileVersionInfoWithTypeName(const std::string& path) {
  TVersionReadResult r = ReadFileVersionInfo(path);
  if (r.Ok) r.Info.TypeName = ShellTypeName(path);
  return r;
}

const TFileVersionInfo& OwnVersionInfo() {
  static const TFileVersionInfo info = ReadFileVersionInfoWithTypeName(ExecutablePath()).Info;
  return info;
}
