// TfrmShowCncFile: the program text window. Shows a program file for reading and editing,
// saves it, and adds or removes N block numbers.
#pragma once

#include <QWidget>
#include <optional>

#include "display/user_dialogs.h"
#include "windows/program_text_file.h"

class QPlainTextEdit;
class QToolButton;

class TfrmShowCncFile : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmShowCncFile(QWidget* parent = nullptr);

  // Replaces the text by the file's and clears the changed mark. A file that cannot be read
  // gets a message box naming it and the reason; the text stays then. False on failure.
  bool Load(const QString& fileName);
  // What the main window's "Edit CNC file" does: a changed text is offered for saving first
  // (so it is not lost silently), then the file is loaded and the window shown.
  bool EditFile(const QString& fileName);

  const QString& FileName() const { return FileName_; }
  bool Changed() const { return Changed_; }
  QPlainTextEdit* Memo() const { return Memo1; }
  // Scrolls to the first line with block number `number` and selects it; false when none has it.
  bool SelectBlock(int32_t number);
  // Selects line `line` (from 0) of the text, as a double click on it does.
  void SelectLine(int line);
  // Who answers the window's questions and reads its warnings.
  void SetDialogs(TUserDialogs dialogs) { Dialogs = std::move(dialogs); }
  // What "Open CNC file" asks.
  TFileQuestion OpenQuestion() const;

 signals:
  // A double click on line `line` (from 0).
  void LineDoubleClicked(int line);

 public:
  void btnCloseClick();
  void btnOpenClick();
  void btnSaveClick();
  void btnCreateNumbersClick();
  void btnClearNumbersClick();
  void btnOpenVelquorClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Asks "program has been changed - Save?" when a loaded file's text is; false when saving was
  // chosen and failed.
  bool OfferToSave();
  bool Save();
  bool WriteFile(std::string_view bytes);
  void SetText(const QString& text);
  void SetChanged(bool changed);
  void ShowError(const QString& text);

  QPlainTextEdit* Memo1 = nullptr;
  QToolButton* btnSave = nullptr;
  QToolButton* btnCreateNumbers = nullptr;
  QString FileName_;
  TProgramTextFormat Format_;
  bool Changed_ = false;
  bool SettingText_ = false;
  TUserDialogs Dialogs = QtDialogs();
};
