#include "cli/program_run.h"

bool ReadSettingsRadii(const std::string& file, std::array<int32_t, 255>&, std::string& error) {
  error = "cannot read settings file " + file + ": settings support is not built in";
  return false;
}
