// A fresh folder below the system's temporary folder for a test's files, removed with the
// object, and a fixture that holds one.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TTempFolder {
 public:
  TTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velquor-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    Path_ = pattern;
    // Reachable by other users, for the unprivileged write attempts.
    ::chmod(Path_.c_str(), 0755);
  }
  ~TTempFolder() {
    // Folders a test made read-only are opened up again, so that all of it goes.
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(Path_, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
      if (it->is_directory(ec)) ::chmod(it->path().c_str(), 0755);
    ::chmod(Path_.c_str(), 0755);
    std::filesystem::remove_all(Path_, ec);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  const std::string& Path() const { return Path_; }
  std::string File(const std::string& name) const { return Path_ + "/" + name; }
  // Writes the file `name` with exactly `bytes`; its full name.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string file = File(name);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    return file;
  }

 private:
  std::string Path_;
};

// A test with a temporary folder of its own.
class TTempFolderTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) const { return Folder.Write(name, bytes); }
  TTempFolder Folder;
};
