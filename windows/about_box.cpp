#include "windows/about_box.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPushButton>

#include "windows/file_version_info.h"
#include "windows/picture_view.h"
#include "windows/window_style.h"

namespace {

constexpr int kWidth = 484;
constexpr int kHeight = 296;
constexpr const char* kPicture = ":/pictures/about.jpg";

}  // namespace

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  QFont f = BoldFont();
  f.setUnderline(true);
  setFont(f);
  setCursor(Qt::PointingHandCursor);
  SetTextColor(kNormalColor);
}

QColor TLinkLabel::TextColor() const { return palette().color(QPalette::WindowText); }

void TLinkLabel::SetTextColor(const QColor& color) {
  QPalette p = palette();
  p.setColor(QPalette::WindowText, color);
  setPalette(p);
}

void TLinkLabel::enterEvent(QEnterEvent* event) {
  SetTextColor(kHoverColor);
  QLabel::enterEvent(event);
}

void TLinkLabel::leaveEvent(QEvent* event) {
  SetTextColor(kNormalColor);
  QLabel::leaveEvent(event);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Clicked();
  QLabel::mouseReleaseEvent(event);
}

TAboutBox::TAboutBox(QWidget* parent, const QUrl& updateUrl)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), Url_(updateUrl) {
  setObjectName("AboutBox");
  setWindowTitle("Information");
  SetUpCompanionWindow(this);
  Title_ = AddTitlePicture(
      this, {kWidth, kHeight}, kPicture,
      {.ProductName = {TinyFont(), 6, 4}, .Version = {BoldFont(), 16, 196}, .Rights = {BoldFont(), 16, 216}});
  QLabel* updates = PictureLabel(this, "Updates available on:", BoldFont(), 16, 246);

  lblLink = new TLinkLabel(Url_.toString(), this);
  SetPictureTextBacking(lblLink);
  lblLink->move(updates->geometry().right() + 8, 246);
  lblLink->adjustSize();
  connect(lblLink, &TLinkLabel::Clicked, this, &TAboutBox::lblLinkClick);
  updates->setVisible(LinkShown(Url_));
  lblLink->setVisible(LinkShown(Url_));

  btnOK = new QPushButton("OK", this);
  btnOK->setDefault(true);
  btnOK->setGeometry(kWidth - 96, kHeight - 36, 80, 26);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::ShowInFront() { ShowCentredInFront(this); }

QUrl TAboutBox::ConfiguredUpdateUrl() { return QUrl(QStringLiteral(VELQUOR_UPDATE_URL)); }

bool TAboutBox::LinkShown(const QUrl& url) {
  return url.isValid() && (url.scheme() == "https" || url.scheme() == "http") && !url.host().isEmpty();
}

void TAboutBox::lblLinkClick() {
  if (LinkShown(Url_)) QDesktopServices::openUrl(Url_);
}
