// Ties the machine-coordinate window to the main window: the mark that it is shown
// (`MachineViewOn`), the toggle of the tool button and menu entry, the drawing run after each
// processing, and its controls calling the main window's processing back.
#pragma once

#include <cstdint>
#include <functional>

#include "windows/machine_view_run.h"

class TMachineViewLink {
 public:
  // `machineViewOn` is the main window's mark, `processFile` its ProcessFile; `run` says where
  // the run's messages go and which tool table it reads.
  TMachineViewLink(TfrmRealPointView& view, bool& machineViewOn, std::function<void()> processFile,
                   TMachineDrawRun run);

  bool MachineViewOn() const { return On; }
  // "Show/Close simulation": hides the window, or shows it in front and draws `handle`.
  void Toggle(int32_t handle);
  // The end of a processing run: draws `handle` while the window is shown.
  void AfterProcessing(int32_t handle);

 private:
  void Draw(int32_t handle);

  TfrmRealPointView& View;
  bool& On;
  TMachineDrawRun Run;
  // Showing the window may activate it, and activation asks for a new processing: not while
  // this one is drawing from the instance that processing would close.
  bool Drawing = false;
};
