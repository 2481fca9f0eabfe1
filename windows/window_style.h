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

// Text over the pictures, on a dark backing of its own: whatever the picture shows under
// it, the text keeps a contrast of at least kMinimumContrast.
inline const QColor kPictureTextColor{Qt::white};
inline const QColor kPictureTextBacking{16, 16, 16};
inline constexpr double kMinimumContrast = 4.5;

// The contrast ratio of two colours, from 1 (alike) to 21 (black and white), as the web's
// accessibility guidelines define it.
double ContrastRatio(const QColor& a, const QColor& b);
// Gives a label over a picture its dark backing and a little room around its text.
void SetPictureTextBacking(QLabel* label);

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

// Centred on the screen, and made smaller where it would not fit on it.
void CenterOnScreen(QWidget* window);
// Sets the window's place and size, wholly inside its screen's available area: centred on
// `owner` when given, else on the screen; with `keepPlace` where it is now.
void PlaceOnScreen(QWidget* window, const QWidget* owner, bool keepPlace = false);
// The window's first showing centres it on `owner`; later ones keep the place the user
// left it at; every showing keeps it wholly on the screen.
void KeepOnScreen(QWidget* window, const QWidget* owner);
// Centred, shown (not modal) and in front.
void ShowCentredInFront(QWidget* window);

// Font of these windows; they hide when closed and never keep the program running once the
// main window has closed.
void SetUpCompanionWindow(QWidget* window);
