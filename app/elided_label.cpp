#include "app/elided_label.h"

#include <QFontMetrics>

namespace {

// Room for a few letters and the ellipsis however narrow the window.
constexpr int kMinimumCharacters = 8;

}  // namespace

TElidedLabel::TElidedLabel(QWidget* parent) : QLabel(parent) {
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void TElidedLabel::SetFullText(const QString& text) {
  Full = text;
  Fit();
  updateGeometry();
}

QSize TElidedLabel::minimumSizeHint() const {
  return {fontMetrics().averageCharWidth() * kMinimumCharacters, QLabel::minimumSizeHint().height()};
}

QSize TElidedLabel::sizeHint() const {
  return {fontMetrics().horizontalAdvance(Full) + 2 * margin(), QLabel::sizeHint().height()};
}

void TElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Fit();
}

void TElidedLabel::Fit() {
  const QString shown = fontMetrics().elidedText(Full, Qt::ElideRight, contentsRect().width());
  setText(shown);
  setToolTip(shown == Full ? QString() : Full);
}
