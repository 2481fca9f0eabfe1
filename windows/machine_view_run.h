// The machine-coordinate drawing run: contour and cutting path of an engine instance,
// read through the C entry points and stepped by the controller's plotter.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "base/records.h"
#include "windows/cnc_graphics.h"
#include "windows/machine_view_controls.h"

class TfrmRealPointView;

// Steps one drawing run may make before it gives up: 4 km of travel, several seconds.
constexpr int64_t kMachineRunStepBudget = 400'000'000;

struct TMachineDrawRun {
  const TToolTable* Tools = nullptr;  // "T" elements set the plotter's tool diameter
  int32_t* CurrentTool = nullptr;
  std::function<void(const std::string&)> Info;  // the main window's information pane
  int64_t StepBudget = kMachineRunStepBudget;
};

// Draws on `surface` and returns the step counters for the "Current X/Y/Z:" labels; none
// when the run ended early (an empty list, the step budget) and the labels stay.
std::optional<TStepPosition> DrawMachineView(int32_t handle, uint8_t mode, const TMachineViewControls& controls,
                                             TPixelSink& surface, const TMachineDrawRun& run);

// The same on the machine-coordinate window: shows it, draws, sets its labels.
void DrawMachineView(TfrmRealPointView& view, int32_t handle, uint8_t mode, const TMachineDrawRun& run);
