// A label of the status bar that shows as much of its text as its width allows, ending in
// "…" when cut, and then gives the whole text as its tooltip.
#pragma once

#include <QLabel>

class TElidedLabel : public QLabel {
 public:
  explicit TElidedLabel(QWidget* parent = nullptr);

  void SetFullText(const QString& text);
  const QString& FullText() const { return Full; }
  bool Elided() const { return text() != Full; }

  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Fit();
  QString Full;
};
