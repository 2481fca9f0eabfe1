// Whole files read into memory and replaced in one step.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct TFileResult {
  bool Ok = true;
  std::string Error;  // why it failed, naming the file, for the user
};

// Reads all of `path` into `out`. Folders, devices and files above `maxSize` bytes are
// refused with the reason; `out` is left empty then.
TFileResult ReadWholeFile(const std::string& path, uintmax_t maxSize, std::string& out);
// Reads the first `bytes` bytes of `path` (all of a shorter file), refusing what
// ReadWholeFile refuses.
TFileResult ReadFileHead(const std::string& path, uintmax_t bytes, std::string& out);

// Writes `bytes` to a temporary file in the same folder and renames it over `path`, so a
// failure leaves the old file as it was. The new file keeps the old one's permissions; a
// symbolic link keeps pointing at the file it names.
TFileResult ReplaceWholeFile(const std::string& path, std::string_view bytes);
