// TAboutBox: product name, version, rights and a link to the maker's update page.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QUrl>

class QPushButton;
class TPictureView;

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

  TPictureView* Picture() const { return imgAbout; }
  QLabel* ProductNameLabel() const { return lblProductName; }
  QLabel* VersionLabel() const { return lblVersion; }
  QLabel* RightsLabel() const { return lblRights; }
  TLinkLabel* Link() const { return lblLink; }
  QPushButton* OkButton() const { return btnOK; }

  void lblLinkClick();

 private:
  TPictureView* imgAbout = nullptr;
  QLabel* lblProductName = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblRights = nullptr;
  TLinkLabel* lblLink = nullptr;
  QPushButton* btnOK = nullptr;
};
