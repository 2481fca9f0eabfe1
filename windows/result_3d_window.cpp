#include "windows/result_3d_window.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "display/stock_relief.h"

namespace {

constexpr int kStartWidth = 1000;
constexpr int kStartHeight = 760;

}  // namespace

TResult3dWindow::TResult3dWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmResult3d"));
  setWindowTitle(QStringLiteral("Result in 3D"));
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->addStretch(1);
  OverlayRow = new QWidget(this);
  OverlayRow->setAutoFillBackground(true);
  auto* row = new QHBoxLayout(OverlayRow);
  row->setContentsMargins(8, 4, 8, 4);
  row->addStretch(1);
  Status = new QLabel(OverlayRow);
  Status->setObjectName(QStringLiteral("lblResult3d"));
  row->addWidget(Status);
  Progress = new QProgressBar(OverlayRow);
  Progress->setObjectName(QStringLiteral("barResult3d"));
  Progress->setRange(0, 100);
  Progress->setMaximumWidth(160);
  Progress->setFormat(QStringLiteral("Stock %p%"));
  Progress->hide();
  row->addWidget(Progress);
  column->addWidget(OverlayRow);
  resize(kStartWidth, kStartHeight);
}

QRect TResult3dWindow::PictureArea() const { return QRect(0, 0, width(), std::max(1, OverlayRow->y())); }

void TResult3dWindow::SetResult(std::shared_ptr<const TStockResult> result, std::vector<TOverlayList> overlays) {
  const bool first = !Result;
  Result = std::move(result);
  Overlays = std::move(overlays);
  Renderer.reset();
  for (QCheckBox* box : OverlayBoxes) box->deleteLater();
  OverlayBoxes.clear();
  auto* row = static_cast<QHBoxLayout*>(OverlayRow->layout());
  for (size_t k = 0; k < Overlays.size(); ++k) {
    auto* box = new QCheckBox(QString::fromUtf8(Overlays[k].Name), OverlayRow);
    row->insertWidget(static_cast<int>(k), box);
    connect(box, &QCheckBox::toggled, this, [this] { Redraw(); });
    OverlayBoxes.push_back(box);
  }
  if (Result && !Result->Map.Z.empty()) {
    Renderer = std::make_unique<TReliefRenderer>(Result->Map, Result->Box.Bottom(), Result->Map.MinZ());
    if (first) ResetView();
  }
  Redraw();
}

void TResult3dWindow::SetRunning(bool running) {
  Running = running;
  Progress->setValue(0);
  Progress->setVisible(running);
  Redraw();
}

void TResult3dWindow::SetProgress(int percent) { Progress->setValue(percent); }

void TResult3dWindow::SetView(const TOrbitView& view) {
  Camera = view;
  UserMoved = true;
  Redraw();
}

void TResult3dWindow::ResetView() {
  // A window not shown yet has no laid-out picture area of its own.
  layout()->activate();
  const QRect area = PictureArea();
  if (Result) Camera = StartView(Result->Map, Result->Box.Bottom(), area.width(), area.height());
  UserMoved = false;
  Redraw();
}

void TResult3dWindow::Redraw() {
  const QRect area = PictureArea();
  Camera.Width = area.width();
  Camera.Height = area.height();
  if (Renderer) {
    Frame = ReliefImage3d(*Renderer, Camera);
    PaintOverlays(Frame);
  } else {
    Frame = QImage(area.size(), QImage::Format_RGB32);
    Frame.fill(TReliefRenderer::kBackground);
  }
  QString text = Running ? QStringLiteral("Simulating…  ") : QString();
  if (Result)
    text +=
        QStringLiteral("Azimuth %1°, elevation %2°").arg(Camera.Azimuth, 0, 'f', 0).arg(Camera.Elevation, 0, 'f', 0);
  else if (!Running) text += QStringLiteral("No result: switch on View › Result and process a program");
  Status->setText(text);
  update();
}

void TResult3dWindow::PaintOverlays(QImage& image) const {
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  for (size_t k = 0; k < Overlays.size() && k < OverlayBoxes.size(); ++k) {
    if (!OverlayBoxes[k]->isChecked()) continue;
    QList<QLineF> lines;
    lines.reserve(static_cast<qsizetype>(Overlays[k].Segments.size()));
    for (const TOverlaySegment& s : Overlays[k].Segments) {
      const TPicturePoint a = Project(Camera, s.From), b = Project(Camera, s.To);
      lines.append(QLineF(a.X, a.Y, b.X, b.Y));
    }
    painter.setPen(QPen(QColor::fromRgb(Overlays[k].Colour), 1));
    painter.drawLines(lines);
  }
}

void TResult3dWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(PictureArea().topLeft(), Frame);
}

void TResult3dWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The start view fits the block to the window's size until the user moves it.
  if (!UserMoved && Result) ResetView();
  else Redraw();
}

void TResult3dWindow::mousePressEvent(QMouseEvent* event) { LastMouse = event->position().toPoint(); }

void TResult3dWindow::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  const QPoint d = at - LastMouse;
  LastMouse = at;
  if (event->buttons() & Qt::LeftButton) Orbit(Camera, -d.x() * kDegreesPerPixel, d.y() * kDegreesPerPixel);
  else if (event->buttons() & Qt::RightButton) Pan(Camera, d.x(), d.y());
  else return;
  UserMoved = true;
  Redraw();
}

void TResult3dWindow::wheelEvent(QWheelEvent* event) {
  // Touchpads send fractions of a notch: they add up.
  WheelRest += event->angleDelta().y();
  const int notches = WheelRest / kWheelNotch;
  WheelRest -= notches * kWheelNotch;
  if (notches == 0) return;
  const QPointF at = event->position() - QPointF(PictureArea().topLeft());
  ZoomAbout(Camera, std::pow(kZoomPerNotch, notches), at.x(), at.y());
  UserMoved = true;
  Redraw();
}

void TResult3dWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Home) ResetView();
  else if (event->key() == Qt::Key_Escape && Running && CancelRequested) CancelRequested();
  else QWidget::keyPressEvent(event);
}
