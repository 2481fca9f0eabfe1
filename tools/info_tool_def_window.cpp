#include "tools/info_tool_def_window.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "tools/tool_block.h"
#include "tools/tool_grid_view.h"

namespace {
constexpr int kWidth = 393;
constexpr int kHeight = 482;
}  // namespace

TfrmInfoToolDef::TfrmInfoToolDef(QWidget* parent)
    : QDialog(parent, kToolWindowFlags), Text_(new QPlainTextEdit(this)), btnClose_(new QPushButton("Close", this)) {
  setObjectName("frmInfoToolDef");
  setWindowTitle("Tool definition");
  setFixedSize(kWidth, kHeight);
  QStringList lines;
  for (const char* line : kToolDefinitionHelp) lines << QString::fromUtf8(line);
  Text_->setPlainText(lines.join('\n'));
  Text_->setReadOnly(true);
  Text_->setLineWrapMode(QPlainTextEdit::NoWrap);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnClose_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Text_);
  layout->addLayout(buttons);
  connect(btnClose_, &QPushButton::clicked, this, &QDialog::accept);
}
