#include "app/export_picture.h"

#include <QDir>
#include <QFileInfo>

#include "display/picture_export.h"
#include "display/sim_view.h"

TFileQuestion ExportPictureQuestion(const std::string& programFile) {
  return {TFileAction::Save,
          QStringLiteral("Export picture"),
          SuggestedPictureName(programFile),
          {{QStringLiteral("PNG picture (*.png)"), QStringLiteral("png")},
           {QStringLiteral("SVG drawing (*.svg)"), QStringLiteral("svg")}},
          true,
          false};
}

QString SuggestedPictureName(const std::string& programFile) {
  if (programFile.empty()) return {};
  const QFileInfo program(QString::fromStdString(programFile));
  return program.absoluteDir().filePath(program.completeBaseName() + QStringLiteral(".png"));
}

std::string ExportViewPicture(TSimView& view, const std::string& fileName) {
  if (view.RepaintRequested()) view.PaintView();
  const TExportResult r = ExportPicture(view, fileName);
  return r.Ok ? "Picture saved to " + fileName : r.Error;
}
