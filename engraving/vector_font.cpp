#include "engraving/vector_font.h"

#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>
#include <utility>

#include "engraving/font_slots.h"

namespace {

constexpr const char* kAllocationFailed = "Fehler in Fontunit, Speicherallokation in Chr_laden fehlgeschlagen";
constexpr int kDefaultFont = 4;
constexpr double kDefaultHeight = 10.0;

enum class TReadResult { Ok, Unopenable, Unreadable, TooLarge, NoMemory };

// Only regular files count as openable: a folder or a device would open but never read
// as a font.
bool CanOpen(const std::string& path, std::ifstream& in) {
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
  in.open(path, std::ios::binary);
  return in.is_open();
}

TReadResult ReadWholeFile(const std::string& path, std::vector<uint8_t>& out) {
  std::ifstream in;
  if (!CanOpen(path, in)) return TReadResult::Unopenable;
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return TReadResult::Unreadable;
  // The format addresses 16 bits; larger files are refused before anything is allocated.
  if (size > kMaxFontFileSize) return TReadResult::TooLarge;
  try {
    out.assign(static_cast<size_t>(size), 0);
  } catch (const std::bad_alloc&) {
    return TReadResult::NoMemory;
  }
  in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
  if (static_cast<size_t>(in.gcount()) != out.size()) return TReadResult::Unreadable;
  // A file that grew since its size was taken is not the file that was checked.
  if (in.peek() != std::ifstream::traits_type::eof()) return TReadResult::Unreadable;
  return TReadResult::Ok;
}

std::string DefaultFontFolder() {
  std::error_code ec;
  const std::filesystem::path cwd = std::filesystem::current_path(ec);
  return (ec ? std::string(".") : cwd.string()) + "/Vectorfonts/";
}

}  // namespace

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
  std::vector<uint8_t> data;
  TReadResult read = ReadWholeFile(Folder + name, data);
  if (read == TReadResult::Unopenable) read = ReadWholeFile(name, data);

  int32_t code = kFontOk;
  switch (read) {
    case TReadResult::Ok: break;
    case TReadResult::Unopenable:
    case TReadResult::Unreadable: code = kFontUnreadable; break;
    case TReadResult::TooLarge: code = kFontInvalid; break;
    case TReadResult::NoMemory:
      AddMessage(kAllocationFailed);
      return FailLoading(n, kFontNoMemory);
  }
  auto font = std::make_unique<TLoadedFont>();
  if (code == kFontOk) code = ReadChrFont(std::move(data), *font);
  if (code != kFontOk) {
    AddMessage(std::string("Fehler in Fontunit ") + FontStatusMessage(code));
    return FailLoading(n, code);
  }
  Current = std::move(font);
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
  std::ifstream in;
  if (!CanOpen(NativeFontName(name), in)) {
    StatusCode = kFontInvalid;
    AddMessage(FontStatusMessage(kFontInvalid));
    return -1;
  }
  return RegisterFontSlot(name);
}
