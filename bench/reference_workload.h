// What the drawing benchmarks share: the program they run (VELQUOR_BENCH_PROGRAM=FILE, the
// reference workload, or else a generated program of a million lines), the view's size and
// start window, and tools 1 to 8 with radii of 1 mm.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/program_generator.h"
#include "display/sim_view.h"
#include "engine/cnc_api.h"
#include "platform/viewer_settings.h"

inline constexpr int kViewWidth = 994;
inline constexpr int kViewHeight = 628;
inline constexpr int kToolsWithRadius = 8;
inline constexpr int32_t kToolRadiusMicrons = 1000;

inline std::string ReferenceProgramFile() {
  if (const char* given = std::getenv("VELQUOR_BENCH_PROGRAM")) return given;
  const auto path = std::filesystem::temp_directory_path() / "velquor_bench_1000000.cnc";
  if (!std::filesystem::exists(path)) std::ofstream(path, std::ios::binary) << GenerateProgram(1000000);
  return path.string();
}

// The tool table the drawing reads the radii from, as the settings file would give it.
inline TToolTable ReferenceToolTable() {
  TToolTable tools{};
  for (int t = 1; t <= kToolsWithRadius; ++t) tools[t].Diameter = 2.0 * kToolRadiusMicrons / 1000.0;
  return tools;
}

// The radii for the engine's cutter compensation, from the same table.
inline void SetReferenceToolRadii(int32_t handle) {
  const TToolRadii radii = EngineToolRadii(ReferenceToolTable());
  for (int t = 0; t < kToolCount; ++t) CncSetToolRadius(handle, static_cast<uint8_t>(t), radii[t]);
}

// The window the viewer starts with, fitted to the view's width.
inline void SetReferenceStartWindow(TSimView& view) {
  view.SetRect({-40, 560, -40, std::nearbyint(600.0 * kViewHeight / kViewWidth - 40)});
  view.UpdateScale();
}
