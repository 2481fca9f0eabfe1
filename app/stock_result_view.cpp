#include "app/stock_result_view.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QShortcut>
#include <QStatusBar>

#include "app/info_pane.h"
#include "app/stock_dialog.h"
#include "base/convert.h"
#include "display/sim_box.h"
#include "display/stock_relief.h"
#include "platform/viewer_settings.h"
#include "stock/engine_moves.h"

namespace {

constexpr int kPollMilliseconds = 50;
constexpr int kProgressSteps = 1000;
const char* const kPanePrefix = "Stock: ";

std::string FindingLine(const TFinding& f) {
  return kPanePrefix + std::string("line ") + std::to_string(f.Line) + ": " + std::string(FindingKindName(f.Kind)) +
         " at X " + FloatToText(f.X, 0, 3) + " Y " + FloatToText(f.Y, 0, 3) + " Z " + FloatToText(f.Z, 0, 3) + ", " +
         FloatToText(f.Depth, 0, 3) + " mm";
}

}  // namespace

TStockResultView::TStockResultView(QMainWindow& window, QMenu& viewMenu, TSimBox& view, TInfoMemo& pane)
    : QObject(&window), View(view), Pane(pane), Preferences(ReadStockPreferences()) {
  ResultAction = viewMenu.addAction(QStringLiteral("Result"));
  ResultAction->setObjectName(QStringLiteral("mnuResult"));
  ResultAction->setCheckable(true);
  ResultAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  ResultAction->setChecked(Preferences.ResultOn);
  connect(ResultAction, &QAction::toggled, this, &TStockResultView::ResultToggled);
  QAction* stock = viewMenu.addAction(QStringLiteral("Stock…"));
  stock->setObjectName(QStringLiteral("mnuStock"));
  connect(stock, &QAction::triggered, this, &TStockResultView::EditStock);

  Progress = new QProgressBar(&window);
  Progress->setObjectName(QStringLiteral("barStock"));
  Progress->setRange(0, kProgressSteps);
  Progress->setMaximumWidth(160);
  Progress->setFormat(QStringLiteral("Stock %p%"));
  Progress->hide();
  window.statusBar()->addPermanentWidget(Progress);
  Depth = new QLabel(&window);
  Depth->setObjectName(QStringLiteral("lblDepth"));
  window.statusBar()->addPermanentWidget(Depth);
  Escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
  Escape->setEnabled(false);
  connect(Escape, &QShortcut::activated, this, &TStockResultView::Cancel);
  Poller.setInterval(kPollMilliseconds);
  connect(&Poller, &QTimer::timeout, this, &TStockResultView::Poll);
  View.installEventFilter(this);
}

TStockResultView::~TStockResultView() {
  if (Job) Job->Cancel = true;
}

bool TStockResultView::ResultOn() const { return ResultAction->isChecked(); }

void TStockResultView::RunProcessed(int32_t handle, const TCncPoint& start, const TToolTable& tools) {
  Handle = handle;
  StartPoint = start;
  Tools = tools;
  if (ResultOn()) Start();
}

void TStockResultView::Start() {
  Cancel();
  Show(nullptr);
  if (Handle == 0) return;
  // The engine is read here, on its own thread; the worker gets the moves alone.
  std::vector<TStockMove> moves = ReadStockMoves(Handle, StartPoint);
  const TCutterTable cutters = MakeCutterTable(Preferences.Shapes, RadiiInMillimetres(EngineToolRadii(Tools)));
  const TStockBox box = Preferences.Box.value_or(DefaultStockBox(moves, cutters));
  if (!Preferences.Box && !StockBoxProblem(box).empty()) {
    Pane.Append(std::string(kPanePrefix) +
                "the program has no feed moves to size the stock by; set it in View > Stock…");
    return;
  }
  const TGridPlan plan = PlanGrid(box, Preferences.Cell);
  if (!plan.Error.empty()) {
    Pane.Append(kPanePrefix + plan.Error);
    return;
  }
  Job = std::make_unique<TJob>();
  TJob* job = Job.get();
  job->Thread = std::jthread([job, moves = std::move(moves), box, plan, cutters] {
    job->Result = SimulateStock(moves, box, plan, cutters, {&job->Cancel, &job->Done, &job->Total});
    job->Finished = true;
  });
  Progress->setValue(0);
  Progress->show();
  Escape->setEnabled(true);
  Poller.start();
  if (RunningChanged) RunningChanged(true);
}

void TStockResultView::Poll() {
  if (!Job) return;
  const uint64_t total = Job->Total.load();
  if (total > 0) {
    Progress->setValue(static_cast<int>(std::min<uint64_t>(kProgressSteps, Job->Done * kProgressSteps / total)));
    if (ProgressChanged) ProgressChanged(Progress->value() * 100 / kProgressSteps);
  }
  if (!Job->Finished) return;
  Job->Thread.join();
  auto result = std::make_shared<TStockResult>(std::move(Job->Result));
  Job.reset();
  Poller.stop();
  Progress->hide();
  Escape->setEnabled(false);
  if (RunningChanged) RunningChanged(false);
  if (result->Cancelled) return;
  for (const TFinding& f : result->Findings) Pane.Append(FindingLine(f));
  if (result->FindingsTotal > result->Findings.size())
    Pane.Append(kPanePrefix + std::to_string(result->FindingsTotal - result->Findings.size()) + " more findings");
  Show(std::move(result));
}

void TStockResultView::Cancel() {
  if (!Job) return;
  // The worker looks at the flag every few thousand cells: the join is short, and what it
  // made is dropped with it.
  Job->Cancel = true;
  Job.reset();
  Poller.stop();
  Progress->hide();
  Escape->setEnabled(false);
  if (RunningChanged) RunningChanged(false);
}

void TStockResultView::Show(std::shared_ptr<const TStockResult> result) {
  Result = std::move(result);
  Depth->clear();
  if (ResultChanged) ResultChanged(Result, Handle, StartPoint);
  if (!Result) {
    View.SetUnderlay(nullptr);
    return;
  }
  View.SetUnderlay([shown = Result](QImage& picture, const TViewWindow& w) {
    const TPlaneWindow window{w.XMin, w.XMin + w.Width / w.Scale, w.YMin, w.YMin + w.Height / w.Scale};
    PaintRelief(picture, *shown, window);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintFindingMarkers(painter, shown->Findings,
                        [&](double x, double y) { return QPointF(w.PixelXExact(x), w.PixelYExact(y)); });
    // Below the grid label in the upper right corner.
    PaintReliefLegend(painter, QRect(w.Width - 100, 36, 92, std::min(240, w.Height - 44)), *shown);
  });
}

QString TStockResultView::DepthText() const { return Depth->text(); }

bool TStockResultView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &View && event->type() == QEvent::MouseMove && Result) {
    const QPointF at = static_cast<QMouseEvent*>(event)->position();
    const auto cell = Result->Map.CellAt(View.BildXToRealX(at.x()), View.BildYToRealY(at.y()));
    Depth->setText(
        cell ? QStringLiteral("Depth %1 mm").arg(Result->Map.Top - Result->Map.At(cell->first, cell->second), 0, 'f', 3)
             : QString());
  }
  return QObject::eventFilter(watched, event);
}

void TStockResultView::ResultToggled(bool on) {
  Preferences.ResultOn = on;
  WriteStockPreferences(Preferences);
  if (on) {
    Start();
    return;
  }
  Cancel();
  Show(nullptr);
}

void TStockResultView::EditStock() {
  TStockDialog dialog(Preferences, View.window());
  if (dialog.exec() != QDialog::Accepted) return;
  const std::optional<TStockPreferences> chosen = dialog.Chosen();
  if (!chosen) return;
  Preferences = *chosen;
  WriteStockPreferences(Preferences);
  if (ResultOn()) Start();
}
