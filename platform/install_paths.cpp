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
constexpr const char* kExampleToolsBeside = "examples/tools.INI";
constexpr const char* kExampleToolsShared = "../share/velquor/examples/tools.INI";
// A tool table is a few dozen KB; anything much larger is not one.
constexpr uintmax_t kMaxSeedBytes = 1 << 20;

std::string EnvText(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

// Both name the same folder on disk (through links too); false when either is missing.
bool SameFolder(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec) && !ec;
}

}  // namespace

std::string ChooseSettingsFile(const std::string& besideExecutable, const TSettingsPlaceFacts& facts) {
  if (!facts.Installed && (facts.BesideExists || facts.FolderWritable)) return besideExecutable;
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
  facts.Installed = SameFolder(folderText, VELQUOR_INSTALL_BINDIR);
  return ChooseSettingsFile(besideExecutable, facts);
}

std::string ChooseFontFolder(const std::string& executableFolder, bool besideExists, bool sharedExists) {
  const std::string folder = executableFolder + (besideExists || !sharedExists ? kFontsBeside : kFontsShared);
  std::error_code ec;
  const fs::path absolute = fs::absolute(folder, ec);
  return (ec ? fs::path(folder) : absolute).lexically_normal().string();
}

std::string FontFolderInUse(const std::string& executableFolder) {
  return ChooseFontFolder(executableFolder, IsDirectory(executableFolder + kFontsBeside),
                          IsDirectory(executableFolder + kFontsShared));
}

std::string ExampleToolTableInUse(const std::string& executableFolder) {
  std::error_code ec;
  for (const char* place : {kExampleToolsBeside, kExampleToolsShared}) {
    const fs::path file = fs::absolute(executableFolder + place, ec).lexically_normal();
    if (!ec && fs::is_regular_file(file, ec)) return file.string();
  }
  return {};
}

TSeedResult SeedSettingsFile(const std::string& settingsFile, const std::string& seed) {
  std::error_code ec;
  if (seed.empty() || fs::exists(settingsFile, ec) || ec) return {};
  std::string bytes;
  if (TFileResult read = ReadWholeFile(seed, kMaxSeedBytes, bytes); !read.Ok) return {false, read};
  const fs::path folder = fs::path(settingsFile).parent_path();
  if (!folder.empty() && !fs::create_directories(folder, ec) && ec)
    return {false, {false, "cannot create " + folder.string() + ": " + ec.message()}};
  TFileResult written = ReplaceWholeFile(settingsFile, bytes);
  return {written.Ok, written};
}
