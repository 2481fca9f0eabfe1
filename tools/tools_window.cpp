#include "tools/tools_window.h"

#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/executable_path.h"
#include "tools/info_tool_def_window.h"
#include "tools/tool_grid_view.h"
#include "tools/tool_preview_window.h"
#include "tools/tool_table.h"

namespace {

constexpr int kClientWidth = 665;
constexpr int kClientHeight = 447;
constexpr int kMemoHeight = 127;
constexpr TGridHeadings kToolHeadings = {"Tool number", "Tool name",   "Diameter [mm]",
                                         "Height [mm]", "Feed [mm/s]", "Speed [rpm]"};

constexpr const char* kOverwriteCaption = "Datei existiert bereits";
constexpr const char* kOverwriteText =
    "Eine Datei mit diesem Namen existiert bereits. Soll diese überschrieben werden?";
constexpr const char* kImportFailure = "Failure on reading Tool definition";

}  // namespace

TfrmTools::TfrmTools(QWidget* parent)
    : QDialog(parent, kToolWindowFlags),
      MenuBar_(new QMenuBar(this)),
      Grid_(new QTableWidget(this)),
      Memo_(new QPlainTextEdit(this)),
      StartFolder_(QString::fromStdString(ExecutableFolder()) + "ToolDefinition/") {
  setObjectName("frmTools");
  setWindowTitle("Tools");

  QMenu* file = MenuBar_->addMenu("&File");
  connect(AddMenuEntry(file, "mnuOpen", "&Open tool definition to file", "Ctrl+F"), &QAction::triggered, this,
          &TfrmTools::mnuOpenClick);
  connect(AddMenuEntry(file, "mnuSave", "&Save tool definition to file", "Ctrl+S"), &QAction::triggered, this,
          &TfrmTools::mnuSaveClick);
  QMenu* import = file->addMenu("Import");
  connect(AddMenuEntry(import, "mnuImport", "Import tool definition form Gerber file", "Ctrl+I"), &QAction::triggered,
          this, &TfrmTools::mnuImportClick);
  file->addSeparator();
  connect(AddMenuEntry(file, "mnuSaveAndClose", "Close and save tool defintion for current job", "Ctrl+F4"),
          &QAction::triggered, this, &TfrmTools::mnuSaveAndCloseClick);
  connect(AddMenuEntry(file, "mnuCloseWithoutSave", "Close without save tool definition to current job", "Ctrl+F5"),
          &QAction::triggered, this, &TfrmTools::mnuCloseWithoutSaveClick);
  QMenu* info = MenuBar_->addMenu("&Info");
  connect(AddMenuEntry(info, "mnuToolDef", "&Tool definition", "Ctrl+T"), &QAction::triggered, this,
          &TfrmTools::mnuToolDefClick);
  connect(AddMenuEntry(info, "mnuInfoOrvik", "Info about ORVIK CNC controller", nullptr), &QAction::triggered, this,
          [this] {
            if (OnControllerInfo) OnControllerInfo();
          });

  SetUpToolGrid(Grid_, kToolHeadings, true);
  ShowGridCells(Grid_, LabelledToolGrid());
  Memo_->setReadOnly(true);
  Memo_->setFixedHeight(kMemoHeight);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(MenuBar_);
  layout->addWidget(Grid_);
  layout->addWidget(Memo_);
  // The client area is what lies below the menu.
  setFixedSize(kClientWidth, kClientHeight + MenuBar_->sizeHint().height());
}

QAction* TfrmTools::AddMenuEntry(QMenu* menu, const char* name, const char* caption, const char* shortcut) {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  action->setObjectName(name);
  if (shortcut) action->setShortcut(QKeySequence(shortcut));
  // Shortcuts work while the window is active, whether or not a menu was opened.
  addAction(action);
  return action;
}

void TfrmTools::SetToolWindows(TfrmInfoToolDef* help, TfrmToolPreview* preview) {
  Help_ = help;
  Preview_ = preview;
}

void TfrmTools::HandOver(TToolTable& tools) {
  Tools_ = &tools;
  ClosedWithSave_ = false;
  ShowGridCells(Grid_, GridFromTools(tools));
  Grid_->scrollToTop();
}

bool TfrmTools::Execute(TCncType& settings) {
  HandOver(settings.Tools);
  exec();
  return ClosedWithSave_;
}

void TfrmTools::AddMemoLine(const QString& line) { Memo_->appendPlainText(line); }

void TfrmTools::OpenToolDefinition(const std::string& path) {
  CommitGridEdit(Grid_);
  TToolGrid cells = GridCells(Grid_);
  const TIniResult r = ReadToolDefinition(path, cells);
  if (!r.Ok) {
    AddMemoLine(QString::fromStdString("Cannot read tool definition " + path + ": " + r.Error));
    return;
  }
  ShowGridCells(Grid_, cells);
}

bool TfrmTools::SaveToolDefinition(const std::string& chosen) {
  CommitGridEdit(Grid_);
  const std::string path = CompleteToolFileName(chosen);
  if (QFileInfo::exists(QString::fromStdString(path)) &&
      !Dialogs.AskYesNo(this, {kOverwriteCaption, QString::fromUtf8(kOverwriteText), false}))
    return false;
  const TIniResult r = WriteToolDefinition(path, GridCells(Grid_));
  if (!r.Ok) AddMemoLine(QString::fromStdString("Cannot write tool definition " + path + ": " + r.Error));
  return r.Ok;
}

void TfrmTools::ImportToolDefinition(const std::string& path) {
  if (!Preview_) return;
  CommitGridEdit(Grid_);
  if (Preview_->Parse(path) > 0) {
    AddMemoLine(kImportFailure);
    // The parser's reason, which the preview would have shown.
    QString reason = QString::fromStdString(Preview_->LogText()).trimmed();
    reason.replace("\r\n", " ");
    AddMemoLine(QString::fromStdString(path) + ": " + reason);
    return;
  }
  if (!Preview_->Execute()) return;
  TToolGrid cells = GridCells(Grid_);
  ApplyImport(cells, Preview_->Rows());
  ShowGridCells(Grid_, cells);
  Grid_->scrollToTop();
}

void TfrmTools::mnuOpenClick() {
  const QString path = Dialogs.ChooseFile(this, {TFileAction::Open,
                                                 "Open tool definition",
                                                 StartFolder_,
                                                 {{"Tool definition (*.ini)", {}}, {"All files (*)", {}}},
                                                 true,
                                                 false});
  if (!path.isEmpty()) OpenToolDefinition(path.toStdString());
}

void TfrmTools::mnuSaveClick() {
  // The overwrite question is this window's own, asked after ".ini" is added.
  const QString path = Dialogs.ChooseFile(this, {TFileAction::Save,
                                                 "Save tool definiton",
                                                 StartFolder_ + "ToolDef",
                                                 {{"Tool Definitions (*.ini)", {}}, {"All filed (*)", {}}},
                                                 false,
                                                 false});
  if (!path.isEmpty()) SaveToolDefinition(path.toStdString());
}

void TfrmTools::mnuImportClick() {
  const QString path = Dialogs.ChooseFile(
      this, {TFileAction::Open, "Import tool definition form Gerber file", {}, {}, true, false});
  if (!path.isEmpty()) ImportToolDefinition(path.toStdString());
}

void TfrmTools::mnuSaveAndCloseClick() {
  CommitGridEdit(Grid_);
  if (Tools_) TakeOverGrid(GridCells(Grid_), *Tools_);
  ClosedWithSave_ = true;
  accept();
}

void TfrmTools::mnuCloseWithoutSaveClick() { reject(); }

void TfrmTools::mnuToolDefClick() {
  if (Help_) Help_->exec();
}

TToolWindows CreateToolWindows(QWidget* owner) {
  TToolWindows w;
  w.Tools = new TfrmTools(owner);
  // Help and preview open over the tool window.
  w.Help = new TfrmInfoToolDef(w.Tools);
  w.Preview = new TfrmToolPreview(w.Tools);
  w.Tools->SetToolWindows(w.Help, w.Preview);
  return w;
}
