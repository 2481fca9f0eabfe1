#include "engine/instance.h"

#include <algorithm>
#include <cstdint>

#include "engine/cnc_api.h"

#include "base/convert.h"

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
    case TProgramLines::LoadResult::Loaded: return static_cast<int32_t>(std::min<size_t>(Lines.Count(), INT32_MAX));
    case TProgramLines::LoadResult::Unreadable:
      AddMessage("Error: cannot read program file " + FileName + ": " + error);
      return 0;
  }
  return 0;
}
