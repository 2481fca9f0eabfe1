#include "windows/show_cnc_file.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/executable_path.h"
#include "windows/program_numbers.h"
#include "windows/window_style.h"

namespace {

constexpr int kWidth = 771;
constexpr int kHeight = 756;
constexpr const char* kViewerExecutable = "velquor";

}  // namespace

TfrmShowCncFile::TfrmShowCncFile(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmShowCncFile");
  setWindowTitle("Cnc-File view[*]");
  SetUpCompanionWindow(this);
  resize(kWidth, kHeight);

  auto* bar = new QToolBar(this);
  bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  Memo1 = new QPlainTextEdit("Memo1", this);
  Memo1->setObjectName("Memo1");
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(Memo1, 1);

  const struct {
    const char* Caption;
    const char* Tip;
    QStyle::StandardPixmap Icon;
    void (TfrmShowCncFile::*Click)();
    const char* Name;
  } buttons[] = {
      {"Close", "Close window", QStyle::SP_DialogCloseButton, &TfrmShowCncFile::btnCloseClick, "btnClose"},
      {"Open CNC file", "Open CNC file", QStyle::SP_DialogOpenButton, &TfrmShowCncFile::btnOpenClick, "btnOpen"},
      {"Save", "Save program", QStyle::SP_DialogSaveButton, &TfrmShowCncFile::btnSaveClick, "btnSave"},
      {"Create program number", "Create program numbers", QStyle::SP_FileDialogDetailedView,
       &TfrmShowCncFile::btnCreateNumbersClick, "btnCreateNumbers"},
      {"Clear program number", "Clear program numbers", QStyle::SP_FileDialogListView,
       &TfrmShowCncFile::btnClearNumbersClick, "btnClearNumbers"},
      {"", "Open Velquor", QStyle::SP_ComputerIcon, &TfrmShowCncFile::btnOpenVelquorClick, "btnOpenVelquor"},
  };
  for (const auto& b : buttons) {
    auto* button = new QToolButton(bar);
    button->setObjectName(b.Name);
    button->setText(b.Caption);
    button->setToolTip(b.Tip);
    button->setIcon(style()->standardIcon(b.Icon));
    button->setToolButtonStyle(*b.Caption ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
    connect(button, &QToolButton::clicked, this, b.Click);
    bar->addWidget(button);
  }
  btnSave = bar->findChild<QToolButton*>("btnSave");
  btnCreateNumbers = bar->findChild<QToolButton*>("btnCreateNumbers");
  // Both write the window's file: there is none before the first load.
  btnSave->setEnabled(false);
  btnCreateNumbers->setEnabled(false);

  // A double click names its whole line to the main window instead of selecting a word.
  Memo1->viewport()->installEventFilter(this);
  connect(Memo1, &QPlainTextEdit::textChanged, this, [this] {
    if (!SettingText_) SetChanged(true);
  });
}

bool TfrmShowCncFile::Load(const QString& fileName) {
  const TProgramFileRead r = ReadProgramTextFile(fileName);
  if (!r.Error.isEmpty()) {
    ShowError(r.Error);
    return false;
  }
  FileName_ = fileName;
  Format_ = r.Decoded.Format;
  SetText(r.Decoded.Text);
  SetChanged(false);
  btnSave->setEnabled(true);
  btnCreateNumbers->setEnabled(true);
  return true;
}

bool TfrmShowCncFile::EditFile(const QString& fileName) {
  if (!OfferToSave() || !Load(fileName)) return false;
  show();
  raise();
  activateWindow();
  return true;
}

void TfrmShowCncFile::btnCloseClick() { close(); }

void TfrmShowCncFile::closeEvent(QCloseEvent* event) {
  if (OfferToSave()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TfrmShowCncFile::btnOpenClick() {
  if (!OfferToSave()) return;
  const QString name = Dialogs.ChooseFile(this, OpenQuestion());
  // The changed mark goes with a successful load only: a cancelled dialog keeps the edits.
  if (!name.isEmpty()) Load(name);
}

TFileQuestion TfrmShowCncFile::OpenQuestion() const {
  TFileQuestion q;
  q.Title = "Open CNC file";
  q.Start = FileName_;
  q.SystemDialog = true;
  return q;
}

void TfrmShowCncFile::btnSaveClick() { Save(); }

void TfrmShowCncFile::btnCreateNumbersClick() {
  const std::optional<std::string> bytes = EncodeProgramText(Memo1->toPlainText(), Format_);
  if (!bytes) {
    ShowError("cannot write " + FileName_ + ": the text holds characters its 8-bit encoding cannot store");
    return;
  }
  if (bytes->empty()) return;
  if (!WriteFile(CreateProgramNumbers(*bytes)) || !Load(FileName_)) return;
  SetChanged(true);
}

void TfrmShowCncFile::btnClearNumbersClick() {
  const QString text = Memo1->toPlainText();
  if (text.isEmpty()) return;
  // Only ASCII prefixes go, so UTF-8 serves for any text the window holds.
  const std::string cleared = ClearProgramNumbers(text.toUtf8().toStdString());
  SetText(QString::fromUtf8(cleared.data(), static_cast<qsizetype>(cleared.size())));
  SetChanged(true);
}

void TfrmShowCncFile::btnOpenVelquorClick() {
  const QString program = QString::fromStdString(ExecutableFolder()) + kViewerExecutable;
  if (!QProcess::startDetached(program, {})) ShowError("cannot start " + program);
}

bool TfrmShowCncFile::OfferToSave() {
  if (!Changed_ || FileName_.isEmpty()) return true;
  return !Dialogs.AskYesNo(this, {"Info", "program has been changed - Save?", true}) || Save();
}

bool TfrmShowCncFile::Save() {
  if (FileName_.isEmpty()) return false;
  const std::optional<std::string> bytes = EncodeProgramText(Memo1->toPlainText(), Format_);
  if (!bytes) {
    ShowError("cannot write " + FileName_ + ": the text holds characters its 8-bit encoding cannot store");
    return false;
  }
  if (!WriteFile(*bytes)) return false;
  SetChanged(false);
  return true;
}

bool TfrmShowCncFile::WriteFile(std::string_view bytes) {
  const QString error = WriteProgramTextFile(FileName_, bytes);
  if (error.isEmpty()) return true;
  ShowError(error);
  return false;
}

void TfrmShowCncFile::SetText(const QString& text) {
  SettingText_ = true;
  Memo1->setPlainText(text);
  SettingText_ = false;
}

void TfrmShowCncFile::SetChanged(bool changed) {
  Changed_ = changed;
  setWindowModified(changed);
}

void TfrmShowCncFile::ShowError(const QString& text) { Dialogs.Warn(this, "Info", text); }

bool TfrmShowCncFile::SelectBlock(int32_t number) {
  const int line = LineWithNumber(Memo1->toPlainText().toStdString(), number);
  if (line < 0) return false;
  SelectLine(line);
  return true;
}

void TfrmShowCncFile::SelectLine(int line) {
  QTextCursor cursor(Memo1->document()->findBlockByNumber(line));
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  Memo1->setTextCursor(cursor);
  Memo1->ensureCursorVisible();
}

bool TfrmShowCncFile::eventFilter(QObject* watched, QEvent* event) {
  if (watched != Memo1->viewport() || event->type() != QEvent::MouseButtonDblClick)
    return QWidget::eventFilter(watched, event);
  const auto* mouse = static_cast<QMouseEvent*>(event);
  if (mouse->button() != Qt::LeftButton) return false;
  const QTextBlock block = Memo1->cursorForPosition(mouse->position().toPoint()).block();
  SelectLine(block.blockNumber());
  emit LineDoubleClicked(block.blockNumber());
  return true;
}
