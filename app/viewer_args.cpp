#include "app/viewer_args.h"

const char* const kViewerUsage =
    "usage: velquor [PROGRAM] [--settings FILE.INI] [--grab FILE.png [--quit]]\n"
    "  PROGRAM            a CNC program (*.cnc, *.txt, *.grb) opened at start\n"
    "  --settings FILE    settings file to use instead of the one beside the executable\n"
    "  --grab FILE.png    save a picture of the main window once the start-up is done\n"
    "  --quit             end after the grab, printing the information pane (for scripts and tests)\n";

TViewerArgs ParseViewerArgs(const QStringList& args) {
  TViewerArgs a;
  for (qsizetype i = 0; i < args.size() && a.Error.isEmpty(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
      a.Help = true;
    } else if (arg == QLatin1String("--grab")) {
      if (i + 1 >= args.size()) a.Error = QStringLiteral("--grab needs a file name");
      else a.GrabFile = args[++i];
    } else if (arg == QLatin1String("--settings")) {
      if (i + 1 >= args.size()) a.Error = QStringLiteral("--settings needs a file name");
      else a.SettingsFile = args[++i];
    } else if (arg == QLatin1String("--quit")) {
      a.Quit = true;
    } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
      a.Error = QStringLiteral("unknown option ") + arg;
    } else if (a.Program.isEmpty()) {
      a.Program = arg;
    } else {
      a.Error = QStringLiteral("the viewer opens one program");
    }
  }
  if (a.Error.isEmpty() && a.Quit && a.GrabFile.isEmpty()) a.Error = QStringLiteral("--quit goes with --grab");
  return a;
}
