// TAboutBox: product name, version, rights and a link to the maker's update page.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QUrl>

#include "windows/window_style.h"

class QPushButton;

// A web link: bold, underlined, blue; purple while the mouse is over it.
class TLinkLabel : public QLabel {
  Q_OBJECT

 public:
  static inline const QColor kNormalColor{0, 0, 255};
  static inline const QColor kHoverColor{128, 0, 128};

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
  explicit TAboutBox(QWidget* parent = nullptr);

  // Shows the window, not modal, centred on the screen and in front: the main window's
  // "About" and the machine view's "Program information" call this. "OK" hides it.
  void ShowInFront();

  // The address the link opens, set when the program is configured.
  static QUrl UpdateUrl();

  const TTitlePicture& Title() const { return Title_; }
  TLinkLabel* Link() const { return lblLink; }
  QPushButton* OkButton() const { return btnOK; }

  void lblLinkClick();

 private:
  TTitlePicture Title_;
  TLinkLabel* lblLink = nullptr;
  QPushButton* btnOK = nullptr;
};
