#include "windows/window_style.h"

#include <QLabel>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <optional>

#include "windows/file_version_info.h"
#include "windows/picture_view.h"
#include "windows/window_place.h"

namespace {

constexpr int kWindowPointSize = 8;
constexpr int kTinyPixelSize = 5;
constexpr int kBackingMargin = 3;  // pixels of backing left and right of a text over a picture

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
  SetPictureTextBacking(label);
  label->move(x, y);
  label->adjustSize();
  return label;
}

void SetPictureTextBacking(QLabel* label) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, kPictureTextBacking);
  label->setPalette(palette);
  label->setAutoFillBackground(true);
  label->setContentsMargins(kBackingMargin, 0, kBackingMargin, 0);
}

namespace {

// Relative luminance of an sRGB colour.
double Luminance(const QColor& c) {
  const auto channel = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
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

void CenterOnScreen(QWidget* window) { PlaceOnScreen(window, nullptr); }

namespace {

TScreenRect ScreenRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// The frame the window manager puts around the window: known once it has been shown.
TFrameMargins FrameOf(const QWidget* window) {
  if (window->windowFlags().testFlag(Qt::FramelessWindowHint)) return {};
  const QWindow* handle = window->windowHandle();
  if (!handle) return kFrameEstimate;
  const QMargins m = handle->frameMargins();
  if (m.isNull()) return kFrameEstimate;
  return {m.left(), m.top(), m.right(), m.bottom()};
}

class TOnScreenPlacer : public QObject {
 public:
  TOnScreenPlacer(QWidget* window, const QWidget* owner) : QObject(window), Owner(owner) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched == parent()) {
      PlaceOnScreen(static_cast<QWidget*>(watched), Owner, Shown);
      Shown = true;
    }
    return false;
  }

 private:
  const QWidget* Owner;
  bool Shown = false;
};

}  // namespace

void PlaceOnScreen(QWidget* window, const QWidget* owner, bool keepPlace) {
  const QScreen* screen = owner && owner->isVisible() ? owner->screen() : window->screen();
  if (!screen) return;
  const QRect g = window->geometry();
  std::optional<TScreenRect> centreOn;
  if (owner && owner->isVisible()) centreOn = ScreenRect(owner->geometry());
  const std::optional<TScreenRect> at = keepPlace ? std::optional(ScreenRect(g)) : std::nullopt;
  const TFrameMargins frame = FrameOf(window);
  const TScreenRect r = PlaceWindow(g.width(), g.height(), frame, ScreenRect(screen->availableGeometry()), at,
                                    centreOn);
  window->resize(r.Width, r.Height);
  // A top-level window moves by its frame's corner, also before the frame is known.
  window->move(r.X - frame.Left, r.Y - frame.Top);
}

void KeepOnScreen(QWidget* window, const QWidget* owner) {
  window->installEventFilter(new TOnScreenPlacer(window, owner));
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
