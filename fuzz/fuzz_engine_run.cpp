// A whole engine run through the C entry points: the first bytes give tool radii and the
// start point, the rest is the program.
#include <cstdint>
#include <string>

#include "engine/cnc_api.h"
#include "fuzz/fuzz_input.h"

namespace {
// Small enough for many runs a second, large enough for every cycle to complete.
constexpr int64_t kFuzzElementLimit = 200'000;
constexpr int kRadiusTools = 8;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TMemoryFile file;
  static const int32_t fontPath = CncSetFontPath(VELQUOR_FONT_DIR);
  (void)fontPath;
  TFuzzBytes in(data, size);
  int32_t radii[kRadiusTools];
  for (int32_t& r : radii) r = in.Int16() * 16;  // up to about 0.5 m either sign
  const TCncPoint start{in.Int16() / 16.0, in.Int16() / 16.0, in.Int16() / 16.0};
  const std::string program = in.Rest();
  const std::string name = file.Hold(program.data(), program.size());

  int32_t handle = 0;
  const int32_t lines = CncOpen(name.c_str(), &handle);
  if (handle == 0) __builtin_trap();  // handles are never exhausted here: each run closes its own
  CncSetLimit(handle, kFuzzElementLimit);
  for (int t = 0; t < kRadiusTools; ++t) CncSetToolRadius(handle, static_cast<uint8_t>(t), radii[t]);
  const int32_t status = CncRun(handle, &start);
  if (status == CNC_INTERNAL_ERROR) __builtin_trap();  // an escaped exception is a finding
  if (lines > 0) {
    for (uint8_t mode : {CNC_MODE_CONTOUR, CNC_MODE_PATH}) {
      const int32_t count = CncGetCount(handle, mode);
      TCncElementData e;
      for (int32_t i = 0; i < count; i += 1 + count / 64) CncGetElement(handle, i, mode, &e);
    }
  }
  const TCncMessageList* messages = CncGetMessages(handle);
  for (int32_t i = 0; i < CncMessageCount(messages); ++i)
    if (!CncMessageText(messages, i)) __builtin_trap();
  CncClose(handle);
  return 0;
}
