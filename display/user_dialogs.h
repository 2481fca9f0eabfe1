// The questions a window puts to its user (which file, yes or no) and its warnings, as data,
// and who answers them. A window asks through its TUserDialogs: by default real Qt dialogs
// answer; tests put their own answers in their place, since a real file dialog fills its
// list in the background and a test that drives it races that.
#pragma once

#include <QString>
#include <functional>
#include <vector>

class QFileDialog;
class QWidget;

enum class TFileAction { Open, Save };

struct TFileFilter {
  QString Name;    // as the dialog lists it, e.g. "PNG picture (*.png)"
  QString Suffix;  // given to a saved name typed without one; empty: none
};

struct TFileQuestion {
  TFileAction Action = TFileAction::Open;
  QString Title;
  QString Start;  // the folder the dialog shows, or a file there to preselect
  std::vector<TFileFilter> Filters;
  bool ConfirmOverwrite = true;  // a save dialog asks before an existing file is chosen
  bool SystemDialog = false;     // the desktop's own dialog where it has one
};

struct TYesNoQuestion {
  QString Title;
  QString Text;
  bool DefaultYes = false;  // what Enter answers
};

// The chosen file, empty when the user cancelled.
using TFileChooser = std::function<QString(QWidget* parent, const TFileQuestion& question)>;

struct TUserDialogs {
  TFileChooser ChooseFile;
  std::function<bool(QWidget* parent, const TYesNoQuestion& question)> AskYesNo;
  // A message the user closes with OK.
  std::function<void(QWidget* parent, const QString& title, const QString& text)> Warn;
};

// Real Qt dialogs, modal over `parent`.
TUserDialogs QtDialogs();

// The real file dialog for `question`, set up but not shown; it belongs to `parent`.
QFileDialog* MakeFileDialog(QWidget* parent, const TFileQuestion& question);
