#include "app/machine_view_link.h"

#include <utility>

#include "engine/cnc_api.h"
#include "windows/real_point_view.h"

TMachineViewLink::TMachineViewLink(TfrmRealPointView& view, bool& machineViewOn, std::function<void()> processFile,
                                   TMachineDrawRun run)
    : View(view), On(machineViewOn), Run(std::move(run)) {
  // Only while the window is on: a hidden window still gets resized (a picture of the main
  // window lays out its children), and that must not run the whole program again.
  View.OnRedraw = [this, processFile = std::move(processFile)] {
    if (On && !Drawing && processFile) processFile();
  };
  View.OnClosed = [this] { On = false; };
}

void TMachineViewLink::Toggle(int32_t handle) {
  On = !On;
  if (!On) {
    View.hide();
    return;
  }
  Draw(handle);
  View.raise();
  View.activateWindow();
}

void TMachineViewLink::AfterProcessing(int32_t handle) {
  if (On) Draw(handle);
}

void TMachineViewLink::Draw(int32_t handle) {
  Drawing = true;
  DrawMachineView(View, handle, CNC_MODE_PATH, Run);
  Drawing = false;
}
