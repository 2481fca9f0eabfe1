#include "app/result_companions.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <cmath>
#include <numbers>

#include "display/sim_box.h"
#include "engine/run_elements.h"
#include "windows/section_plot_window.h"
#include "windows/window_style.h"

namespace {

// Arcs are laid over the relief in chords of at most this angle.
constexpr double kChordDegrees = 5.0;
constexpr uint32_t kContourOverlayColour = 0xffffff;
constexpr uint32_t kPathOverlayColour = 0xff4040;
constexpr QRgb kSectionLineColour = 0xffff3030;
// The section plot's first place: this far inside the main window's lower right corner.
constexpr int kPlotInset = 24;

}  // namespace

std::vector<TOverlaySegment> ListSegments(int32_t handle, uint8_t mode, const TCncPoint& start) {
  std::vector<TOverlaySegment> segments;
  TWorldPoint at{start.X, start.Y, start.Z};
  for (const TRunElement& e : TRunElements(handle, mode)) {
    if (!e.Read || !e.Code.IsMove()) continue;
    const TWorldPoint end{e.Data.P1.X, e.Data.P1.Y, e.Data.P1.Z};
    if (e.Code.Number <= 1) {
      segments.push_back({at, end});
    } else {
      // Centre relative to the start; a full circle when the arc ends where it starts.
      const double cx = at.X + e.Data.P2.X, cy = at.Y + e.Data.P2.Y;
      const double radius = std::hypot(at.X - cx, at.Y - cy);
      const double a0 = std::atan2(at.Y - cy, at.X - cx), a1 = std::atan2(end.Y - cy, end.X - cx);
      const bool clockwise = e.Code.Number == 2;
      double sweep = clockwise ? a0 - a1 : a1 - a0;
      while (sweep <= 1e-12) sweep += 2 * std::numbers::pi;
      const int chords = std::max(1, static_cast<int>(std::ceil(sweep / (kChordDegrees * std::numbers::pi / 180))));
      TWorldPoint from = at;
      for (int k = 1; k <= chords; ++k) {
        const double f = double(k) / chords, a = a0 + (clockwise ? -sweep : sweep) * f;
        const TWorldPoint to = k == chords ? end
                                           : TWorldPoint{cx + radius * std::cos(a), cy + radius * std::sin(a),
                                                         at.Z + (end.Z - at.Z) * f};
        segments.push_back({from, to});
        from = to;
      }
    }
    at = end;
  }
  return segments;
}

// The section line drawn over the top view, without repainting the view beneath it.
class TResultCompanions::TLineOverlay : public QWidget {
 public:
  explicit TLineOverlay(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
  }
  void SetLine(QPointF a, QPointF b) {
    A = a;
    B = b;
    setGeometry(parentWidget()->rect());
    show();
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor::fromRgb(kSectionLineColour), 2));
    p.drawLine(A, B);
  }

 private:
  QPointF A, B;
};

TResultCompanions::TResultCompanions(QWidget& window, QMenu& viewMenu, TSimBox& view)
    : QObject(&window),
      View(view),
      Window(std::make_unique<TResult3dWindow>()),
      Plot(std::make_unique<TSectionPlotWindow>()) {
  Show3d = viewMenu.addAction(QStringLiteral("Result in 3D"));
  Show3d->setObjectName(QStringLiteral("mnuResult3d"));
  Show3d->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R));
  connect(Show3d, &QAction::triggered, this, [this] {
    Window->show();
    Window->raise();
    Window->activateWindow();
  });
  SectionMode = viewMenu.addAction(QStringLiteral("Section"));
  SectionMode->setObjectName(QStringLiteral("mnuSection"));
  SectionMode->setCheckable(true);
  SectionMode->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
  connect(SectionMode, &QAction::toggled, this, [this](bool on) {
    if (!on) Line->hide();
  });
  Line = new TLineOverlay(&View);
  View.installEventFilter(this);
  // First shown centred on the main window, always wholly on the screen.
  // Closing the main window ends the program even with these open.
  Window->setAttribute(Qt::WA_QuitOnClose, false);
  Plot->setAttribute(Qt::WA_QuitOnClose, false);
  KeepOnScreen(Window.get(), &window);
}

TResultCompanions::~TResultCompanions() = default;

void TResultCompanions::ResultChanged(std::shared_ptr<const TStockResult> result, int32_t handle,
                                      const TCncPoint& start) {
  Result = std::move(result);
  std::vector<TOverlayList> overlays;
  if (Result && handle > 0) {
    overlays.push_back({"Contour", kContourOverlayColour, ListSegments(handle, CNC_MODE_CONTOUR, start)});
    overlays.push_back({"Cutting path", kPathOverlayColour, ListSegments(handle, CNC_MODE_PATH, start)});
  }
  Window->SetResult(Result, std::move(overlays));
  if (Line->isVisible()) UpdateSection();
}

void TResultCompanions::RunningChanged(bool running) { Window->SetRunning(running); }

void TResultCompanions::ShowPlot() {
  // In the lower right corner of the main window, off the middle of the view where the line
  // is being dragged; wholly on the screen.
  if (!PlotPlaced) {
    const QWidget* main = View.window();
    const QRect frame = main->frameGeometry();
    Plot->move(frame.right() - Plot->width() - kPlotInset, frame.bottom() - Plot->height() - kPlotInset);
    PlaceOnScreen(Plot.get(), main, true);
    PlotPlaced = true;
  }
  Plot->show();
}

void TResultCompanions::UpdateSection() {
  if (!Result) return;
  const double length = std::hypot(ToX - FromX, ToY - FromY);
  Plot->SetSection(SectionAlong(Result->Map, FromX, FromY, ToX, ToY), length, Result->Box.Top, Result->Box.Bottom());
}

bool TResultCompanions::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &View || !SectionMode->isChecked()) return QObject::eventFilter(watched, event);
  const auto type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
    return QObject::eventFilter(watched, event);
  const auto* mouse = static_cast<QMouseEvent*>(event);
  const QPointF at = mouse->position();
  const double x = View.BildXToRealX(at.x()), y = View.BildYToRealY(at.y());
  if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
    Dragging = true;
    FromX = ToX = x;
    FromY = ToY = y;
  } else if (Dragging) {
    ToX = x;
    ToY = y;
    if (type == QEvent::MouseButtonRelease) Dragging = false;
  } else {
    return QObject::eventFilter(watched, event);  // the pointer's place still shows
  }
  Line->SetLine(QPointF(View.PixelXExact(FromX), View.PixelYExact(FromY)),
                QPointF(View.PixelXExact(ToX), View.PixelYExact(ToY)));
  UpdateSection();
  if (!Plot->isVisible()) ShowPlot();
  return true;  // the drag is the section's, not a zoom or pan
}
