#include "app/info_pane.h"

#include <QScrollBar>

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

void TInfoMemo::Append(const std::string& line) {
  if (Batching) Pending.append(PaneText(line));
  else appendPlainText(PaneText(line));
}

void TInfoMemo::Flush() {
  if (Pending.isEmpty()) return;
  appendPlainText(Pending.join(QLatin1Char('\n')));
  Pending.clear();
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
