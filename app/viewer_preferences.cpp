#include "app/viewer_preferences.h"

namespace {

constexpr const char* kFitOnOpenKey = "View/FitOnOpen";
constexpr const char* kLastOpenFolderKey = "Open/LastFolder";

}  // namespace

QSettings ViewerPreferences() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, kPreferencesOrganisation, kPreferencesApplication);
}

bool ReadFitOnOpen() { return ViewerPreferences().value(kFitOnOpenKey, true).toBool(); }

void WriteFitOnOpen(bool on) { ViewerPreferences().setValue(kFitOnOpenKey, on); }

QString ReadLastOpenFolder() { return ViewerPreferences().value(kLastOpenFolderKey).toString(); }

void WriteLastOpenFolder(const QString& folder) { ViewerPreferences().setValue(kLastOpenFolderKey, folder); }

QString OpenDialogStart(const QString& currentFile, const QString& lastFolder) {
  return currentFile.isEmpty() ? lastFolder : currentFile;
}
