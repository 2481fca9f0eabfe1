// The viewer's own preferences, kept between runs in the user's configuration folder through
// QSettings ($XDG_CONFIG_HOME/velquor/velquor-viewer.conf), never in the settings file of
// the tool table. Every window that keeps a preference reads and writes it here.
#pragma once

#include <QSettings>

inline constexpr const char* kPreferencesOrganisation = "velquor";
inline constexpr const char* kPreferencesApplication = "velquor-viewer";

// The preferences file of this user.
QSettings ViewerPreferences();

// View > "Fit program on open": a newly opened program is framed as Zoom to part does.
bool ReadFitOnOpen();
void WriteFitOnOpen(bool on);

// The folder the open dialog was last confirmed in; empty before the first time.
QString ReadLastOpenFolder();
void WriteLastOpenFolder(const QString& folder);
// Where the open dialog starts: at the current program (in its folder), else in the folder
// last used.
QString OpenDialogStart(const QString& currentFile, const QString& lastFolder);
