// velquor: the desktop viewer.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/info_pane.h"
#include "app/main_window.h"
#include "app/viewer_args.h"
#include "tools/info_tool_def_window.h"
#include "tools/tool_preview_window.h"
#include "tools/tools_window.h"
#include "windows/about_box.h"
#include "windows/controller_dialog.h"
#include "windows/real_point_view.h"
#include "windows/show_cnc_file.h"
#include "windows/startup_window.h"
#include "windows/window_style.h"

namespace {

// Every window of the program, created once at start and kept until the end, in this
// order: main window, about, splash, machine-coordinate view, tool table, tool definition
// help, Gerber tool preview, program text, controller picture dialog. The splash's timed
// display starts once all of them exist.
struct TViewerWindows {
  std::unique_ptr<TForm1> Form1;
  std::unique_ptr<TAboutBox> AboutBox;
  std::unique_ptr<TfrmStartup> frmStartup;
  // Owned by the main window, so that closing the main window still ends the program.
  TfrmRealPointView* RealPointView = nullptr;
  TToolWindows Tools;  // tool table, tool definition help, Gerber preview; owned by Form1
  std::unique_ptr<TfrmShowCncFile> frmShowCncFile;
  std::unique_ptr<TdlgController> dlgController;
};

void CreateWindows(TViewerWindows& w, const TStartPaths& paths) {
  w.Form1 = std::make_unique<TForm1>(paths);
  PlaceOnScreen(w.Form1.get(), nullptr);  // smaller than its start size on a small screen
  w.Form1->show();
  w.AboutBox = std::make_unique<TAboutBox>();
  w.frmStartup = std::make_unique<TfrmStartup>();
  w.RealPointView = new TfrmRealPointView(w.Form1.get());
  w.Form1->SetMachineView(*w.RealPointView);
  w.Tools = CreateToolWindows(w.Form1.get());
  w.Form1->SetToolWindow(w.Tools.Tools);
  w.frmShowCncFile = std::make_unique<TfrmShowCncFile>();
  w.dlgController = std::make_unique<TdlgController>();
  // Windows whose place is open come up centred on the window that opens them.
  for (QWidget* window : {static_cast<QWidget*>(w.RealPointView), static_cast<QWidget*>(w.Tools.Tools),
                          static_cast<QWidget*>(w.frmShowCncFile.get())})
    KeepOnScreen(window, w.Form1.get());
  for (QWidget* window : {static_cast<QWidget*>(w.Tools.Help), static_cast<QWidget*>(w.Tools.Preview)})
    KeepOnScreen(window, w.Tools.Tools);
  w.Form1->SetCompanions({w.AboutBox.get(), w.frmStartup.get(), w.frmShowCncFile.get()});
  // The machine-coordinate window's two information buttons.
  w.RealPointView->OnProgramInfo = [about = w.AboutBox.get()] { about->ShowInFront(); };
  const auto showController = [controller = w.dlgController.get()] { controller->ShowController(); };
  w.RealPointView->OnControllerInfo = showController;
  w.Tools.Tools->OnControllerInfo = showController;
}

// Saves a picture of the window once the events queued by the start are handled.
// With `quit` the information pane goes to standard output and the program ends.
void GrabLater(TForm1& window, const QString& file, bool quit) {
  QTimer::singleShot(0, &window, [&window, file, quit] {
    if (!window.grab().save(file, "PNG")) {
      std::fprintf(stderr, "velquor: cannot write %s\n", qPrintable(file));
      QCoreApplication::exit(1);
      return;
    }
    if (!quit) return;
    std::printf("%s\n", qPrintable(window.InfoPane().toPlainText()));
    QCoreApplication::exit(0);
  });
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Velquor"));
  QApplication::setApplicationDisplayName(QStringLiteral("Velquor"));

  const TViewerArgs args = ParseViewerArgs(QApplication::arguments().mid(1));
  if (args.Help) {
    std::printf("%s", kViewerUsage);
    return 0;
  }
  if (!args.Error.isEmpty()) {
    std::fprintf(stderr, "velquor: %s\n%s", qPrintable(args.Error), kViewerUsage);
    return 2;
  }

  TStartPaths paths = TStartPaths::BesideExecutable();
  // A settings file named on the command line is used as it is, never made from the example.
  if (!args.SettingsFile.isEmpty()) paths = {args.SettingsFile.toStdString(), paths.FontPath, {}};
  TViewerWindows windows;
  CreateWindows(windows, paths);
  if (!args.Program.isEmpty()) windows.Form1->OpenProgram(args.Program);
  windows.frmStartup->Start();
  if (!args.GrabFile.isEmpty()) GrabLater(*windows.Form1, args.GrabFile, args.Quit);
  return app.exec();
}
