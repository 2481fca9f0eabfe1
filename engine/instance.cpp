#include "engine/instance.h"

#include <algorithm>
#include <cstdint>

#include "engine/convert.h"
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

TCncFileReader::TCncFileReader(int32_t handle, std::string fileName, const std::string& fontPath) {
  Handle = handle;
  FileName = std::move(fileName);
  for (int i = 1; i <= 6; ++i) ToolRadius[i] = 10.0;
  Font.Init(fontPath, Messages);
  AddMessage("Init CNC-Dll");
}

int32_t TCncFileReader::Load() {
  std::string error;
  switch (Lines.Load(FileName, error)) {
    case TProgramLines::LoadResult::Loaded:
      return static_cast<int32_t>(std::min<size_t>(Lines.Count(), INT32_MAX));
    case TProgramLines::LoadResult::Missing:
      return 0;
    case TProgramLines::LoadResult::Unreadable:
      AddMessage("Error: cannot read program file " + FileName + ": " + error);
      return 1;
  }
  return 0;
}

int32_t TCncFileReader::Run(const TPoint& start) {
  Incremental = false;
  Pos = TPoint{};
  // A second run starts afresh instead of appending a second contour.
  ContourList.clear();
  RawPathList.clear();
  PathList.clear();
  if (Lines.Count() == 0) {
    AddMessage("Error 850: Gerberfile ist leer");
    return 850;
  }
  InterpretProgram(*this);
  PathList.clear();
  return ComputeMillingPath(RawPathList, PathList, ToolRadius, start, Messages);
}
