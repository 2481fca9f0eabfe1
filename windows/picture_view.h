// A JPEG picture stretched over the whole widget; black where there is none.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class TPictureView : public QWidget {
  Q_OBJECT

 public:
  explicit TPictureView(QWidget* parent = nullptr);

  // A window of a fixed size whose whole area is the picture at `path`.
  static TPictureView* CoverWindow(QWidget* window, const QSize& size, const QString& path);

  // A missing or broken picture leaves the area black and logs one warning.
  bool LoadPicture(const QString& path);
  const QImage& Picture() const { return Picture_; }
  const QString& Error() const { return Error_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage Picture_;
  QString Error_;
};
