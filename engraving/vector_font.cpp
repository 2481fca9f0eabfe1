#include "engraving/vector_font.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

#include "engraving/font_slots.h"

namespace {

constexpr const char* kAllocationFailed = "Fehler in Fontunit, Speicherallokation in Chr_laden fehlgeschlagen";
constexpr int kDefaultFont = 4;
constexpr double kDefaultHeight = 10.0;

enum class TReadResult { Ok, Unopenable, Unreadable, TooLarge, NoMemory, Invalid };

struct TFontFile {
  TReadResult Result = TReadResult::Unopenable;
  std::shared_ptr<const TLoadedFont> Font;
};

struct TCachedFont {
  std::string Path;
  off_t Size = 0;
  timespec Modified{};
  std::shared_ptr<const TLoadedFont> Font;
};

std::vector<TCachedFont>& FontCache() {
  static auto* cache = new std::vector<TCachedFont>();  // outlives instances closed late
  return *cache;
}

bool SameFile(const TCachedFont& c, const std::string& path, const struct stat& st) {
  return c.Path == path && c.Size == st.st_size && c.Modified.tv_sec == st.st_mtim.tv_sec &&
         c.Modified.tv_nsec == st.st_mtim.tv_nsec;
}

struct TFdCloser {
  int Fd;
  ~TFdCloser() { ::close(Fd); }
};

// Reads and checks a font file, or takes it from the cache. Only regular files count as
// openable: a folder, FIFO or device is refused without reading (and without waiting for a
// FIFO's writer).
TFontFile ReadFontFile(const std::string& path) {
  if (path.empty()) return {};
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  const TFdCloser closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return {};
  std::vector<TCachedFont>& cache = FontCache();
  for (const TCachedFont& c : cache)
    if (SameFile(c, path, st)) return {TReadResult::Ok, c.Font};
  // The format addresses 16 bits; larger files are refused before anything is allocated.
  if (static_cast<uint64_t>(st.st_size) > kMaxFontFileSize) return {TReadResult::TooLarge, nullptr};
  std::vector<uint8_t> data;
  try {
    data.assign(static_cast<size_t>(st.st_size) + 1, 0);
  } catch (const std::bad_alloc&) {
    return {TReadResult::NoMemory, nullptr};
  }
  // One byte more than the size: a file that grew since its size was taken is not the
  // file that was checked.
  size_t got = 0;
  while (got < data.size()) {
    const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  if (got != static_cast<size_t>(st.st_size)) return {TReadResult::Unreadable, nullptr};
  data.pop_back();
  auto font = std::make_shared<TLoadedFont>();
  if (ReadChrFont(std::move(data), *font) != kFontOk) return {TReadResult::Invalid, nullptr};
  if (cache.size() >= kFontCacheSize) cache.erase(cache.begin());
  cache.push_back(TCachedFont{path, st.st_size, st.st_mtim, font});
  return {TReadResult::Ok, std::move(font)};
}

bool CanOpen(const std::string& path) {
  if (path.empty()) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  const TFdCloser closer{fd};
  struct stat st {};
  return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

std::string DefaultFontFolder() {
  std::error_code ec;
  const std::filesystem::path cwd = std::filesystem::current_path(ec);
  return (ec ? std::string(".") : cwd.string()) + "/Vectorfonts/";
}

}  // namespace

void ClearFontCache() { FontCache().clear(); }

void ReleaseAllFonts() {
  for (int n = 1; n <= kFontSlotCount; ++n) {
    TFontSlot& slot = FontSlot(n);
    if (slot.Owner) slot.Owner->ReleaseFont();
    slot.Loaded = nullptr;
    slot.Owner = nullptr;
  }
}

void ResetFontSlots() {
  ReleaseAllFonts();
  RestoreFontSlots();
}

TVectorFont::~TVectorFont() { ReleaseFont(); }

void TVectorFont::AddMessage(std::string text) {
  if (Messages) Messages->push_back(std::move(text));
}

void TVectorFont::Init(const std::string& fontPath, TMessageList& messages) {
  Folder = fontPath.empty() ? DefaultFontFolder() : fontPath;
  Messages = &messages;
  SetFont(kDefaultFont, 0, kDefaultHeight);
  SetJustification(0, 1);
  StatusCode = kFontOk;
}

void TVectorFont::ReleaseFont() {
  if (!Current) return;
  if (Slot >= 1 && Slot <= kFontSlotCount) {
    TFontSlot& slot = FontSlot(Slot);
    if (slot.Owner == this) {
      slot.Loaded = nullptr;
      slot.Owner = nullptr;
    }
  }
  Current.reset();
  Slot = 0;
}

int32_t TVectorFont::FailLoading(int n, int32_t code) {
  TFontSlot& slot = FontSlot(n);
  if (slot.Owner == this) {
    slot.Loaded = nullptr;
    slot.Owner = nullptr;
  }
  StatusCode = code;
  AddMessage(FontStatusMessage(code));
  return code;
}

int32_t TVectorFont::LoadFont(int n) {
  StatusCode = kFontNoMemory;
  const std::string name = NativeFontName(FontSlot(n).FileName);
  TFontFile file = ReadFontFile(Folder + name);
  if (file.Result == TReadResult::Unopenable) file = ReadFontFile(name);

  int32_t code = kFontOk;
  switch (file.Result) {
    case TReadResult::Ok: break;
    case TReadResult::Unopenable:
    case TReadResult::Unreadable: code = kFontUnreadable; break;
    case TReadResult::TooLarge:
    case TReadResult::Invalid: code = kFontInvalid; break;
    case TReadResult::NoMemory: AddMessage(kAllocationFailed); return FailLoading(n, kFontNoMemory);
  }
  if (code != kFontOk) {
    AddMessage(std::string("Fehler in Fontunit ") + FontStatusMessage(code));
    return FailLoading(n, code);
  }
  Current = std::move(file.Font);
  Slot = n;
  FontSlot(n).Loaded = Current.get();
  FontSlot(n).Owner = this;
  StatusCode = kFontOk;
  return kFontOk;
}

int32_t TVectorFont::SetFont(int32_t n, int32_t direction, double height) {
  if (n < 1 || n > kFontSlotCount) {
    StatusCode = kFontBadNumber;
    return StatusCode;
  }
  Number = n;
  Dir = direction;
  if (Current) {
    if (FontSlot(n).Loaded == Current.get()) SetSize(height);
    if (!Current->Resident) ReleaseFont();
  }
  if (!Current) LoadFont(n);
  SetSize(height);
  return StatusCode;
}

int32_t TVectorFont::RegisterFontFile(const std::string& name) {
  if (!CanOpen(NativeFontName(name))) {
    StatusCode = kFontInvalid;
    AddMessage(FontStatusMessage(kFontInvalid));
    return -1;
  }
  return RegisterFontSlot(name);
}
