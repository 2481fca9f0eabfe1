// The information pane of the main window: the program's one log, a line per message.
#pragma once

#include <QPlainTextEdit>

#include "app/process_file.h"

class TInfoMemo : public QPlainTextEdit, public TInfoPane {
 public:
  explicit TInfoMemo(QWidget* parent = nullptr);

  void Append(const std::string& line) override;
  void PutInFront(const std::string& text) override;

  // Lines appended between these two calls are laid out once, at the end: a run may
  // bring hundreds of thousands of messages.
  void BeginBatch() { Batching = true; }
  void EndBatch();

 private:
  void Flush();

  bool Batching = false;
  QStringList Pending;
};

// A message's text as the pane shows it: "\r\n" is a line break like "\n".
QString PaneText(const std::string& text);
