// Fonts and placement of the auxiliary windows.
#pragma once

#include <QColor>
#include <QFont>

class QLabel;
class QString;
class QWidget;

// The windows' font; where Tahoma is missing the desktop picks its nearest sans serif.
QFont TahomaFont();
// The small print over the splash and about pictures.
QFont TinyFont();
QFont BoldFont();

// Text over the dark pictures.
inline const QColor kPictureTextColor{Qt::white};

// A label of this font and colour at a place over a picture.
QLabel* PictureLabel(QWidget* parent, const QString& text, const QFont& font, int x, int y);

void CenterOnScreen(QWidget* window);
// Centred, shown (not modal) and in front.
void ShowCentredInFront(QWidget* window);

// Font of these windows; they hide when closed and never keep the program running once the
// main window has closed.
void SetUpCompanionWindow(QWidget* window);
