#include "display/user_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>

namespace {

QString AskForFile(QWidget* parent, const TFileQuestion& question) {
  QPointer<QFileDialog> dialog = MakeFileDialog(parent, question);
  const bool chosen = dialog->exec() == QDialog::Accepted;
  // The parent may have gone while the dialog ran, taking the dialog with it.
  if (!dialog) return {};
  const QString file = chosen ? dialog->selectedFiles().value(0) : QString();
  delete dialog;
  return file;
}

bool AskYesNo(QWidget* parent, const TYesNoQuestion& question) {
  return QMessageBox::question(parent, question.Title, question.Text, QMessageBox::Yes | QMessageBox::No,
                               question.DefaultYes ? QMessageBox::Yes : QMessageBox::No) == QMessageBox::Yes;
}

void Warn(QWidget* parent, const QString& title, const QString& text) { QMessageBox::warning(parent, title, text); }

}  // namespace

TUserDialogs QtDialogs() { return {AskForFile, AskYesNo, Warn}; }

QFileDialog* MakeFileDialog(QWidget* parent, const TFileQuestion& question) {
  // Given a file, the dialog opens its folder with the file selected.
  auto* dialog = new QFileDialog(parent, question.Title, question.Start);
  const bool save = question.Action == TFileAction::Save;
  dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog->setOption(QFileDialog::DontUseNativeDialog, !question.SystemDialog);
  dialog->setOption(QFileDialog::DontConfirmOverwrite, !question.ConfirmOverwrite);
  QStringList names;
  for (const TFileFilter& f : question.Filters) names << f.Name;
  if (!names.isEmpty()) {
    dialog->setNameFilters(names);
    dialog->setDefaultSuffix(question.Filters.front().Suffix);
  }
  const std::vector<TFileFilter> filters = question.Filters;
  QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog, filters](const QString& name) {
    for (const TFileFilter& f : filters)
      if (f.Name == name) dialog->setDefaultSuffix(f.Suffix);
  });
  return dialog;
}
