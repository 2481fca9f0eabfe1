// View > Result: the simulated stock of the live run, painted under the drawn lists. The
// simulation runs in a worker after every processing while Result is on, with a progress
// bar in the status bar; Esc cancels it, and a run that a newer one replaced is dropped.
#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "app/stock_preferences.h"
#include "base/records.h"
#include "engine/cnc_api.h"
#include "stock/stock_simulation.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QProgressBar;
class QShortcut;
class TInfoMemo;
class TSimBox;

class TStockResultView : public QObject {
 public:
  // Adds View > Result and View > Stock… to `viewMenu` and its parts to the window's status bar.
  TStockResultView(QMainWindow& window, QMenu& viewMenu, TSimBox& view, TInfoMemo& pane);
  ~TStockResultView() override;

  // After every processing: simulates the live instance's run while Result is on.
  void RunProcessed(int32_t handle, const TCncPoint& start, const TToolTable& tools);

  bool ResultOn() const;
  bool Running() const { return Job != nullptr; }
  // The result shown, if any.
  const TStockResult* Shown() const { return Result.get(); }
  // The status text of the depth under the pointer.
  QString DepthText() const;
  // Stops the running simulation; its result is dropped.
  void Cancel();

  // Told of every result shown (none when it is cleared), with the run it came from.
  std::function<void(std::shared_ptr<const TStockResult>, int32_t handle, const TCncPoint& start)> ResultChanged;
  // Told when a simulation starts and when it ends, finished or not, and how far it got.
  std::function<void(bool running)> RunningChanged;
  std::function<void(int percent)> ProgressChanged;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TJob {
    std::atomic<bool> Cancel{false};
    std::atomic<bool> Finished{false};
    std::atomic<uint64_t> Done{0};
    std::atomic<uint64_t> Total{0};
    TStockResult Result;
    std::jthread Thread;
  };

  void Start();
  void Poll();
  void Show(std::shared_ptr<const TStockResult> result);
  void ResultToggled(bool on);
  void EditStock();

  TSimBox& View;
  TInfoMemo& Pane;
  QAction* ResultAction = nullptr;
  QProgressBar* Progress = nullptr;
  QLabel* Depth = nullptr;
  QShortcut* Escape = nullptr;
  QTimer Poller;
  TStockPreferences Preferences;

  int32_t Handle = 0;  // the live instance the last processing left
  TCncPoint StartPoint{0, 0, 0};
  TToolTable Tools{};
  std::unique_ptr<TJob> Job;
  std::shared_ptr<const TStockResult> Result;
};
