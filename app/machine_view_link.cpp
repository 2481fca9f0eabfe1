#include "app/machine_view_link.h"

#include <utility>

#include "windows/real_point_view.h"

TMachineViewLink::TMachineViewLink(TfrmRealPointView& view, bool& machineViewOn, std::function<void()> processFile,
                                   TMachineDrawRun run)
    : View(view), On(machineViewOn), Run(std::move(run)) {
  View.OnRedraw = std::move(processFile);
  View.OnClosed = [this] { On = false; };
}

void TMachineViewLink::Toggle(int32_t handle) {
  On = !On;
  if (!On) {
    View.hide();
    return;
  }
  View.show();
  View.raise();
  View.activateWindow();
  DrawMachineView(View, handle, 1, Run);
}

void TMachineViewLink::AfterProcessing(int32_t handle) {
  if (On) DrawMachineView(View, handle, 1, Run);
}
