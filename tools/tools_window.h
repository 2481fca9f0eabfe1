// TfrmTools: the tool table in an editable grid, tool definition files and the drill-file
// import. Modal; the table it was handed changes only on "Close and save tool defintion
// for current job".
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <string>

#include "display/user_dialogs.h"
#include "platform/viewer_settings.h"

class QAction;
class QMenuBar;
class QPlainTextEdit;
class QTableWidget;
class TfrmInfoToolDef;
class TfrmToolPreview;

class TfrmTools : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmTools(QWidget* parent = nullptr);

  // The help and preview windows are created after this one; the window uses them from then on.
  void SetToolWindows(TfrmInfoToolDef* help, TfrmToolPreview* preview);
  // Info > "Info about ORVIK CNC controller": the controller picture, a window of its own.
  std::function<void()> OnControllerInfo;

  // Hands the table over, shows the window modally and answers whether it closed with save;
  // then the settings file is to be written and the program processed again.
  bool Execute(TCncType& settings);

  // The steps of Execute, one by one.
  void HandOver(TToolTable& tools);
  bool ClosedWithSave() const { return ClosedWithSave_; }

  // The menu commands after their file dialogs.
  void OpenToolDefinition(const std::string& path);
  // Asks before replacing an existing file; true when the file was written.
  bool SaveToolDefinition(const std::string& path);
  void ImportToolDefinition(const std::string& path);

  QTableWidget* Grid() const { return Grid_; }
  QPlainTextEdit* Memo() const { return Memo_; }
  QMenuBar* MenuBar() const { return MenuBar_; }
  // The folder the file dialogs start in: "ToolDefinition" beside the executable.
  const QString& StartFolder() const { return StartFolder_; }
  // Who answers the window's file and overwrite questions.
  void SetDialogs(TUserDialogs dialogs) { Dialogs = std::move(dialogs); }

 private slots:
  void mnuOpenClick();
  void mnuSaveClick();
  void mnuImportClick();
  void mnuSaveAndCloseClick();
  void mnuCloseWithoutSaveClick();
  void mnuToolDefClick();

 private:
  QAction* AddMenuEntry(QMenu* menu, const char* name, const char* caption, const char* shortcut);
  void AddMemoLine(const QString& line);

  QMenuBar* MenuBar_;
  QTableWidget* Grid_;
  QPlainTextEdit* Memo_;
  QString StartFolder_;
  TfrmInfoToolDef* Help_ = nullptr;
  TfrmToolPreview* Preview_ = nullptr;
  TToolTable* Tools_ = nullptr;
  bool ClosedWithSave_ = false;
  TUserDialogs Dialogs = QtDialogs();
};

// The tool table window, its help and its preview, created in this order (their place in
// the program's start-up) and joined. They belong to `owner` and live as long as it does.
struct TToolWindows {
  TfrmTools* Tools = nullptr;
  TfrmInfoToolDef* Help = nullptr;
  TfrmToolPreview* Preview = nullptr;
};
TToolWindows CreateToolWindows(QWidget* owner);
