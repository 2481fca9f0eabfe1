// Runs program text through an engine instance, as a run of the call interface does.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "engine/instance.h"
#include "engine/instance_run.h"

struct TProgramRunResult {
  std::unique_ptr<TCncInstance> Instance;
  int32_t Result = 0;

  const TElementList& Path() const { return Instance->PathList; }
  const TElementList& Contour() const { return Instance->ContourList; }
  const TMessageList& Messages() const { return Instance->Messages; }
};

// Tool 1 gets `toolOneRadius` when given (the others keep the instance's defaults); the
// program starts at `start`.
inline TProgramRunResult RunProgramText(const std::string& text, std::optional<double> toolOneRadius = std::nullopt,
                                        const TPoint& start = TPoint{}) {
  TProgramRunResult r;
  r.Instance = std::make_unique<TCncInstance>(1, "", VELQUOR_FONT_DIR);
  if (toolOneRadius) r.Instance->ToolRadius[1] = *toolOneRadius;
  r.Instance->Lines.Assign(text);
  r.Result = RunInstance(*r.Instance, start);
  return r;
}
