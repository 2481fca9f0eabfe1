// TdlgController: a picture of the ORVIK USB CNC controller.
#pragma once

#include <QDialog>

class QPushButton;
class TPictureView;

class TdlgController : public QDialog {
  Q_OBJECT

 public:
  explicit TdlgController(QWidget* parent = nullptr);

  // Shows the dialog centred on the screen: the machine view's "Infos about ORVIK USB CNC
  // controller" and the tool window's "Info about ORVIK CNC controller" call this. Not
  // modal, unless a modal window is open.
  void ShowController();

  TPictureView* Picture() const { return imgController; }
  QPushButton* CloseButton() const { return btnClose; }

 private:
  TPictureView* imgController = nullptr;
  QPushButton* btnClose = nullptr;
};
