#include "engine/instance.h"

#include <algorithm>
#include <cstdint>

#include "engine/cnc_api.h"

#include "base/convert.h"
#include "engine/interpreter.h"
#include "geometry/milling_path.h"

const char* TTextPool::Intern(std::string_view text) {
  text = CutUtf8(text, 50);
  auto it = Set.find(text);
  if (it != Set.end()) return it->data();
  const std::string& stored = Store.emplace_back(text);
  Set.insert(stored);
  return stored.c_str();
}

TCncInstance::TCncInstance(int32_t handle, std::string fileName, const std::string& fontPath) {
  Handle = handle;
  for (TElementList* list : {&ContourList, &RawPathList, &PathList}) list->Budget = &Budget;
  FileName = std::move(fileName);
  for (int i = CNC_DEFAULT_RADIUS_FIRST_TOOL; i <= CNC_DEFAULT_RADIUS_LAST_TOOL; ++i)
    ToolRadius[i] = static_cast<int32_t>(CNC_DEFAULT_TOOL_RADIUS) / 1000.0;
  Font.Init(fontPath, Messages);
  AddMessage("Init CNC-Dll");
}

int32_t TCncInstance::Load() {
  std::string error;
  switch (Lines.Load(FileName, error)) {
    case TProgramLines::LoadResult::Loaded:
      return static_cast<int32_t>(std::min<size_t>(Lines.Count(), INT32_MAX));
    case TProgramLines::LoadResult::Unreadable:
      AddMessage("Error: cannot read program file " + FileName + ": " + error);
      return 0;
  }
  return 0;
}

int32_t TCncInstance::Run(const TPoint& start) {
  Incremental = false;
  Pos = TPoint{};
  // A second run starts afresh instead of appending a second contour.
  ContourList.clear();
  RawPathList.clear();
  PathList.clear();
  Budget.Used = 0;
  CurrentLine = 0;
  const int32_t status = InterpretAndCompensate(start);
  Messages.CloseCount();
  return status;
}

int32_t TCncInstance::InterpretAndCompensate(const TPoint& start) {
  if (Lines.Count() == 0) {
    AddMessage("Error 850: Gerberfile ist leer");
    return 850;
  }
  try {
    InterpretProgram(*this);
  } catch (const TElementBudgetSpent&) {
    // The lists keep what was made; the milling path of a cut-off program is not computed.
    AddMessage(BudgetMessage(std::to_string(CurrentLine)));
    return kElementLimitStatus;
  }
  PathList.clear();
  try {
    return ComputeMillingPath(RawPathList, PathList, ToolRadius, start, Messages);
  } catch (const TElementBudgetSpent&) {
    // Path elements know their N number only.
    AddMessage(BudgetMessage(PathList.empty() ? "0" : std::to_string(PathList.back().Line)));
    return kElementLimitStatus;
  }
}

std::string TCncInstance::BudgetMessage(const std::string& line) const {
  return "Error: the program makes more than " + std::to_string(Budget.Limit) +
         " elements; the run stopped at program line " + line;
}
