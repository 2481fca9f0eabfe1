#include "engine/instance_run.h"

#include <string>

#include "engine/interpreter.h"
#include "geometry/milling_path.h"

namespace {

std::string BudgetMessage(const TCncInstance& inst, const std::string& line) {
  return "Error: the program makes more than " + std::to_string(inst.Budget.Limit) +
         " elements; the run stopped at program line " + line;
}

int32_t InterpretAndCompensate(TCncInstance& inst, const TPoint& start) {
  if (inst.Lines.Count() == 0) {
    inst.AddMessage("Error 850: Gerberfile ist leer");
    return 850;
  }
  try {
    InterpretProgram(inst);
  } catch (const TElementBudgetSpent&) {
    // The lists keep what was made; the milling path of a cut-off program is not computed.
    inst.Messages.CurrentFileLine = 0;
    inst.AddMessage(BudgetMessage(inst, std::to_string(inst.CurrentLine)));
    return kElementLimitStatus;
  }
  inst.PathList.clear();
  try {
    return ComputeMillingPath(inst.RawPathList, inst.PathList, inst.ToolRadius, start, inst.Messages);
  } catch (const TElementBudgetSpent&) {
    // The summary names the N number where the path stopped; as a message it is tied to no line.
    inst.Messages.CurrentFileLine = 0;
    inst.AddMessage(BudgetMessage(inst, inst.PathList.empty() ? "0" : std::to_string(inst.PathList.back().Line)));
    return kElementLimitStatus;
  }
}

}  // namespace

int32_t RunInstance(TCncInstance& inst, const TPoint& start) {
  inst.Incremental = false;
  inst.Pos = TPoint{};
  // A second run starts afresh instead of appending a second contour.
  inst.ContourList.clear();
  inst.RawPathList.clear();
  inst.PathList.clear();
  inst.Budget.Used = 0;
  inst.CurrentLine = 0;
  inst.Messages.CurrentFileLine = 0;
  const int32_t status = InterpretAndCompensate(inst, start);
  // Later messages (a bad mode asked for, say) are tied to no line.
  inst.Messages.CurrentFileLine = 0;
  inst.Messages.CloseCount();
  return status;
}
