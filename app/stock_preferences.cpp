#include "app/stock_preferences.h"

#include <QSettings>
#include <string>

namespace {

constexpr const char* kOrganisation = "velquor";
constexpr const char* kApplication = "velquor-viewer";
constexpr const char* kGroup = "Stock";
constexpr const char* kResultKey = "Result";
constexpr const char* kOwnBoxKey = "OwnBlock";
constexpr const char* kCellKey = "Cell";
constexpr const char* kToolsKey = "Tools";
// The block's values, in the order of TStockBox.
constexpr const char* kBoxKeys[] = {"X0", "Y0", "X1", "Y1", "Top", "Thickness"};

QSettings Preferences() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication);
}

}  // namespace

TStockPreferences ReadStockPreferences() {
  QSettings s = Preferences();
  s.beginGroup(kGroup);
  TStockPreferences p;
  p.ResultOn = s.value(kResultKey, false).toBool();
  if (s.value(kOwnBoxKey, false).toBool()) {
    double v[6];
    for (size_t k = 0; k < 6; ++k) v[k] = s.value(kBoxKeys[k], 0.0).toDouble();
    const TStockBox box{v[0], v[1], v[2], v[3], v[4], v[5]};
    // A block the file spoils is left for the default rather than refused at each run.
    if (StockBoxProblem(box).empty()) p.Box = box;
  }
  const double cell = s.value(kCellKey, 0.0).toDouble();
  if (cell > 0) p.Cell = cell;
  std::string error;
  if (const auto shapes = ParseToolShapes(s.value(kToolsKey).toString().toStdString(), error)) p.Shapes = *shapes;
  return p;
}

void WriteStockPreferences(const TStockPreferences& p) {
  QSettings s = Preferences();
  s.beginGroup(kGroup);
  s.setValue(kResultKey, p.ResultOn);
  s.setValue(kOwnBoxKey, p.Box.has_value());
  if (p.Box) {
    const double v[6] = {p.Box->X0, p.Box->Y0, p.Box->X1, p.Box->Y1, p.Box->Top, p.Box->Thickness};
    for (size_t k = 0; k < 6; ++k) s.setValue(kBoxKeys[k], v[k]);
  }
  s.setValue(kCellKey, p.Cell.value_or(0.0));
  s.setValue(kToolsKey, QString::fromStdString(ToolShapesText(p.Shapes)));
}
