// View > Stock…: the block (origin, size, top, thickness, or the program's default), the
// cell and the tools with ball or V ends.
#pragma once

#include <QDialog>

#include "app/stock_preferences.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;

class TStockDialog : public QDialog {
 public:
  explicit TStockDialog(const TStockPreferences& preferences, QWidget* parent = nullptr);
  // What the dialog shows; none while the tools' text is not understood.
  std::optional<TStockPreferences> Chosen() const;

 private:
  void accept() override;

  TStockPreferences Start;
  QCheckBox* OwnBlock = nullptr;
  QDoubleSpinBox* Values[6] = {};  // X0, Y0, width, height, top, thickness
  QDoubleSpinBox* Cell = nullptr;
  QLineEdit* Tools = nullptr;
  QLabel* Problem = nullptr;
};
