#include "app/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/desktop_open.h"
#include "app/elided_label.h"
#include "app/export_picture.h"
#include "app/file_follower.h"
#include "app/info_pane.h"
#include "app/job_figures.h"
#include "app/line_in_view.h"
#include "app/machine_view_link.h"
#include "app/playback_bar.h"
#include "app/result_companions.h"
#include "app/shortcut_list.h"
#include "app/stock_result_view.h"
#include "app/tool_icons.h"
#include "app/view_navigation.h"
#include "app/viewer_preferences.h"
#include "app/viewer_start.h"
#include "display/sim_box.h"
#include "engine/run_elements.h"
#include "platform/executable_path.h"
#include "platform/install_paths.h"
#include "tools/tools_window.h"
#include "windows/about_box.h"
#include "windows/show_cnc_file.h"
#include "windows/startup_window.h"

namespace {

// The scroll bars of the view panel and the grid, as they open.
struct TScrollSetting {
  int Min, Max, Position;
};
constexpr TScrollSetting kHorizontalScroll{-100, 400, 0};
constexpr TScrollSetting kVerticalScroll{-100, 300, -2};
constexpr TScrollSetting kGridScroll{1, 20, 2};
constexpr int kGridLargeStep = 5;
constexpr int kControlRowHeight = 36;
constexpr int kControlRowMargin = 2;
constexpr int kControlRowSpacing = 4;
// The grid scroll bar: its width at the start size, and the least it gives up to.
constexpr int kGridBarWidth = 96;
constexpr int kGridBarMinimumWidth = 36;
// Room for "X -1234.567  Y -1234.567  Zoom Window" without the label jumping.
constexpr int kPointerLabelWidth = 240;
constexpr double kPickPixels = 5.0;  // how near a click must come to a move to pick it

QScrollBar* MakeScrollBar(Qt::Orientation o, const TScrollSetting& s, QWidget* parent) {
  auto* bar = new QScrollBar(o, parent);
  bar->setRange(s.Min, s.Max);
  bar->setValue(s.Position);
  return bar;
}

}  // namespace

TStartPaths TStartPaths::BesideExecutable() {
  return {SettingsFileInUse(SettingsFilePath(ExecutablePath())), FontFolder(ExecutableFolder()),
          ExampleToolTableInUse(ExecutableFolder())};
}

TForm1::TForm1(const TStartPaths& paths, QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QString::fromStdString(MainWindowTitle({})));
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  BuildViewPanel(central);
  BuildControlRow(central);
  memInfo = new TInfoMemo(central);
  memInfo->setObjectName(QStringLiteral("memInfo"));
  memInfo->setFixedHeight(kInfoPaneHeight);
  column->addWidget(memInfo);
  connect(memInfo, &TInfoMemo::MessageLineDoubleClicked, this, &TForm1::ShowMessageLine);
  connect(barPlayback, &TPlaybackBar::LineReached, this, [this](int32_t fileLine) { SelectTextLine(fileLine, 0); });
  setCentralWidget(central);
  lblStatus = new TElidedLabel(this);
  lblStatus->setObjectName(QStringLiteral("lblStatus"));
  statusBar()->addWidget(lblStatus, 1);
  statusBar()->addWidget(&barPlayback->StatusLabel(), 1);
  lblFigures = new QLabel(this);
  lblFigures->setObjectName(QStringLiteral("lblFigures"));
  statusBar()->addPermanentWidget(lblFigures);
  lblPointer = new QLabel(this);
  lblPointer->setObjectName(QStringLiteral("lblPointer"));
  lblPointer->setMinimumWidth(kPointerLabelWidth);
  statusBar()->addPermanentWidget(lblPointer);
  BuildToolBar();
  Follower = new TFileFollower([this](TFollowAction a) { FileChangedOnDisk(a); }, this);
  Follower->SetEnabled(ReadFollowFileChanges());
  BuildMenus();
  setAcceptDrops(true);
  installEventFilter(new TDropOpener([this](const QString& file) { OpenProgram(file); }, this));

  // The start window depends on the view's size: lay the window out before it is shown.
  resize(kClientWidth, kClientHeight);
  for (QWidget* w : {static_cast<QWidget*>(this), central, SimBox->parentWidget()}) w->layout()->activate();
  SimBox->SetClientSize(SimBox->width(), SimBox->height());

  CreationSteps(paths);
  qApp->installEventFilter(this);
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
  CloseEngine(ViewerState, *SimBox);
}

void TForm1::BuildViewPanel(QWidget* parent) {
  auto* panel = new QWidget(parent);
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(0);
  SimBox = new TSimBox(panel);
  SimBox->setObjectName(QStringLiteral("SimBox"));
  SimBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  SimBox->setMinimumSize(16, 16);
  sbHorizontal = MakeScrollBar(Qt::Horizontal, kHorizontalScroll, panel);
  sbVertical = MakeScrollBar(Qt::Vertical, kVerticalScroll, panel);
  grid->addWidget(SimBox, 0, 0);
  grid->addWidget(sbVertical, 0, 1);
  grid->addWidget(sbHorizontal, 1, 0);
  barPlayback = new TPlaybackBar(*SimBox, ViewerState, panel);
  grid->addWidget(barPlayback, 2, 0, 1, 2);
  panel->setMinimumHeight(64);
  static_cast<QVBoxLayout*>(parent->layout())->addWidget(panel, 1);
  // Positions set above are where the bars start; only the user's moves scroll the view.
  connect(sbHorizontal, &QScrollBar::valueChanged, this, [this](int pos) { SimBox->ScrollToX(pos); });
  connect(sbVertical, &QScrollBar::valueChanged, this, [this](int pos) { SimBox->ScrollToY(pos); });
  connect(SimBox, &TSimBox::WindowWheeled, this, &TForm1::ScrollBarsFollowView);
}

// The bars show where the window now lies, without scrolling it again: ScrollToX and
// ScrollToY would round its edges to whole millimetres.
void TForm1::ScrollBarsFollowView() {
  const TScrollPositions p = ScrollPositionsOf(*SimBox);
  for (const auto& [bar, value] : {std::pair{sbHorizontal, p.Horizontal}, std::pair{sbVertical, p.Vertical}}) {
    const QSignalBlocker quiet(bar);
    bar->setRange(std::min(bar->minimum(), value), std::max(bar->maximum(), value));
    bar->setValue(value);
  }
}

void TForm1::BuildControlRow(QWidget* parent) {
  auto* row = new QWidget(parent);
  row->setObjectName(QStringLiteral("ControlRow"));
  lblGrid = new QLabel(QStringLiteral("Grid"), row);
  sbGrid = MakeScrollBar(Qt::Horizontal, kGridScroll, row);
  sbGrid->setObjectName(QStringLiteral("sbGrid"));
  sbGrid->setPageStep(kGridLargeStep);
  btnRload = new QPushButton(QStringLiteral("reload current CNC-File and redraw"), row);
  btnClearInfo = new QPushButton(QStringLiteral("clear info window"), row);
  chkPointOutEdges = new QCheckBox(QStringLiteral("point out edges"), row);
  chkViewContour = new QCheckBox(QStringLiteral("view contour"), row);
  chkViewContour->setChecked(true);
  chkViewCuttingPath = new QCheckBox(QStringLiteral("view cutting path"), row);
  // Grid and buttons at the left, the check boxes at the right; the room between them goes
  // first when the window narrows, and every control keeps at least its own size.
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(kControlRowMargin, 0, kControlRowMargin, 0);
  layout->setSpacing(kControlRowSpacing);
  sbGrid->setMinimumWidth(kGridBarMinimumWidth);
  sbGrid->setMaximumWidth(kGridBarWidth);
  sbGrid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  for (QWidget* w : {static_cast<QWidget*>(lblGrid), static_cast<QWidget*>(sbGrid), static_cast<QWidget*>(btnRload),
                     static_cast<QWidget*>(btnClearInfo)})
    layout->addWidget(w);
  layout->addStretch();
  for (QCheckBox* box : {chkPointOutEdges, chkViewContour, chkViewCuttingPath}) layout->addWidget(box);
  row->setFixedHeight(kControlRowHeight);
  static_cast<QVBoxLayout*>(parent->layout())->addWidget(row);

  connect(sbGrid, &QScrollBar::valueChanged, this, [this](int pos) { SimBox->SetGridSize(pos * kGridStepMm); });
  connect(btnRload, &QPushButton::clicked, this, &TForm1::btnRloadClick);
  connect(btnClearInfo, &QPushButton::clicked, this, &TForm1::btnClearInfoClick);
  for (QCheckBox* box : {chkPointOutEdges, chkViewContour, chkViewCuttingPath})
    connect(box, &QCheckBox::clicked, this, &TForm1::ProcessCurrentFile);
}

void TForm1::BuildToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("Tool bar"));
  bar->setObjectName(QStringLiteral("ToolBar"));
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setFixedHeight(kToolBarHeight);
  bar->setIconSize(QSize(16, 16));
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  // The buttons in order: each runs a handler or sets a mouse mode of the view.
  struct TButton {
    TToolIcon Icon;
    const char* Hint;
    void (TForm1::*Click)();
    int32_t MouseMode;
    bool SeparatorAfter;
  };
  constexpr int32_t none = TMouseMode::Idle;
  const TButton buttons[] = {
      {TToolIcon::Exit, "Exit program", &TForm1::mnuCloseClick, none, true},
      {TToolIcon::Open, "Open CNC file", &TForm1::mnuOpenClick, none, false},
      {TToolIcon::Edit, "Edit CNC file", &TForm1::btnEditClick, none, false},
      {TToolIcon::Refresh, "Refresh", &TForm1::btnRefreshClick, none, true},
      {TToolIcon::ZoomAll, "Zoom all", &TForm1::btnZoomAllClick, none, false},
      {TToolIcon::ZoomWindow, "Zoom Window", nullptr, TMouseMode::ZoomWindow, false},
      {TToolIcon::ZoomVaria, "Zoom varia", nullptr, TMouseMode::ZoomVaria, false},
      {TToolIcon::Pan, "Pan (F2)", nullptr, TMouseMode::Pan, false},
      {TToolIcon::ZoomToPart, "Zoom to part", &TForm1::mnuZoomToPartClick, none, false},
      {TToolIcon::Pick, "Pick element", &TForm1::mnuPickClick, none, true},
      {TToolIcon::SetW0, "Set W0", nullptr, TMouseMode::SetW0, false},
      {TToolIcon::SetSpindle, "Set Spindle Position", nullptr, TMouseMode::SetSpindle, true},
      {TToolIcon::Edges, "Show/hide edges", &TForm1::btnEdgesClick, none, false},
      {TToolIcon::Contour, "Show/hide contour", &TForm1::btnContourClick, none, false},
      {TToolIcon::CuttingPath, "Show/hide cutting path", &TForm1::btnCuttingPathClick, none, true},
      {TToolIcon::Tools, "Set up tools", &TForm1::mnuToolsClick, none, false},
      {TToolIcon::Simulation, "Show Orvik simulation path", &TForm1::mnuSimulationClick, none, true},
      {TToolIcon::About, "About", &TForm1::mnuAboutClick, none, false},
  };
  for (const TButton& b : buttons) {
    QAction* a = bar->addAction(ToolIcon(b.Icon), QString::fromUtf8(b.Hint));
    a->setToolTip(QString::fromUtf8(b.Hint));
    if (b.Click) connect(a, &QAction::triggered, this, b.Click);
    else connect(a, &QAction::triggered, this, [this, m = b.MouseMode] { SimBox->SetMouseMode(m); });
    if (b.SeparatorAfter) bar->addSeparator();
  }
}

void TForm1::BuildMenus() {
  const auto entry = [this](QMenu* menu, const char* caption, QKeySequence keys, auto handler) {
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setShortcut(keys);
    connect(a, &QAction::triggered, this, handler);
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  entry(file, "&Open", QKeySequence(Qt::CTRL | Qt::Key_F), &TForm1::mnuOpenClick);
  QMenu* recent = file->addMenu(QStringLiteral("&Recent files"));
  recent->setObjectName(QStringLiteral("mnuRecent"));
  connect(recent, &QMenu::aboutToShow, this,
          [this, recent] { FillRecentMenu(*recent, ReadRecentFiles(), [this](const QString& f) { OpenProgram(f); }); });
  entry(file, "&Export picture…", QKeySequence(Qt::CTRL | Qt::Key_E), &TForm1::mnuExportPictureClick);
  entry(file, "&Close Velquor", QKeySequence(Qt::CTRL | Qt::Key_F4), &TForm1::mnuCloseClick);
  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  entry(view, "Zoom to &part", QKeySequence(Qt::Key_F7), &TForm1::mnuZoomToPartClick);
  entry(view, "P&ick element", QKeySequence(Qt::Key_F6), &TForm1::mnuPickClick);
  QAction* follow = view->addAction(QStringLiteral("&Follow file changes"));
  follow->setObjectName(QStringLiteral("mnuFollow"));
  follow->setCheckable(true);
  follow->setChecked(Follower->Enabled());
  connect(follow, &QAction::toggled, this, [this](bool on) {
    Follower->SetEnabled(on);
    WriteFollowFileChanges(on);
  });
  mnuFitOnOpen = view->addAction(QStringLiteral("Fit program on &open"));
  mnuFitOnOpen->setObjectName(QStringLiteral("mnuFitOnOpen"));
  mnuFitOnOpen->setCheckable(true);
  mnuFitOnOpen->setChecked(ReadFitOnOpen());
  connect(mnuFitOnOpen, &QAction::toggled, this, [](bool on) { WriteFitOnOpen(on); });
  QAction* playback = view->addAction(QStringLiteral("Play&back"));
  playback->setObjectName(QStringLiteral("mnuPlayback"));
  playback->setCheckable(true);
  playback->setShortcut(QKeySequence(Qt::Key_F8));
  connect(playback, &QAction::toggled, this, &TForm1::mnuPlaybackClick);
  StockView = new TStockResultView(*this, *view, *SimBox, *memInfo);
  ResultViews = new TResultCompanions(*this, *view, *SimBox);
  StockView->ResultChanged = [this](std::shared_ptr<const TStockResult> result, int32_t handle,
                                    const TCncPoint& start) {
    ResultViews->ResultChanged(std::move(result), handle, start);
  };
  StockView->RunningChanged = [this](bool running) { ResultViews->RunningChanged(running); };
  StockView->ProgressChanged = [this](int percent) { ResultViews->Window3d().SetProgress(percent); };
  ResultViews->Window3d().CancelRequested = [this] { StockView->Cancel(); };
  QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
  entry(tools, "Tools", QKeySequence(Qt::CTRL | Qt::Key_T), &TForm1::mnuToolsClick);
  entry(tools, "Show/Close simulation", QKeySequence(Qt::CTRL | Qt::Key_S), &TForm1::mnuSimulationClick);
  QMenu* info = menuBar()->addMenu(QStringLiteral("&Info"));
  entry(info, "About", QKeySequence(Qt::CTRL | Qt::Key_A), &TForm1::mnuAboutClick);
  entry(info, "&Keyboard shortcuts", QKeySequence(), &TForm1::mnuShortcutsClick);
}

// The keys the main window handles itself, whatever control has the focus.
const std::vector<TForm1::TFunctionKey>& TForm1::FunctionKeys() {
  static const std::vector<TFunctionKey> keys{
      {Qt::Key_F2, "Pan (drag the view)", nullptr, TMouseMode::Pan},
      {Qt::Key_F3, "Zoom all (the home window)", &TForm1::ZoomHomeKey, TMouseMode::Idle},
      {Qt::Key_F4, "Zoom Window (drag a rectangle)", nullptr, TMouseMode::ZoomWindow},
      {Qt::Key_F5, "Zoom varia (drag left or right)", nullptr, TMouseMode::ZoomVaria},
      {Qt::Key_F9, "Refresh (process the file again)", &TForm1::btnRefreshClick, TMouseMode::Idle},
  };
  return keys;
}

// What the mouse does in the view, for the shortcut list; a window that adds a gesture adds
// its row here.
const std::vector<TShortcutRow>& TForm1::MouseRows() {
  static const std::vector<TShortcutRow> rows{
      {"Wheel", "Zoom in or out about the pointer"},
      {"Shift+Wheel", "Scroll sideways"},
      {"Double click", "Zoom out by 20 % about the pointer"},
  };
  return rows;
}

void TForm1::ZoomHomeKey() { SimBox->ZoomHome(); }

std::vector<TShortcutRow> TForm1::KeyboardShortcuts() const {
  std::vector<TShortcutRow> rows;
  for (const TFunctionKey& k : FunctionKeys())
    rows.push_back({QKeySequence(k.Key).toString(QKeySequence::NativeText).toStdString(), k.What});
  AddMenuBarShortcuts(*menuBar(), rows);
  rows.insert(rows.end(), MouseRows().begin(), MouseRows().end());
  return rows;
}

void TForm1::mnuShortcutsClick() { ShowShortcutList(this, KeyboardShortcuts()); }

void TForm1::CreationSteps(const TStartPaths& paths) {
  ViewerState.MachineViewOn = false;
  SimBox->SetCursor(TViewCursor::Crosshair);
  memInfo->Append("Starup Velquor");
  FontPathText = paths.FontPath;
  memInfo->Append("Set font path to .." + FontPathText);
  SettingsFileName = paths.SettingsFile;
  memInfo->Append(SettingsFileLine(SettingsFileName));
  const TSeedResult seeded = SeedSettingsFile(SettingsFileName, paths.SeedFile);
  if (seeded.Created) memInfo->Append("Settings file created from " + paths.SeedFile);
  else if (!seeded.Result.Ok) memInfo->Append("Settings file not created (" + seeded.Result.Error + ")");
  const TSettingsResult read = ReadSettings(SettingsFileName, ViewerState.Settings);
  if (!read.Ok) memInfo->Append(SettingsProblem(paths.SettingsFile, read.Error));
  ViewerState.SettingsWarnings = read.Warnings;
  ViewerState.CurrentFile.clear();
  ViewerState.EngineHandle = 0;
  CncSetFontPath(FontPathText.c_str());
  SetStartWindow(*SimBox);
  SimBox->SetGridSize(sbGrid->value() * kGridStepMm);
  SimBox->UpdateScale();
  SimBox->Invalidate();
}

TDisplayChecks TForm1::Checks() const {
  return {chkPointOutEdges->isChecked(), chkViewContour->isChecked(), chkViewCuttingPath->isChecked()};
}

void TForm1::ProcessCurrentFile() {
  Follower->Processing(QString::fromStdString(ViewerState.CurrentFile));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  SimBox->SetHighlight(std::nullopt);  // the moves it stood for are drawn anew
  memInfo->BeginBatch();
  const TProcessResult r = ProcessFile(ViewerState.CurrentFile, ViewerState, *SimBox, Checks(), *memInfo,
                                       [this](int32_t handle) { DrawMachineView(handle); });
  memInfo->EndBatch();
  QApplication::restoreOverrideCursor();
  const std::string name = QFileInfo(QString::fromStdString(ViewerState.CurrentFile)).fileName().toStdString();
  setWindowTitle(QString::fromStdString(MainWindowTitle(name)));
  const QString summary = QString::fromStdString(RunSummary(name, r));
  lblStatus->SetFullText(summary);
  lblFigures->clear();
  if (r.Processed && !r.NoInstance) {
    const int32_t handle = ViewerState.EngineHandle;
    const TJobFigures f = JobFiguresOfList(handle, FiguresListOfRun(handle, ViewerState.Played), r.Start,
                                           FeedUnitOfRun(handle));
    memInfo->Append(JobFiguresLine(f));
    lblFigures->setText(QString::fromStdString(JobFiguresStatus(f)));
    lblFigures->setToolTip(QString::fromStdString(JobFiguresLine(f)));
  }
  barPlayback->RunChanged();
  StockView->RunProcessed(r.Processed && !r.NoInstance ? ViewerState.EngineHandle : 0, r.Start,
                          ViewerState.Settings.Tools);
}

QString TForm1::StatusText() const { return lblStatus->FullText(); }
QString TForm1::FiguresText() const { return lblFigures->text(); }
QString TForm1::PointerStatusText() const { return lblPointer->text(); }

void TForm1::mnuZoomToPartClick() {
  if (ViewerState.EngineHandle <= 0) return;
  const auto box = DrawnPartBox(ViewerState.EngineHandle, Checks(), SimBox->SpindlePos, SimBox->W0Pos);
  const auto window = box ? PartWindow(*box, SimBox->Width, SimBox->Height) : std::nullopt;
  if (!window) return;
  SimBox->SetRect(*window);
  SimBox->UpdateScale();
  SimBox->Invalidate();
}

void TForm1::mnuPickClick() { SimBox->SetMouseMode(TMouseMode::Pick); }

// While playing back, the playback line takes the run summary's place in the status area.
void TForm1::mnuPlaybackClick(bool on) {
  barPlayback->SetActive(on);
  lblStatus->setVisible(!on);
}

void TForm1::PickAt(QPoint pixel) {
  if (!SimBox->CanConvert()) return;
  const double x = SimBox->BildXToRealX(pixel.x()), y = SimBox->BildYToRealY(pixel.y());
  const auto hit = ViewerState.Pick.Nearest(x, y, kPickPixels / SimBox->Scale);
  if (!hit) {
    SimBox->SetHighlight(std::nullopt);
    return;
  }
  const TPickElement& e = ViewerState.Pick[hit->Index];
  SimBox->SetHighlight(e);
  memInfo->Append(PickText(e, SimBox->W0X(), SimBox->W0Y()));
  SelectTextLine(e.FileLine, e.Line);
}

bool TForm1::TextWindowShowsProgram() const {
  const TfrmShowCncFile* text = Companions.ShowCncFile;
  return text && text->isVisible() && SameFile(text->FileName().toStdString(), ViewerState.CurrentFile);
}

void TForm1::SelectTextLine(int32_t fileLine, int32_t block) {
  if (!TextWindowShowsProgram()) return;
  if (fileLine > 0) Companions.ShowCncFile->SelectLine(fileLine - 1);
  else if (block > 0) Companions.ShowCncFile->SelectBlock(block);
}

void TForm1::ShowMessageLine(int32_t fileLine) {
  TfrmShowCncFile* text = Companions.ShowCncFile;
  if (!text || ViewerState.CurrentFile.empty() || fileLine <= 0) return;
  if (!TextWindowShowsProgram() && !text->EditFile(QString::fromStdString(ViewerState.CurrentFile))) return;
  text->show();
  text->raise();
  text->SelectLine(fileLine - 1);
  ShowLineInView(fileLine - 1);
}

void TForm1::SetCompanions(const TCompanionWindows& windows) {
  if (Companions.ShowCncFile && Companions.ShowCncFile != windows.ShowCncFile)
    disconnect(Companions.ShowCncFile, nullptr, this, nullptr);
  Companions = windows;
  if (Companions.ShowCncFile)
    connect(Companions.ShowCncFile, &TfrmShowCncFile::LineDoubleClicked, this, &TForm1::ShowLineInView,
            Qt::UniqueConnection);
}

void TForm1::ShowLineInView(int line) {
  const TfrmShowCncFile* text = Companions.ShowCncFile;
  const bool sameFile = text && SameFile(text->FileName().toStdString(), ViewerState.CurrentFile);
  TLineInView r = LineInView(ViewerState.Pick, *SimBox, line, sameFile);
  SimBox->SetHighlights(std::move(r.Elements));
  if (r.Window) {
    SimBox->SetRect(*r.Window);
    SimBox->UpdateScale();
    SimBox->Invalidate();
  }
  memInfo->Append(r.Message);
}

void TForm1::FileChangedOnDisk(TFollowAction action) {
  memInfo->Append(FollowMessage(action, ViewerState.CurrentFile));
  if (action == TFollowAction::Process) ProcessCurrentFile();
}

void TForm1::OpenProgram(const QString& fileName) {
  if (fileName.isEmpty()) return;
  OpenFileName = fileName;
  ViewerState.CurrentFile = fileName.toStdString();
  RememberOpened(fileName);
  ProcessCurrentFile();
  // A new program is framed; every later run keeps the user's window.
  if (mnuFitOnOpen->isChecked()) mnuZoomToPartClick();
}

TFileQuestion TForm1::OpenQuestion() const {
  return {TFileAction::Open,
          QStringLiteral("Open CNC-File"),
          OpenDialogStart(QString::fromStdString(ViewerState.CurrentFile), ReadLastOpenFolder()),
          {{QStringLiteral("CNC programs (*.cnc *.txt *.nc *.ngc *.tap *.gcode)"), {}},
           {QStringLiteral("CNC-File (*.txt)"), {}},
           {QStringLiteral("CNC-File (*.cnc)"), {}},
           {QStringLiteral("Gerber-File (*.grb)"), {}},
           {QStringLiteral("all (*)"), {}}},
          true,
          false};
}

QString TForm1::RunOpenDialog(bool& confirmed) {
  const QString chosen = Dialogs.ChooseFile(this, OpenQuestion());
  confirmed = !chosen.isEmpty();
  if (confirmed) OpenFileName = chosen;
  if (confirmed) WriteLastOpenFolder(QFileInfo(chosen).absolutePath());
  return OpenFileName;
}

void TForm1::mnuOpenClick() {
  bool confirmed = false;
  const QString name = RunOpenDialog(confirmed);
  if (name.isEmpty()) return;
  if (confirmed) {
    OpenProgram(name);
    return;
  }
  // Cancelled after an earlier choice: that file is processed again, in the user's window.
  ViewerState.CurrentFile = name.toStdString();
  ProcessCurrentFile();
}

void TForm1::mnuExportPictureClick() {
  const QString chosen = Dialogs.ChooseFile(this, ExportPictureQuestion(ViewerState.CurrentFile));
  if (!chosen.isEmpty()) ExportPicture(chosen);
}

void TForm1::ExportPicture(const QString& fileName) {
  memInfo->Append(ExportViewPicture(*SimBox, fileName.toStdString()));
}

void TForm1::btnEditClick() {
  bool confirmed = false;
  const QString name = RunOpenDialog(confirmed);
  if (!confirmed || name.isEmpty()) return;
  if (Companions.ShowCncFile) Companions.ShowCncFile->EditFile(name);
}

void TForm1::btnRefreshClick() { ProcessCurrentFile(); }

void TForm1::btnZoomAllClick() {
  SimBox->SetCursor(TViewCursor::Crosshair);
  SimBox->ZoomHome();
}

// Setting a check box from its tool button counts as a click on it, which processes the
// file; the button then processes it once more.
void TForm1::btnEdgesClick() {
  chkPointOutEdges->click();
  ProcessCurrentFile();
}

void TForm1::btnContourClick() {
  chkViewContour->click();
  ProcessCurrentFile();
}

void TForm1::btnCuttingPathClick() {
  chkViewCuttingPath->click();
  ProcessCurrentFile();
}

// The tool table window edits Settings; "Close and save" writes them and re-processes.
void TForm1::mnuToolsClick() {
  if (!frmTools || !frmTools->Execute(ViewerState.Settings)) return;
  const TSettingsResult written = WriteSettings(SettingsFileName, ViewerState.Settings);
  if (!written.Ok) memInfo->Append(SettingsNotWritten(SettingsFileName, written.Error));
  ProcessCurrentFile();
}

void TForm1::SetMachineView(TfrmRealPointView& view) {
  TMachineDrawRun run;
  run.Tools = &ViewerState.Settings.Tools;
  run.CurrentTool = &ViewerState.Settings.CurrentTool;
  run.Info = [this](const std::string& s) { memInfo->Append(s); };
  MachineView = std::make_unique<TMachineViewLink>(
      view, ViewerState.MachineViewOn, [this] { ProcessCurrentFile(); }, std::move(run));
}

// Shows or hides the machine-coordinate window; shown, it replays the live instance.
void TForm1::mnuSimulationClick() {
  if (MachineView) MachineView->Toggle(ViewerState.EngineHandle);
  else ViewerState.MachineViewOn = !ViewerState.MachineViewOn;
}

void TForm1::DrawMachineView(int32_t handle) {
  if (MachineView) MachineView->AfterProcessing(handle);
}

void TForm1::mnuAboutClick() {
  if (Companions.About) Companions.About->ShowInFront();
}

void TForm1::mnuCloseClick() {
  if (!CompanionsLetGo()) return;
  // The splash fades out first; closing the main window ends the program.
  if (Companions.Startup) Companions.Startup->ShowAndWait();
  close();
}

bool TForm1::CompanionsLetGo() {
  TfrmShowCncFile* text = Companions.ShowCncFile;
  return !text || !text->isVisible() || text->close();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!CompanionsLetGo()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void TForm1::btnRloadClick() { ProcessCurrentFile(); }

void TForm1::btnClearInfoClick() { memInfo->clear(); }

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == SimBox && event->type() == QEvent::MouseMove) {
    const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
    lblPointer->setText(
        QString::fromStdString(PointerText(*SimBox, SimBox->W0Pos, TPixelXY{p.x(), p.y()}, SimBox->MouseMode)));
  } else if (watched == SimBox && event->type() == QEvent::Leave) {
    lblPointer->clear();
  } else if (watched == SimBox && event->type() == QEvent::MouseButtonPress && SimBox->MouseMode == TMouseMode::Pick) {
    PickAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    return true;
  }
  if (event->type() == QEvent::KeyPress) {
    const auto* w = qobject_cast<QWidget*>(watched);
    if (w && w->window() == this) return HandleKey(watched, event);
  }
  return QMainWindow::eventFilter(watched, event);
}

bool TForm1::HandleKey(QObject* receiver, QEvent* event) {
  // An ignored key event goes on to the receiver's parent, through this filter again.
  const bool climbing = event == LastKeyEvent && LastKeyReceiver && receiver == LastKeyReceiver->parent();
  LastKeyEvent = event;
  LastKeyReceiver = receiver;
  if (climbing) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  for (const TFunctionKey& k : FunctionKeys()) {
    if (key->key() != k.Key) continue;
    if (k.Run) (this->*k.Run)();
    else SimBox->SetMouseMode(k.MouseMode);
    return true;
  }
  const std::string echo = KeyEchoLine(key->text(), key->modifiers());
  if (!echo.empty()) memInfo->Append(echo);
  return false;
}
