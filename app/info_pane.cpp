#include "app/info_pane.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

TInfoMemo::TInfoMemo(QWidget* parent) : QPlainTextEdit(parent) {
  // A log: the user reads and copies it, typing into it only reports the key.
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

QString PaneText(const std::string& text) {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

void TInfoMemo::AppendAbout(const std::string& line, int32_t fileLine) {
  QString text = PaneText(line);
  // A message with line breaks takes several rows, each leading to its line.
  const int rows = static_cast<int>(text.count(QLatin1Char('\n'))) + 1;
  if (Batching) {
    Pending.append(std::move(text));
    PendingLines.emplace_back(rows, fileLine);
    return;
  }
  appendPlainText(text);
  if (fileLine > 0) MarkRows({{rows, fileLine}});
}

void TInfoMemo::MarkRows(const std::vector<std::pair<int, int32_t>>& rowsAndLines) {
  QTextBlock block = document()->lastBlock();
  for (auto it = rowsAndLines.rbegin(); it != rowsAndLines.rend(); ++it) {
    for (int r = 0; r < it->first && block.isValid(); ++r, block = block.previous())
      if (it->second > 0) block.setUserState(it->second);
  }
}

int32_t TInfoMemo::FileLineOfRow(int row) const {
  const int state = document()->findBlockByNumber(row).userState();
  return state > 0 ? state : 0;
}

void TInfoMemo::mouseDoubleClickEvent(QMouseEvent* event) {
  const int32_t fileLine = FileLineOfRow(cursorForPosition(event->position().toPoint()).blockNumber());
  QPlainTextEdit::mouseDoubleClickEvent(event);
  if (fileLine > 0 && event->button() == Qt::LeftButton) emit MessageLineDoubleClicked(fileLine);
}

void TInfoMemo::Flush() {
  if (Pending.isEmpty()) return;
  appendPlainText(Pending.join(QLatin1Char('\n')));
  Pending.clear();
  // Most runs say nothing about a line; their rows need no walk.
  if (std::any_of(PendingLines.begin(), PendingLines.end(), [](const auto& p) { return p.second > 0; }))
    MarkRows(PendingLines);
  PendingLines.clear();
}

void TInfoMemo::EndBatch() {
  Batching = false;
  Flush();
}

void TInfoMemo::PutInFront(const std::string& text) {
  Flush();
  setPlainText(PaneText(text) + toPlainText());
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}
