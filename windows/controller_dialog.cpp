#include "windows/controller_dialog.h"

#include <QApplication>
#include <QFrame>
#include <QPushButton>

#include "windows/picture_view.h"
#include "windows/window_style.h"

namespace {

constexpr int kWidth = 534;
constexpr int kHeight = 437;
constexpr int kPictureWidth = 505;
constexpr int kPictureHeight = 377;
constexpr int kMargin = 12;
constexpr const char* kPicture = ":/pictures/controller.jpg";

}  // namespace

TdlgController::TdlgController(QWidget* parent) : QDialog(parent) {
  setObjectName("dlgController");
  setWindowTitle("ORVIK USB CNC Controller");
  SetUpCompanionWindow(this);
  setFixedSize(kWidth, kHeight);

  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setLineWidth(1);
  const int frame = panel->frameWidth();
  panel->setGeometry(kMargin, kMargin, kPictureWidth + 2 * frame, kPictureHeight + 2 * frame);
  imgController = new TPictureView(panel);
  imgController->setGeometry(frame, frame, kPictureWidth, kPictureHeight);
  imgController->LoadPicture(kPicture);

  btnClose = new QPushButton("Close", this);
  btnClose->setDefault(true);
  btnClose->setGeometry(kWidth - kMargin - 80, kHeight - kMargin - 26, 80, 26);
  connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TdlgController::ShowController() {
  // Over a modal window (the tool table) only a modal dialog takes clicks, its Close included.
  const QWidget* modal = QApplication::activeModalWidget();
  if (!isVisible()) setWindowModality(modal && modal != this ? Qt::ApplicationModal : Qt::NonModal);
  ShowCentredInFront(this);
}
