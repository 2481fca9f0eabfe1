// The command line of the viewer: velquor [PROGRAM] [--settings FILE.INI] [--grab FILE.png [--quit]].
#pragma once

#include <QStringList>

struct TViewerArgs {
  QString Program;       // opened at start as if chosen with File > Open
  QString SettingsFile;  // instead of the settings file beside the executable
  QString GrabFile;      // the main window is saved here as a picture once the start is done
  bool Quit = false;     // ends the program after the grab, printing the pane
  bool Help = false;
  QString Error;  // empty when the arguments made sense
};

extern const char* const kViewerUsage;

// `args` without the program name.
TViewerArgs ParseViewerArgs(const QStringList& args);
