#include "app/stock_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr double kLargestMm = 100000.0;
constexpr int kDecimals = 3;
const char* const kValueNames[6] = {"Origin X", "Origin Y", "Width", "Length", "Top Z", "Thickness"};

QDoubleSpinBox* MillimetreBox(QWidget* parent, double lo, double value) {
  auto* box = new QDoubleSpinBox(parent);
  box->setRange(lo, kLargestMm);
  box->setDecimals(kDecimals);
  box->setSuffix(QStringLiteral(" mm"));
  box->setValue(value);
  return box;
}

}  // namespace

TStockDialog::TStockDialog(const TStockPreferences& preferences, QWidget* parent)
    : QDialog(parent), Start(preferences) {
  setWindowTitle(QStringLiteral("Stock"));
  auto* form = new QFormLayout(this);
  OwnBlock = new QCheckBox(QStringLiteral("Own block (else the program's feed moves plus the largest radius and 2 mm)"),
                           this);
  OwnBlock->setChecked(preferences.Box.has_value());
  form->addRow(OwnBlock);
  const TStockBox b = preferences.Box.value_or(TStockBox{0, 0, 100, 100, 0, 10});
  const double values[6] = {b.X0, b.Y0, b.X1 - b.X0, b.Y1 - b.Y0, b.Top, b.Thickness};
  for (int k = 0; k < 6; ++k) {
    const bool size = k == 2 || k == 3 || k == 5;
    Values[k] = MillimetreBox(this, size ? 0.001 : -kLargestMm, values[k]);
    Values[k]->setEnabled(OwnBlock->isChecked());
    connect(OwnBlock, &QCheckBox::toggled, Values[k], &QWidget::setEnabled);
    form->addRow(QString::fromUtf8(kValueNames[k]), Values[k]);
  }
  Cell = MillimetreBox(this, 0.0, preferences.Cell.value_or(0.0));
  Cell->setDecimals(4);
  Cell->setSpecialValueText(QStringLiteral("default"));
  form->addRow(QStringLiteral("Cell"), Cell);
  Tools = new QLineEdit(QString::fromStdString(ToolShapesText(preferences.Shapes)), this);
  Tools->setPlaceholderText(QStringLiteral("all flat; e.g. 3=ball 5=v60"));
  form->addRow(QStringLiteral("Tool ends"), Tools);
  Problem = new QLabel(this);
  form->addRow(Problem);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TStockDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
}

std::optional<TStockPreferences> TStockDialog::Chosen() const {
  TStockPreferences p = Start;
  std::string error;
  const auto shapes = ParseToolShapes(Tools->text().toStdString(), error);
  if (!shapes) return std::nullopt;
  p.Shapes = *shapes;
  p.Box.reset();
  if (OwnBlock->isChecked()) {
    const double x0 = Values[0]->value(), y0 = Values[1]->value();
    p.Box = TStockBox{x0, y0, x0 + Values[2]->value(), y0 + Values[3]->value(), Values[4]->value(), Values[5]->value()};
  }
  p.Cell.reset();
  if (Cell->value() > 0) p.Cell = Cell->value();
  return p;
}

void TStockDialog::accept() {
  std::string error;
  if (!ParseToolShapes(Tools->text().toStdString(), error)) {
    Problem->setText(QString::fromStdString(error));
    return;
  }
  QDialog::accept();
}
