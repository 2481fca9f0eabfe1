// Fonts and placement of the auxiliary windows.
#pragma once

#include <QColor>
#include <QFont>

class QLabel;
class QSize;
class QString;
class QWidget;
class TPictureView;

// The windows' font; where Tahoma is missing the desktop picks its nearest sans serif.
QFont TahomaFont();
// The small print over the splash and about pictures.
QFont TinyFont();
QFont BoldFont();

// Text over the dark pictures.
inline const QColor kPictureTextColor{Qt::white};

// A label of this font and colour at a place over a picture.
QLabel* PictureLabel(QWidget* parent, const QString& text, const QFont& font, int x, int y);

// Where a text stands over a picture, and in which font.
struct TTextPlace {
  QFont Font;
  int X = 0;
  int Y = 0;
};

// A picture that covers the window, with the program's name, version line and rights over it,
// as the splash and the about window show them.
struct TTitlePicture {
  TPictureView* Picture = nullptr;
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QLabel* Rights = nullptr;
};
struct TTitlePlaces {
  TTextPlace ProductName, Version, Rights;
};
TTitlePicture AddTitlePicture(QWidget* window, const QSize& size, const QString& picture, const TTitlePlaces& places);

void CenterOnScreen(QWidget* window);
// Centred, shown (not modal) and in front.
void ShowCentredInFront(QWidget* window);

// Font of these windows; they hide when closed and never keep the program running once the
// main window has closed.
void SetUpCompanionWindow(QWidget* window);
