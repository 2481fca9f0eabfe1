#include "engine/program_reader.h"

#include "engine/prefault.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>

namespace {
constexpr uint64_t kMaxFileSize = std::numeric_limits<uint32_t>::max();
}

void TProgramLines::Clear() {
  Buffer.reset();
  Size = 0;
  Starts.clear();
  Lengths.clear();
}

TProgramLines::LoadResult TProgramLines::Load(const std::string& fileName, std::string& error) {
  Clear();
  std::error_code ec;
  const auto status = std::filesystem::status(fileName, ec);
  if (ec || !std::filesystem::exists(status)) return LoadResult::Missing;
  if (std::filesystem::is_directory(status)) {
    error = "is a folder, not a file";
    return LoadResult::Unreadable;
  }
  std::FILE* f = std::fopen(fileName.c_str(), "rb");
  if (!f) {
    error = std::strerror(errno);
    return LoadResult::Unreadable;
  }
  // Regular files are read in one piece into storage faulted in at once; pipes and special
  // files of unknown size in chunks.
  std::error_code sizeError;
  const uint64_t expected = std::filesystem::is_regular_file(status) ? std::filesystem::file_size(fileName, sizeError) : 0;
  bool tooBig = expected > kMaxFileSize;
  std::string chunked;
  if (!tooBig && expected > 0 && !sizeError) {
    Buffer = std::make_unique_for_overwrite<char[]>(expected);
    PrefaultBytes(Buffer.get(), expected);
    Size = std::fread(Buffer.get(), 1, expected, f);
  }
  char chunk[1 << 16];
  size_t n = 0;
  while (!tooBig && (n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    if (Size + chunked.size() + n > kMaxFileSize) { tooBig = true; break; }
    chunked.append(chunk, n);
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (tooBig || failed) {
    Clear();
    error = tooBig ? "file larger than 4 GB" : "read error";
    return LoadResult::Unreadable;
  }
  if (!chunked.empty()) {
    // The file grew while it was read, or its size was unknown.
    auto whole = std::make_unique_for_overwrite<char[]>(Size + chunked.size());
    if (Size) std::memcpy(whole.get(), Buffer.get(), Size);
    std::memcpy(whole.get() + Size, chunked.data(), chunked.size());
    Buffer = std::move(whole);
    Size += chunked.size();
  }
  IndexLines();
  return LoadResult::Loaded;
}

void TProgramLines::Assign(std::string text) {
  Clear();
  Size = text.size();
  Buffer = std::make_unique_for_overwrite<char[]>(Size);
  if (Size) std::memcpy(Buffer.get(), text.data(), Size);
  IndexLines();
}

// Line breaks are CR LF, LF or a lone CR; a last line without a break still counts.
void TProgramLines::IndexLines() {
  const char* base = Buffer.get();
  const char* p = base;
  const char* end = base + Size;
  Starts.reserve(Size / 24 + 1);
  Lengths.reserve(Size / 24 + 1);
  PrefaultAhead(Starts, Starts.capacity());
  PrefaultAhead(Lengths, Lengths.capacity());
  while (p < end) {
    const char* eol = p;
    while (eol < end && *eol != '\n' && *eol != '\r') {
      const void* nl = std::memchr(eol, '\n', static_cast<size_t>(end - eol));
      const char* stop = nl ? static_cast<const char*>(nl) : end;
      const void* cr = std::memchr(eol, '\r', static_cast<size_t>(stop - eol));
      eol = cr ? static_cast<const char*>(cr) : stop;
    }
    Starts.push_back(static_cast<uint32_t>(p - base));
    Lengths.push_back(static_cast<uint32_t>(eol - p));
    if (eol < end && *eol == '\r' && eol + 1 < end && eol[1] == '\n') ++eol;
    p = eol + 1;
  }
}

TSplitResult SplitLine(std::string_view line) {
  TSplitResult r;
  static_cast<TSplitFlags&>(r) = SplitWords(line, [&](const TWord& w, size_t) { r.Words[r.Count++] = w; });
  return r;
}
