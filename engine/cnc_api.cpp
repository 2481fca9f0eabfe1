#include "engine/cnc_api.h"

#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/convert.h"
#include "engine/instance_run.h"
#include "engine/instance_table.h"
#include "geometry/milling_path.h"

namespace {

struct TLibrary {
  std::array<bool, 256> Slots{};                         // slot 0 is never handed out
  std::vector<std::unique_ptr<TCncInstance>> Instances;  // creation order
  std::string FontPath;
};

TLibrary& Library() {
  static TLibrary library;
  return library;
}

const TElementList* ListOf(TCncInstance& inst, uint8_t mode) {
  if (mode == CNC_MODE_CONTOUR) return &inst.ContourList;
  if (mode == CNC_MODE_PATH) return &inst.PathList;
  return nullptr;
}

void FillRecord(const TCncElement& e, TCncElementData& d) {
  d.Line = e.Line;
  d.Code = CodeNumber(e.Code);
  d.P1 = TCncPoint{e.P1.X, e.P1.Y, e.P1.Z};
  d.P2 = TCncPoint{e.P2.X, e.P2.Y, e.P2.Z};
  d.ToolNo = e.ToolNo();
  d.Speed = e.Speed();
  d.FeedValue = e.FeedValue();
}

// The lists a detail reader may see: the two of the interface and the raw path.
const TElementList* DetailListOf(TCncInstance& inst, uint8_t mode) {
  if (mode == CNC_MODE_RAW_PATH) return &inst.RawPathList;
  return ListOf(inst, mode);
}

// One element of a list by handle, mode and index, or the status that says why there is
// none: -1 for a handle of no instance, 1 for a bad mode, -2 for a bad index.
struct TElementLookup {
  const TCncElement* Element = nullptr;
  int32_t Status = 0;
};

TElementLookup FindElement(int32_t handle, int32_t index, uint8_t mode,
                           const TElementList* (*listOf)(TCncInstance&, uint8_t)) {
  TCncInstance* inst = FindInstance(handle);
  if (!inst) return {nullptr, -1};
  const TElementList* list = listOf(*inst, mode);
  if (!list) return {nullptr, 1};
  if (index < 0 || static_cast<size_t>(index) >= list->size()) return {nullptr, -2};
  return {&(*list)[static_cast<size_t>(index)], 0};
}

const TMessageList& Messages(const TCncMessageList* list) { return *reinterpret_cast<const TMessageList*>(list); }

static_assert(CNC_DEFAULT_ELEMENT_LIMIT == kDefaultElementLimit);
static_assert(CNC_ELEMENT_LIMIT == kElementLimitStatus);
// The run's results are the milling path's own numbers.
static_assert(CNC_OK == static_cast<int32_t>(TPathStatus::Done));
static_assert(CNC_NO_PROGRAM_CODE == static_cast<int32_t>(TPathStatus::NoProgramCode));
static_assert(CNC_STOP_LINE_LINE == static_cast<int32_t>(TPathStatus::LineLine));
static_assert(CNC_STOP_LINE_CCW == static_cast<int32_t>(TPathStatus::LineCcw));
static_assert(CNC_STOP_CCW_LINE == static_cast<int32_t>(TPathStatus::CcwLine));
static_assert(CNC_STOP_CW_CW == static_cast<int32_t>(TPathStatus::CwCw));
static_assert(CNC_STOP_CW_CCW == static_cast<int32_t>(TPathStatus::CwCcw));
static_assert(CNC_STOP_CCW_CCW == static_cast<int32_t>(TPathStatus::CcwCcw));
static_assert(CNC_STOP_CCW_CW == static_cast<int32_t>(TPathStatus::CcwCw));

// Runs one entry point so that nothing escapes into a caller that cannot catch it: a
// failure becomes `failed` and, when the handle names an instance, one message.
template <class Fn>
auto Guarded(int32_t handle, decltype(std::declval<Fn>()()) failed, Fn&& fn) noexcept {
  std::string what;
  try {
    return fn();
  } catch (const std::exception& e) {
    try {
      what = e.what();
    } catch (...) {
    }
  } catch (...) {
  }
  try {
    if (TCncInstance* inst = FindInstance(handle)) {
      inst->AddMessage("Error 818: internal error in the engine" + (what.empty() ? "" : ": " + what));
      inst->Messages.CloseCount();
    }
  } catch (...) {
    // Not even the message fits: the status says it.
  }
  return failed;
}

}  // namespace

TCncInstance* FindInstance(int32_t handle) {
  for (auto& inst : Library().Instances)
    if (inst->Handle == handle) return inst.get();
  return nullptr;
}

extern "C" {

int32_t CncSetFontPath(const char* folder) {
  return Guarded(0, CNC_INTERNAL_ERROR, [&] {
    Library().FontPath = folder ? folder : "";
    return 0;
  });
}

int32_t CncOpen(const char* fileName, int32_t* handle) {
  if (handle) *handle = 0;
  return Guarded(0, CNC_INTERNAL_ERROR, [&]() -> int32_t {
    TLibrary& lib = Library();
    int32_t h = 0;
    for (int32_t i = 1; i <= 255; ++i) {
      if (!lib.Slots[i]) {
        h = i;
        break;
      }
    }
    if (h == 0) return CNC_NO_FREE_HANDLE;
    // The slot is taken only once the instance stands; a failure below gives it back.
    lib.Instances.push_back(std::make_unique<TCncInstance>(h, fileName ? fileName : "", lib.FontPath));
    lib.Slots[h] = true;
    TCncInstance* inst = FindInstance(h);
    if (!inst) {
      CncClose(h);
      return CNC_INSTANCE_LOST;
    }
    try {
      const int32_t lines = inst->Load();
      if (handle) *handle = h;
      return lines;
    } catch (...) {
      CncClose(h);
      throw;
    }
  });
}

int32_t CncSetLimit(int32_t handle, int64_t maxElements) {
  return Guarded(handle, CNC_INTERNAL_ERROR, [&] {
    TCncInstance* inst = FindInstance(handle);
    if (!inst) return 1;
    if (maxElements < 1) return -2;
    inst->Budget.Limit = static_cast<uint64_t>(maxElements);
    return 0;
  });
}

int32_t CncSetToolRadius(int32_t handle, uint8_t tool, int32_t radius) {
  return Guarded(handle, CNC_INTERNAL_ERROR, [&] {
    TCncInstance* inst = FindInstance(handle);
    if (!inst) return 1;
    inst->ToolRadius[tool] = radius / 1000.0;
    return 0;
  });
}

int32_t CncRun(int32_t handle, const TCncPoint* start) {
  return Guarded(handle, CNC_INTERNAL_ERROR, [&] {
    TCncInstance* inst = FindInstance(handle);
    if (!inst) return static_cast<int32_t>(CNC_NO_INSTANCE_RUN);
    const TPoint p = start ? TPoint{start->X, start->Y, start->Z} : TPoint{};
    return RunInstance(*inst, p);
  });
}

int32_t CncGetCount(int32_t handle, uint8_t mode) {
  return Guarded(handle, 0, [&]() -> int32_t {
    TCncInstance* inst = FindInstance(handle);
    if (!inst) return 0;
    const TElementList* list = ListOf(*inst, mode);
    if (!list) {
      inst->AddMessage("Error, wrong Mode selection, select 0 for Kontur, and 1 for milling path");
      return 0;
    }
    return static_cast<int32_t>(std::min<size_t>(list->size(), INT32_MAX));
  });
}

int32_t CncGetElement(int32_t handle, int32_t index, uint8_t mode, TCncElementData* element) {
  return Guarded(handle, CNC_INTERNAL_ERROR, [&] {
    const TElementLookup found = FindElement(handle, index, mode, ListOf);
    if (found.Element && element) FillRecord(*found.Element, *element);
    return found.Status;
  });
}

int32_t CncGetDetailCount(int32_t handle, uint8_t mode) {
  return Guarded(handle, 0, [&]() -> int32_t {
    TCncInstance* inst = FindInstance(handle);
    const TElementList* list = inst ? DetailListOf(*inst, mode) : nullptr;
    return list ? static_cast<int32_t>(std::min<size_t>(list->size(), INT32_MAX)) : 0;
  });
}

int32_t CncGetElementDetail(int32_t handle, int32_t index, uint8_t mode, TCncElementDetail* detail) {
  return Guarded(handle, CNC_INTERNAL_ERROR, [&] {
    const TElementLookup found = FindElement(handle, index, mode, DetailListOf);
    if (found.Element && detail) {
      const TCncElement& e = *found.Element;
      FillRecord(e, detail->Data);
      std::copy(std::begin(e.Code.Chars), std::end(e.Code.Chars), detail->Code);
      detail->Text = e.Text;
    }
    return found.Status;
  });
}

int32_t CncGetFeedUnit(int32_t handle) {
  const TCncInstance* inst = FindInstance(handle);
  if (!inst) return -1;
  return inst->FeedUnits.Unit == TFeedUnit::Inch ? CNC_FEED_INCH : CNC_FEED_MILLIMETRE;
}

const TCncMessageList* CncGetMessages(int32_t handle) {
  TCncInstance* inst = FindInstance(handle);
  if (!inst) return nullptr;
  // TCncMessageList stays opaque: the pointer is the instance's own list.
  return reinterpret_cast<const TCncMessageList*>(&inst->Messages);
}

int32_t CncMessageCount(const TCncMessageList* list) {
  if (!list) return 0;
  return static_cast<int32_t>(std::min<size_t>(Messages(list).size(), INT32_MAX));
}

const char* CncMessageText(const TCncMessageList* list, int32_t index) {
  if (!list || index < 0 || static_cast<size_t>(index) >= Messages(list).size()) return nullptr;
  return Messages(list)[static_cast<size_t>(index)].c_str();
}

int32_t CncMessageLine(const TCncMessageList* list, int32_t index) {
  if (!list || index < 0 || static_cast<size_t>(index) >= Messages(list).size()) return -1;
  return Messages(list).FileLineOf(static_cast<size_t>(index));
}

int32_t CncGetElementFileLine(int32_t handle, int32_t index, uint8_t mode) {
  // An internal failure must not read as a line number.
  return Guarded(handle, -4, [&] {
    const TElementLookup found = FindElement(handle, index, mode, DetailListOf);
    if (found.Status == 1) return -3;
    return found.Element ? found.Element->FileLine : found.Status;
  });
}

int32_t CncClose(int32_t handle) {
  // Destroying an instance frees memory and cannot fail.
  TLibrary& lib = Library();
  bool found = false;
  std::erase_if(lib.Instances, [&](const std::unique_ptr<TCncInstance>& inst) {
    if (inst->Handle != handle) return false;
    found = true;
    return true;
  });
  if (found && handle >= 1 && handle <= 255) lib.Slots[handle] = false;
  return found ? 0 : 1;
}

}  // extern "C"
