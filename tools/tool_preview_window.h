// TfrmToolPreview: the tools found in a drill file's tool block, to accept or reject.
#pragma once

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

#include "tools/tool_block.h"

class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class TfrmToolPreview : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmToolPreview(QWidget* parent = nullptr);

  // Empties grid and log, then shows what the file's tool block holds. Returns the parse
  // result: 0 parsed, 1 a line could not be read, 2 the file could not be opened or closed.
  int Parse(const std::string& fileName);
  // Shows the window modally; true when the user pressed "accept".
  bool Execute();
  // "accept" after an accepted showing, otherwise empty.
  const QString& Result() const { return Result_; }
  // Every row of the grid, in grid order.
  std::vector<TToolRow> Rows() const;
  // The log as the parser wrote it (line ends CR LF).
  const std::string& LogText() const { return Log_; }

  QTableWidget* Grid() const { return Grid_; }
  QPlainTextEdit* Log() const { return LogView_; }
  QPushButton* AcceptButton() const { return btnAccept_; }
  QPushButton* RejectButton() const { return btnReject_; }

 private slots:
  void btnAcceptClick();
  void btnRejectClick();

 private:
  QTableWidget* Grid_;
  QPlainTextEdit* LogView_;
  QPushButton* btnAccept_;
  QPushButton* btnReject_;
  QString Result_;
  std::string Log_;
};
