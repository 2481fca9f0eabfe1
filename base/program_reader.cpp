#include "base/program_reader.h"

#include "base/prefault.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace {
constexpr uint64_t kMaxFileSize = std::numeric_limits<uint32_t>::max();

// What a file that is not a regular one is, for the message that refuses it.
const char* KindOfSpecialFile(mode_t mode) {
  if (S_ISDIR(mode)) return "is a folder, not a file";
  if (S_ISFIFO(mode)) return "is a FIFO, not a regular file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a regular file";
  if (S_ISSOCK(mode)) return "is a socket, not a regular file";
  return "is not a regular file";
}

struct TFileCloser {
  int Fd;
  ~TFileCloser() { ::close(Fd); }
};

// A program file opened for reading, with its size; -1 and `error` for a file that is not a
// regular one or is too large.
int OpenProgramFile(const std::string& fileName, uint64_t& size, std::string& error) {
  // Non-blocking, so that a FIFO without a writer cannot hold the open; what was opened is
  // then checked, not what the name pointed to a moment before.
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return -1;
  }
  struct stat st {};
  const char* refused = nullptr;
  if (::fstat(fd, &st) != 0) refused = std::strerror(errno);
  else if (!S_ISREG(st.st_mode)) refused = KindOfSpecialFile(st.st_mode);
  else if (static_cast<uint64_t>(st.st_size) > kMaxFileSize) refused = "file larger than 4 GB";
  if (refused) {
    error = refused;
    ::close(fd);
    return -1;
  }
  size = static_cast<uint64_t>(st.st_size);
  return fd;
}

// Reads what is there, retrying after a signal; -1 on an error.
ssize_t ReadSome(int fd, char* to, size_t count) {
  for (;;) {
    const ssize_t n = ::read(fd, to, count);
    if (n >= 0 || errno != EINTR) return n;
  }
}
}  // namespace

void TProgramLines::Clear() {
  Buffer.reset();
  Size = 0;
  Starts.clear();
  Starts.shrink_to_fit();
}

TProgramLines::LoadResult TProgramLines::Load(const std::string& fileName, std::string& error) {
  Clear();
  uint64_t expected = 0;
  const int fd = OpenProgramFile(fileName, expected, error);
  if (fd < 0) return LoadResult::Unreadable;
  const TFileCloser closer{fd};
  // Read in one piece into storage faulted in at once; a file that grows meanwhile is read
  // as far as it was when opened.
  Buffer = std::make_unique_for_overwrite<char[]>(expected + 1);
  AdviseHugePages(Buffer.get(), expected);
  PrefaultBytes(Buffer.get(), expected);
  while (Size < expected) {
    const ssize_t n = ReadSome(fd, Buffer.get() + Size, expected - Size);
    if (n < 0) {
      error = std::strerror(errno);
      Clear();
      return LoadResult::Unreadable;
    }
    if (n == 0) break;  // the file shrank
    Size += static_cast<size_t>(n);
  }
  IndexLines();
  return LoadResult::Loaded;
}

void TProgramLines::Assign(std::string text) {
  Clear();
  Size = text.size();
  Buffer = std::make_unique_for_overwrite<char[]>(Size + 1);
  if (Size) std::memcpy(Buffer.get(), text.data(), Size);
  IndexLines();
}

namespace {
// CR and LF bytes in [p, end): an upper bound of the lines' breaks. Counted in blocks small
// enough for a byte counter, which the compiler turns into wide compares.
size_t CountBreakBytes(const char* p, const char* end) {
  constexpr size_t kBlock = 224;  // below 256, a multiple of the vector widths
  size_t count = 0;
  while (p < end) {
    const size_t block = std::min<size_t>(kBlock, static_cast<size_t>(end - p));
    uint8_t inBlock = 0;
    for (size_t i = 0; i < block; ++i) inBlock += static_cast<uint8_t>((p[i] == '\n') | (p[i] == '\r'));
    count += inBlock;
    p += block;
  }
  return count;
}

// The first `c` in [p, end), or end.
const char* FindOrEnd(const char* p, const char* end, char c) {
  const void* hit = std::memchr(p, c, static_cast<size_t>(end - p));
  return hit ? static_cast<const char*>(hit) : end;
}
}  // namespace

// Line breaks are CR LF, LF or a lone CR; a last line without a break still counts.
void TProgramLines::IndexLines() {
  const char* base = Buffer.get();
  const char* p = base;
  const char* end = base + Size;
  // Lines stay readable one byte past the text (Line() looks there after a CR).
  Buffer[Size] = 0;
  // Room for exactly as many lines as there can be: one a break, plus one.
  Starts.reserve(CountBreakBytes(p, end) + 1);
  AdviseHugePages(Starts.data(), Starts.capacity() * sizeof(uint32_t));
  PrefaultAhead(Starts, Starts.capacity());
  // Most files have no CR at all: the next one is looked for again only once it is passed.
  const char* nextCr = FindOrEnd(p, end, '\r');
  while (p < end) {
    if (nextCr < p) nextCr = FindOrEnd(p, end, '\r');
    const char* eol = FindOrEnd(p, nextCr, '\n');
    Starts.push_back(static_cast<uint32_t>(p - base));
    if (eol < end && *eol == '\r' && eol + 1 < end && eol[1] == '\n') ++eol;
    p = eol + 1;
  }
}

TProgramLines::LoadResult ScanLines(const std::string& fileName, std::string& error,
                                    const std::function<bool(std::string_view line)>& take) {
  uint64_t size = 0;
  const int fd = OpenProgramFile(fileName, size, error);
  if (fd < 0) return TProgramLines::LoadResult::Unreadable;
  const TFileCloser closer{fd};
  constexpr size_t kChunk = size_t{1} << 16;
  std::string text;     // read and not yet handed on: the start of a line at most
  size_t unbroken = 0;  // text before this holds no line break
  bool atEnd = false;
  while (!atEnd) {
    const size_t kept = text.size();
    text.resize(kept + kChunk);
    const ssize_t n = ReadSome(fd, text.data() + kept, kChunk);
    if (n < 0) {
      error = std::strerror(errno);
      return TProgramLines::LoadResult::Unreadable;
    }
    text.resize(kept + static_cast<size_t>(n));
    atEnd = n == 0;
    size_t from = 0;
    for (;;) {
      const size_t eol = text.find_first_of("\r\n", std::max(from, unbroken));
      if (eol == std::string::npos) {
        if (atEnd && from < text.size()) take(std::string_view(text).substr(from));
        unbroken = text.size();
        break;
      }
      // A CR that ends what was read may be the first half of CR LF.
      if (text[eol] == '\r' && eol + 1 == text.size() && !atEnd) {
        unbroken = eol;
        break;
      }
      if (take(std::string_view(text).substr(from, eol - from))) return TProgramLines::LoadResult::Loaded;
      from = eol + (text[eol] == '\r' && eol + 1 < text.size() && text[eol + 1] == '\n' ? 2 : 1);
    }
    text.erase(0, from);
    unbroken -= from;
  }
  return TProgramLines::LoadResult::Loaded;
}

TSplitResult SplitLine(std::string_view line) {
  TSplitResult r;
  static_cast<TSplitFlags&>(r) = SplitWords(line, [&](const TWord& w, size_t) { r.Words[r.Count++] = w; });
  return r;
}
