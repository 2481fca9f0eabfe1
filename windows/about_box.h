// TAboutBox: product name, version, rights and a link to the maker's update page.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QUrl>

#include "windows/window_style.h"

class QPushButton;

// A web link: bold, underlined, blue; purple while the mouse is over it. Light shades, so
// that they stand out from the dark backing of the texts over the picture.
class TLinkLabel : public QLabel {
  Q_OBJECT

 public:
  static inline const QColor kNormalColor{102, 179, 255};
  static inline const QColor kHoverColor{204, 153, 255};

  explicit TLinkLabel(const QString& text, QWidget* parent = nullptr);
  QColor TextColor() const;

 signals:
  void Clicked();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetTextColor(const QColor& color);
};

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  // Without an update address (`updateUrl` empty or no web address) the window shows
  // neither the link nor the text before it.
  explicit TAboutBox(QWidget* parent = nullptr, const QUrl& updateUrl = ConfiguredUpdateUrl());

  // Shows the window, not modal, centred on the screen and in front: the main window's
  // "About" and the machine view's "Program information" call this. "OK" hides it.
  void ShowInFront();

  // The update address the program was configured with (VELQUOR_UPDATE_URL); none by default.
  static QUrl ConfiguredUpdateUrl();
  // The address the link opens.
  const QUrl& UpdateUrl() const { return Url_; }
  // A web address worth a link: http or https with a host.
  static bool LinkShown(const QUrl& url);

  const TTitlePicture& Title() const { return Title_; }
  TLinkLabel* Link() const { return lblLink; }
  QPushButton* OkButton() const { return btnOK; }

  void lblLinkClick();

 private:
  TTitlePicture Title_;
  QUrl Url_;
  TLinkLabel* lblLink = nullptr;
  QPushButton* btnOK = nullptr;
};
