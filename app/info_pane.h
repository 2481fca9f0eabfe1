// The information pane of the main window: the program's one log, a line per message.
#pragma once

#include <QPlainTextEdit>
#include <cstdint>
#include <utility>
#include <vector>

#include "app/process_file.h"

class TInfoMemo : public QPlainTextEdit, public TInfoPane {
  Q_OBJECT

 public:
  explicit TInfoMemo(QWidget* parent = nullptr);

  void Append(const std::string& line) override { AppendAbout(line, 0); }
  // The pane remembers the program line of each message, for a double click on it.
  void AppendAbout(const std::string& line, int32_t fileLine) override;
  void PutInFront(const std::string& text) override;

  // Lines appended between these two calls are laid out once, at the end: a run may
  // bring hundreds of thousands of messages.
  void BeginBatch() { Batching = true; }
  void EndBatch();
  // The program line (from 1) pane line `row` (from 0) is about; 0 for none.
  int32_t FileLineOfRow(int row) const;

 signals:
  // A double click on a message about program line `fileLine` (from 1).
  void MessageLineDoubleClicked(int32_t fileLine);

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void Flush();
  // Marks the last `rows` rows of the pane with `fileLines`, one per message.
  void MarkRows(const std::vector<std::pair<int, int32_t>>& rowsAndLines);

  bool Batching = false;
  QStringList Pending;
  std::vector<std::pair<int, int32_t>> PendingLines;  // rows each pending message takes, its line
};

// A message's text as the pane shows it: "\r\n" is a line break like "\n".
QString PaneText(const std::string& text);
