#include "app/export_picture.h"

#include <QFileDialog>
#include <QFileInfo>

#include "display/picture_export.h"
#include "display/sim_view.h"

namespace {

const QString kPngFilter = QStringLiteral("PNG picture (*.png)");
const QString kSvgFilter = QStringLiteral("SVG drawing (*.svg)");

}  // namespace

QFileDialog* MakeExportDialog(QWidget* parent) {
  auto* dialog = new QFileDialog(parent, QStringLiteral("Export picture"));
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setNameFilters({kPngFilter, kSvgFilter});
  dialog->setDefaultSuffix(QStringLiteral("png"));
  QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString& filter) {
    dialog->setDefaultSuffix(filter == kSvgFilter ? QStringLiteral("svg") : QStringLiteral("png"));
  });
  return dialog;
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
