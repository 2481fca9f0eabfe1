// TfrmInfoToolDef: help on the tool block of a drill file.
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TfrmInfoToolDef : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmInfoToolDef(QWidget* parent = nullptr);

  QPlainTextEdit* Text() const { return Text_; }
  QPushButton* CloseButton() const { return btnClose_; }

 private:
  QPlainTextEdit* Text_;
  QPushButton* btnClose_;
};
