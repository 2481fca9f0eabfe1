#include "windows/real_point_view.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr const char* kCaption = "Simulation view: physical coordinates on ORVIK CNC controller";
// Least widths of the step counters and the zoom bar: room for "-1234567", and a bar that
// still moves, so that the whole panel fits an 800-pixel-wide screen.
constexpr int kCounterMinimumWidth = 56;
constexpr int kZoomBarMinimumWidth = 90;

QToolButton* ToolButton(QToolBar* bar, QStyle::StandardPixmap icon, const char* text, bool hint) {
  auto* b = new QToolButton(bar);
  b->setIcon(bar->style()->standardIcon(icon));
  b->setText(text);
  b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  if (hint) b->setToolTip(text);
  bar->addWidget(b);
  return b;
}

QScrollBar* ScrollBar(Qt::Orientation orientation, int min, int max, int position, QWidget* parent) {
  auto* bar = new QScrollBar(orientation, parent);
  bar->setRange(min, max);
  bar->setValue(position);
  return bar;
}

}  // namespace

TMachineSurface::TMachineSurface(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QImage& TMachineSurface::Picture() {
  if (Image.size() != size() && !size().isEmpty()) {
    QImage grown(size(), QImage::Format_RGB32);
    grown.fill(Qt::black);
    if (!Image.isNull()) QPainter(&grown).drawImage(0, 0, Image);
    Image = grown;
  }
  return Image;
}

void TMachineSurface::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  painter.drawImage(0, 0, Picture());
}

void TMachineSurface::resizeEvent(QResizeEvent*) {
  const bool grown = width() > Image.width() || height() > Image.height();
  Picture();
  // What the old picture did not cover needs a new run.
  if (grown && OnGrown) OnGrown();
}

TfrmRealPointView::TfrmRealPointView(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(kCaption);
  setFont(QFont("Tahoma"));
  resize(kSurfaceWidth, kSurfaceHeight);

  auto* tools = new QToolBar(this);
  CloseButton = ToolButton(tools, QStyle::SP_DialogCloseButton, "Close", false);
  RefreshButton = ToolButton(tools, QStyle::SP_BrowserReload, "Refresh", false);
  ProgramInfoButton = ToolButton(tools, QStyle::SP_MessageBoxInformation, "Program information", true);
  ControllerButton = ToolButton(tools, QStyle::SP_ComputerIcon, "Infos about ORVIK USB CNC controller", true);

  auto* panel = new QHBoxLayout;
  for (int axis = 0; axis < 3; ++axis) {
    panel->addWidget(new QLabel(kCurrentCaptions[axis], this));
    CounterLabels[axis] = new QLabel("0", this);
    CounterLabels[axis]->setMinimumWidth(kCounterMinimumWidth);
    panel->addWidget(CounterLabels[axis]);
  }
  ContourBox = new QCheckBox("show contour", this);
  PathBox = new QCheckBox("show cutting path", this);
  ContourBox->setChecked(true);
  PathBox->setChecked(true);
  panel->addWidget(ContourBox);
  panel->addWidget(PathBox);
  panel->addStretch();
  panel->addWidget(new QLabel("Zoom:", this));
  ZoomBar = ScrollBar(Qt::Horizontal, kZoomMin, kZoomMax, kZoomStart, this);
  ZoomBar->setPageStep(kZoomPage);
  ZoomBar->setMinimumWidth(kZoomBarMinimumWidth);
  panel->addWidget(ZoomBar);
  ZoomLabel = new QLabel(QString::fromStdString(ZoomLabelText(kZoomStart)), this);
  panel->addWidget(ZoomLabel);

  Surface = new TMachineSurface(this);
  HorzBar = ScrollBar(Qt::Horizontal, kScrollMin, kScrollMax, 0, this);
  VertBar = ScrollBar(Qt::Vertical, kScrollMin, kScrollMax, 0, this);
  auto* drawing = new QGridLayout;
  drawing->setSpacing(0);
  drawing->addWidget(Surface, 0, 0);
  drawing->addWidget(VertBar, 0, 1);
  drawing->addWidget(HorzBar, 1, 0);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(tools);
  layout->addLayout(panel);
  layout->addLayout(drawing, 1);

  connect(CloseButton, &QToolButton::clicked, this, [this] { CloseClick(); });
  connect(RefreshButton, &QToolButton::clicked, this, [this] { ControlChanged(); });
  connect(ProgramInfoButton, &QToolButton::clicked, this, [this] {
    if (OnProgramInfo) OnProgramInfo();
  });
  connect(ControllerButton, &QToolButton::clicked, this, [this] {
    if (OnControllerInfo) OnControllerInfo();
  });
  connect(ZoomBar, &QScrollBar::valueChanged, this, [this](int position) {
    ZoomLabel->setText(QString::fromStdString(ZoomLabelText(position)));
    ControlChanged();
  });
  for (QScrollBar* bar : {HorzBar, VertBar})
    connect(bar, &QScrollBar::valueChanged, this, [this] { ControlChanged(); });
  for (QCheckBox* box : {ContourBox, PathBox}) connect(box, &QCheckBox::toggled, this, [this] { ControlChanged(); });
  Surface->OnGrown = [this] { ControlChanged(); };
}

TMachineViewControls TfrmRealPointView::Controls() const {
  return {ZoomBar->value(), HorzBar->value(), VertBar->value(), ContourBox->isChecked(), PathBox->isChecked()};
}

void TfrmRealPointView::ShowStepCounters(const TStepPosition& counters) {
  const int64_t values[3] = {counters.X, counters.Y, counters.Z};
  for (int axis = 0; axis < 3; ++axis) CounterLabels[axis]->setText(QString::number(values[axis]));
}

void TfrmRealPointView::SurfaceDrawn() { Surface->update(); }

void TfrmRealPointView::ControlChanged() {
  Surface->update();
  if (OnRedraw) OnRedraw();
}

void TfrmRealPointView::CloseClick() {
  hide();
  if (OnClosed) OnClosed();
}

bool TfrmRealPointView::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) {
    Surface->Picture().fill(Qt::black);
    ControlChanged();
  }
  return QWidget::event(e);
}

void TfrmRealPointView::closeEvent(QCloseEvent* e) {
  // Closed by the window frame: hidden like by its Close button, so the main window's mark
  // follows.
  e->ignore();
  CloseClick();
}
