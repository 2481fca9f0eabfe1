#include "app/process_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "display/draw_elements.h"
#include "display/sim_view.h"

namespace {

void EchoMessages(int32_t handle, TInfoPane& info) {
  const TCncMessageList* messages = CncGetMessages(handle);
  if (!messages) return;
  const int32_t n = CncMessageCount(messages);
  for (int32_t i = 0; i < n; ++i) {
    if (const char* s = CncMessageText(messages, i))
      info.AppendAbout(kEnginePrefix + std::string(s), std::max(0, CncMessageLine(messages, i)));
  }
}

}  // namespace

TCncPoint StartRecord(const TSimView& view, const TViewerSettings& settings) {
  const int32_t tool = settings.CurrentTool;
  const bool known = tool >= 0 && tool < kToolCount;
  return {view.SpindleX() - view.W0X(), view.SpindleY() - view.W0Y(), known ? -settings.Tools[tool].Height : 0.0};
}

void CloseEngine(TViewerState& state, TSimView& view) {
  if (state.EngineHandle <= 0) return;
  CncClose(state.EngineHandle);
  view.ClearObjects();
  state.Pick.Clear();
  state.Played = {};
  state.EngineHandle = 0;
}

TProcessResult ProcessFile(const std::string& name, TViewerState& state, TSimView& view, const TDisplayChecks& checks,
                           TInfoPane& info, const TMachineViewRun& machineView) {
  TProcessResult result;
  if (state.CurrentFile.empty()) {
    info.PutInFront(kNoInputFile);
    return result;
  }
  const auto started = std::chrono::steady_clock::now();
  result.Processed = true;
  info.Append("Try to open CNC-file : " + name);
  CloseEngine(state, view);

  int32_t handle = 0;
  result.OpenResult = CncOpen(state.CurrentFile.c_str(), &handle);
  state.EngineHandle = handle;
  // Without an instance there are no messages or lists to read; a program of 816 lines
  // gets its handle like any other, so only the handle tells this apart.
  if (handle <= 0) {
    state.EngineHandle = 0;
    result.NoInstance = true;
    info.Append("Error: no engine instance available (code " + std::to_string(result.OpenResult) + ")");
    view.ClearObjects();
    return result;
  }

  if (result.OpenResult != 0) {
    const TCncPoint start = StartRecord(view, state.Settings);
    result.Start = start;
    const TToolRadii radii = EngineToolRadii(state.Settings.Tools);
    for (int tool = 0; tool < kToolCount; ++tool) CncSetToolRadius(handle, static_cast<uint8_t>(tool), radii[tool]);
    CncRun(handle, &start);
  }
  for (const std::string& w : state.SettingsWarnings) info.Append(w);
  EchoMessages(handle, info);

  view.ClearObjects();
  const TDrawRun run{&state.Settings.Tools, &state.Settings.CurrentTool, checks.PointOutEdges,
                     [&info](const std::string& s) { info.Append(s); }, &state.Pick};
  state.Pick.Clear();
  state.Played = {};
  TPlayedDrawing played;
  DrawProgram(view, handle, {checks.ViewContour, checks.ViewCuttingPath}, run, &played);
  if (checks.ViewContour || checks.ViewCuttingPath)
    state.Played = {played.Mode, played.StartTool,     result.Start,
                    view.W0Pos,  played.ObjectsBefore, std::move(played.ObjectEnds)};
  view.Invalidate();
  if (state.MachineViewOn && machineView) machineView(handle);

  result.ContourCount = CncGetCount(handle, CNC_MODE_CONTOUR);
  result.PathCount = CncGetCount(handle, CNC_MODE_PATH);
  result.Milliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  return result;
}

std::string RunSummary(const std::string& fileName, const TProcessResult& result) {
  if (!result.Processed) return "No input file specified";
  if (result.NoInstance)
    return fileName + ": no engine instance available (code " + std::to_string(result.OpenResult) + ")";
  char time[32];
  std::snprintf(time, sizeof time, "%.0f ms", result.Milliseconds);
  return fileName + ": " + std::to_string(result.OpenResult) + " lines, contour " +
         std::to_string(result.ContourCount) + " elements, cutting path " + std::to_string(result.PathCount) +
         " elements, " + time;
}
