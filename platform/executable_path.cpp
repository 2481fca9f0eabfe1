#include "platform/executable_path.h"

#include <filesystem>
#include <system_error>

std::string ExecutablePath() {
  std::error_code ec;
  const auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
}

std::string ExecutableFolder() {
  const std::string exe = ExecutablePath();
  if (exe.empty()) return "./";
  return std::filesystem::path(exe).parent_path().string() + "/";
}
