#include "windows/window_style.h"

#include <QLabel>
#include <QScreen>
#include <QWidget>

#include "windows/file_version_info.h"
#include "windows/picture_view.h"

namespace {

constexpr int kWindowPointSize = 8;
constexpr int kTinyPixelSize = 5;

}  // namespace

QFont TahomaFont() {
  QFont f("Tahoma", kWindowPointSize);
  f.setStyleHint(QFont::SansSerif);
  return f;
}

QFont TinyFont() {
  QFont f = TahomaFont();
  f.setPixelSize(kTinyPixelSize);
  return f;
}

QFont BoldFont() {
  QFont f = TahomaFont();
  f.setBold(true);
  return f;
}

QLabel* PictureLabel(QWidget* parent, const QString& text, const QFont& font, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, kPictureTextColor);
  label->setPalette(palette);
  label->move(x, y);
  label->adjustSize();
  return label;
}

TTitlePicture AddTitlePicture(QWidget* window, const QSize& size, const QString& picture, const TTitlePlaces& places) {
  TTitlePicture t;
  t.Picture = TPictureView::CoverWindow(window, size, picture);
  const TFileVersionInfo& info = OwnVersionInfo();
  const auto label = [window](const std::string& text, const TTextPlace& place) {
    return PictureLabel(window, QString::fromStdString(text), place.Font, place.X, place.Y);
  };
  t.ProductName = label(info.ProductName, places.ProductName);
  t.Version = label(VersionLine(info), places.Version);
  t.Rights = label(info.LegalCopyRight, places.Rights);
  return t;
}

void CenterOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

void ShowCentredInFront(QWidget* window) {
  CenterOnScreen(window);
  window->show();
  window->raise();
  window->activateWindow();
}

void SetUpCompanionWindow(QWidget* window) {
  window->setFont(TahomaFont());
  window->setAttribute(Qt::WA_QuitOnClose, false);
}
