#include "tools/tool_preview_window.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "tools/tool_grid_view.h"

namespace {

constexpr int kWidth = 673;
constexpr int kHeight = 556;
// Speed stands before feed here, unlike in the tool window.
constexpr TGridHeadings kPreviewHeadings = {"Tool number", "Tool name",   "Diameter [mm]",
                                            "Height [mm]", "Speed [rpm]", "Feed [mm/s]"};
constexpr const char* kAccepted = "accept";

}  // namespace

TfrmToolPreview::TfrmToolPreview(QWidget* parent)
    : QDialog(parent, kToolWindowFlags),
      Grid_(new QTableWidget(this)),
      LogView_(new QPlainTextEdit(this)),
      btnAccept_(new QPushButton("accept", this)),
      btnReject_(new QPushButton("reject", this)) {
  setObjectName("frmToolPreview");
  setWindowTitle("New tool definition");
  setFixedSize(kWidth, kHeight);
  SetUpToolGrid(Grid_, kPreviewHeadings, false);
  LogView_->setReadOnly(true);
  LogView_->setLineWrapMode(QPlainTextEdit::NoWrap);
  LogView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  LogView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  btnAccept_->setAutoDefault(false);
  btnReject_->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnAccept_);
  buttons->addWidget(btnReject_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Grid_, 3);
  layout->addWidget(LogView_, 1);
  layout->addLayout(buttons);

  connect(btnAccept_, &QPushButton::clicked, this, &TfrmToolPreview::btnAcceptClick);
  connect(btnReject_, &QPushButton::clicked, this, &TfrmToolPreview::btnRejectClick);
}

int TfrmToolPreview::Parse(const std::string& fileName) {
  const TToolBlock block = ParseToolBlockFile(fileName);
  TToolGrid cells(kToolCount);
  for (size_t n = 0; n < block.Rows.size() && n < cells.size(); ++n) {
    const TToolRow& r = block.Rows[n];
    cells[n] = TToolGridRow{r.Tool, r.Name, r.Diameter, r.Height, r.Speed, r.Feed};
  }
  ShowGridCells(Grid_, cells);
  Log_ = block.Log;
  QString shown = QString::fromStdString(Log_);
  shown.replace("\r\n", "\n");
  LogView_->setPlainText(shown);
  return block.Result;
}

bool TfrmToolPreview::Execute() {
  Result_.clear();
  Grid_->scrollToTop();
  exec();
  return Result_ == kAccepted;
}

std::vector<TToolRow> TfrmToolPreview::Rows() const {
  std::vector<TToolRow> rows;
  for (const TToolGridRow& c : GridCells(Grid_)) rows.push_back(TToolRow{c[0], c[1], c[2], c[3], c[4], c[5]});
  return rows;
}

void TfrmToolPreview::btnAcceptClick() {
  Result_ = kAccepted;
  accept();
}

void TfrmToolPreview::btnRejectClick() { reject(); }
