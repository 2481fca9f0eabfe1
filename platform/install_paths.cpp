#include "platform/install_paths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kFontsBeside = "Fonts/";
constexpr const char* kFontsShared = "../share/velquor/Fonts/";
constexpr const char* kConfigFile = "velquor/velquor.INI";

std::string EnvText(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

}  // namespace

std::string ChooseSettingsFile(const std::string& besideExecutable, const TSettingsPlaceFacts& facts) {
  if (facts.BesideExists || facts.FolderWritable) return besideExecutable;
  // A relative $XDG_CONFIG_HOME is invalid and must be ignored.
  if (!facts.ConfigHome.empty() && facts.ConfigHome.front() == '/')
    return (fs::path(facts.ConfigHome) / kConfigFile).string();
  if (!facts.Home.empty()) return (fs::path(facts.Home) / ".config" / kConfigFile).string();
  return besideExecutable;
}

std::string SettingsFileInUse(const std::string& besideExecutable) {
  TSettingsPlaceFacts facts;
  std::error_code ec;
  facts.BesideExists = fs::exists(besideExecutable, ec);
  const fs::path folder = fs::path(besideExecutable).parent_path();
  const std::string folderText = folder.empty() ? "." : folder.string();
  facts.FolderWritable = ::access(folderText.c_str(), W_OK | X_OK) == 0;
  facts.ConfigHome = EnvText("XDG_CONFIG_HOME");
  facts.Home = EnvText("HOME");
  return ChooseSettingsFile(besideExecutable, facts);
}

std::string ChooseFontFolder(const std::string& executableFolder, bool besideExists, bool sharedExists) {
  if (besideExists || !sharedExists) return executableFolder + kFontsBeside;
  return fs::path(executableFolder + kFontsShared).lexically_normal().string();
}

std::string FontFolderInUse(const std::string& executableFolder) {
  return ChooseFontFolder(executableFolder, IsDirectory(executableFolder + kFontsBeside),
                          IsDirectory(executableFolder + kFontsShared));
}
