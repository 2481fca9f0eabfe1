#include "windows/picture_view.h"

#include <QPainter>
#include <QtDebug>

#include "windows/jpeg_picture.h"

TPictureView::TPictureView(QWidget* parent) : QWidget(parent) {}

TPictureView* TPictureView::CoverWindow(QWidget* window, const QSize& size, const QString& path) {
  window->setFixedSize(size);
  auto* view = new TPictureView(window);
  view->setGeometry(QRect(QPoint(0, 0), size));
  view->LoadPicture(path);
  return view;
}

bool TPictureView::LoadPicture(const QString& path) {
  TJpegResult r = LoadJpegPicture(path);
  Picture_ = r.Image;
  Error_ = r.Error;
  if (!Error_.isEmpty()) qWarning().noquote() << "Picture not shown:" << Error_;
  update();
  return Error_.isEmpty();
}

void TPictureView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (Picture_.isNull()) {
    p.fillRect(rect(), Qt::black);
  } else {
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), Picture_);
  }
}
