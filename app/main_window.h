// TForm1: the main window. It wires the tool bar, the menus and the controls to the view
// and to the processing run; the work itself lives in process_file and the view.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>

#include "app/process_file.h"
#include "app/shortcut_list.h"
#include "display/user_dialogs.h"

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;
class TAboutBox;
class TElidedLabel;
class TFileFollower;
enum class TFollowAction;
class TInfoMemo;
class TMachineViewLink;
class TPlaybackBar;
class TSimBox;
class TResultCompanions;
class TStockResultView;
class TfrmRealPointView;
class TfrmTools;
class TfrmShowCncFile;
class TfrmStartup;

// Where the main window finds its files: beside the executable, or where an installed
// program keeps them when that folder holds none and cannot be written.
struct TStartPaths {
  std::string SettingsFile;
  std::string FontPath;
  // Copied to SettingsFile when that is missing (a first start); empty: nothing is copied.
  std::string SeedFile;
  static TStartPaths BesideExecutable();
};

// The windows the main window opens; created after it (app/main.cpp) and kept as long.
struct TCompanionWindows {
  TAboutBox* About = nullptr;
  TfrmStartup* Startup = nullptr;
  TfrmShowCncFile* ShowCncFile = nullptr;
};

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TForm1(const TStartPaths& paths = TStartPaths::BesideExecutable(), QWidget* parent = nullptr);
  ~TForm1() override;

  // Sizes of the window and its parts when it opens, in pixels.
  static constexpr int kClientWidth = 994;
  static constexpr int kClientHeight = 885;
  static constexpr int kToolBarHeight = 29;
  static constexpr int kViewPanelHeight = 628;
  static constexpr int kInfoPaneHeight = 143;

  // The tool table window the Tools command shows; created after this window.
  void SetToolWindow(TfrmTools* tools) { frmTools = tools; }
  // A double click on a line of the program text window shows that line's moves.
  void SetCompanions(const TCompanionWindows& windows);

  // File > Open with a name already chosen (the command line's program).
  void OpenProgram(const QString& fileName);
  // ProcessFile for CurrentFile with the window's check boxes, wait cursor and status line.
  void ProcessCurrentFile();

  TSimBox& View() { return *SimBox; }
  TPlaybackBar& Playback() { return *barPlayback; }
  TStockResultView& StockResult() { return *StockView; }
  TResultCompanions& ResultCompanions() { return *ResultViews; }
  TInfoMemo& InfoPane() { return *memInfo; }
  // What File > Open and Edit CNC file ask: it starts at the last chosen file.
  TFileQuestion OpenQuestion() const;
  // Who answers the window's file questions.
  void SetDialogs(TUserDialogs dialogs) { Dialogs = std::move(dialogs); }
  // File > Export picture... with a name already chosen; the pane tells how it went.
  void ExportPicture(const QString& fileName);
  const TViewerState& State() const { return ViewerState; }
  TViewerState& State() { return ViewerState; }
  const std::string& FontPath() const { return FontPathText; }
  // Where Settings were read from and where the tool table's "Save and close" writes them.
  const std::string& SettingsFile() const { return SettingsFileName; }
  // The line under the pane that sums up the last run.
  QString StatusText() const;
  // The status area's job figures of the last run, and the pointer's coordinates.
  QString FiguresText() const;
  QString PointerStatusText() const;
  // The machine-coordinate window, created after this one: the simulation toggle shows it,
  // every processing run draws it while it is shown, its controls process the file again.
  void SetMachineView(TfrmRealPointView& view);

 public slots:
  void mnuOpenClick();
  void mnuExportPictureClick();
  void btnEditClick();
  void btnRefreshClick();
  void btnZoomAllClick();
  void btnEdgesClick();
  void btnContourClick();
  void btnCuttingPathClick();
  void mnuToolsClick();
  void mnuSimulationClick();
  void mnuAboutClick();
  void mnuCloseClick();
  void btnRloadClick();
  void btnClearInfoClick();
  void mnuZoomToPartClick();
  void mnuPickClick();
  // Highlights the moves of the program text window's line and brings them into sight.
  void ShowLineInView(int line);
  // A double click on a message about line `fileLine` (from 1): the program text window at
  // that line, and the line's moves highlighted in the view.
  void ShowMessageLine(int32_t fileLine);
  void mnuPlaybackClick(bool on);
  // Info > "Keyboard shortcuts": every key, shortcut and mouse gesture of this window.
  void mnuShortcutsClick();

 public:
  std::vector<TShortcutRow> KeyboardShortcuts() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  // A changed program text is offered for saving before the program ends.
  void closeEvent(QCloseEvent* event) override;
  // The machine-coordinate drawing run for the live instance; the machine view replays it.
  virtual void DrawMachineView(int32_t handle);

 private:
  void BuildViewPanel(QWidget* parent);
  void ScrollBarsFollowView();
  void BuildControlRow(QWidget* parent);
  void BuildToolBar();
  void BuildMenus();
  void CreationSteps(const TStartPaths& paths);
  // The open question's file after it was answered; the earlier one when it was cancelled,
  // empty when none was ever chosen.
  QString RunOpenDialog(bool& confirmed);
  bool HandleKey(QObject* receiver, QEvent* event);
  // Pick mode: the drawn move nearest to the pixel, highlighted and named in the pane.
  void PickAt(QPoint pixel);
  // The program text window is open on the program the view shows.
  bool TextWindowShowsProgram() const;
  // Selects file line `fileLine` (from 1) in the program text window when it shows the
  // program; by its N number `block` when the file line is not known.
  void SelectTextLine(int32_t fileLine, int32_t block);
  // The follower's news: the file changed (processed again, the window kept) or vanished.
  void FileChangedOnDisk(TFollowAction action);
  TDisplayChecks Checks() const;
  // False when the program text window, asked to close, stays open (its save failed).
  bool CompanionsLetGo();

  // A function key runs a handler, or without one sets a mouse mode of the view.
  struct TFunctionKey {
    int Key;
    const char* What;
    void (TForm1::*Run)();
    int32_t MouseMode;
  };
  static const std::vector<TFunctionKey>& FunctionKeys();
  static const std::vector<TShortcutRow>& MouseRows();
  void ZoomHomeKey();

  TViewerState ViewerState;
  TCompanionWindows Companions;
  std::string FontPathText;
  std::string SettingsFileName;
  QString OpenFileName;  // the last chosen or opened file; kept when the question is cancelled

  TSimBox* SimBox = nullptr;
  TPlaybackBar* barPlayback = nullptr;
  QScrollBar* sbHorizontal = nullptr;
  QScrollBar* sbVertical = nullptr;
  QLabel* lblGrid = nullptr;
  QScrollBar* sbGrid = nullptr;
  QPushButton* btnRload = nullptr;
  QPushButton* btnClearInfo = nullptr;
  QCheckBox* chkPointOutEdges = nullptr;
  QCheckBox* chkViewContour = nullptr;
  QCheckBox* chkViewCuttingPath = nullptr;
  TInfoMemo* memInfo = nullptr;
  TElidedLabel* lblStatus = nullptr;
  QLabel* lblFigures = nullptr;
  QLabel* lblPointer = nullptr;
  TUserDialogs Dialogs = QtDialogs();
  std::unique_ptr<TMachineViewLink> MachineView;
  TfrmTools* frmTools = nullptr;
  QAction* mnuFitOnOpen = nullptr;
  TFileFollower* Follower = nullptr;         // processes CurrentFile again when it changes on disk
  TResultCompanions* ResultViews = nullptr;  // View > Result in 3D and View > Section
  TStockResultView* StockView = nullptr;     // View > Result: the simulated stock under the lists

  // A key event climbs from the focus widget to its parents; it counts once.
  const QEvent* LastKeyEvent = nullptr;
  QPointer<QObject> LastKeyReceiver;
};
