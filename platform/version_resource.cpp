#include "platform/version_resource.h"

#include <cstdio>

#include "platform/executable_resource.h"
#include "platform/whole_file.h"

namespace {

// Executables larger than this are refused rather than read into memory.
constexpr uintmax_t kMaxExecutableSize = 1024u * 1024u * 1024u;

enum TFileType : uint32_t {
  kTypeUnknown = 0,
  kTypeApplication = 1,
  kTypeDll = 2,
  kTypeDriver = 3,
  kTypeFont = 4,
  kTypeVirtualDevice = 5,
  kTypeStaticLibrary = 7,
};

constexpr std::array<const char*, 11> kDriverTexts = {
    "Unknown Driver", "Printer Driver", "Keyboard Driver",   "Language Driver", "Display Driver",       "Mouse Driver",
    "Network Driver", "System Driver",  "InstallableDriver", "Sound Driver",    "Communications Driver"};
constexpr std::array<const char*, 4> kFontTexts = {"Unknown Font", "Raster Font", "Vector Font", "Truetype Font"};

template <size_t N>
std::string Pick(const std::array<const char*, N>& texts, uint32_t index) {
  return index < N ? texts[index] : "";
}

}  // namespace

const std::array<TVersionStringField, 12> kVersionStringFields = {{
    {"CompanyName", &TFileVersionInfo::CompanyName},
    {"FileDescription", &TFileVersionInfo::FileDescription},
    {"FileVersion", &TFileVersionInfo::FileVersion},
    {"InternalName", &TFileVersionInfo::InternalName},
    {"LegalCopyRight", &TFileVersionInfo::LegalCopyRight},
    {"LegalTradeMarks", &TFileVersionInfo::LegalTradeMarks},
    {"OriginalFileName", &TFileVersionInfo::OriginalFileName},
    {"ProductName", &TFileVersionInfo::ProductName},
    {"ProductVersion", &TFileVersionInfo::ProductVersion},
    {"Comments", &TFileVersionInfo::Comments},
    {"SpecialBuild", &TFileVersionInfo::SpecialBuild},
    {"PrivateBuild", &TFileVersionInfo::PrivateBuild},
}};

const std::array<TVersionFlagField, 6> kVersionFlagFields = {{
    {"debug", 0x01, &TFileVersionInfo::Debug},
    {"prerelease", 0x02, &TFileVersionInfo::PreRelease},
    {"special build", 0x20, &TFileVersionInfo::IsSpecialBuild},
    {"private build", 0x08, &TFileVersionInfo::IsPrivateBuild},
    {"patched", 0x04, &TFileVersionInfo::Patched},
    {"info inferred", 0x10, &TFileVersionInfo::InfoInferred},
}};

std::string FileTypeText(uint32_t fileType, uint32_t fileSubtype) {
  switch (fileType) {
    case kTypeUnknown: return "Unknown";
    case kTypeApplication: return "Application";
    case kTypeDll: return "DLL";
    case kTypeDriver: return Pick(kDriverTexts, fileSubtype);
    case kTypeFont: return Pick(kFontTexts, fileSubtype);
    case kTypeVirtualDevice: {
      char hex[9];
      std::snprintf(hex, sizeof hex, "%08X", fileSubtype);
      return std::string("Virtual Defice Identifier = ") + hex;
    }
    case kTypeStaticLibrary: return "Static-link Library";
    default: return "";
  }
}

TFileVersionInfo VersionInfoFromBlock(const TVersionBlock& block) {
  TFileVersionInfo info;
  const std::vector<TVersionTranslation> translations = block.Translations();
  if (!translations.empty()) {
    char table[16];
    std::snprintf(table, sizeof table, "%04x%04x", translations[0].Language, translations[0].CodePage);
    for (const TVersionStringField& f : kVersionStringFields)
      info.*f.Member = block.Query(std::string("\\StringFileInfo\\") + table + "\\" + f.Key).value_or("");
  }
  if (const std::optional<TFixedFileInfo> fixed = block.Fixed()) {
    for (const TVersionFlagField& f : kVersionFlagFields)
      info.*f.Member = (fixed->FileFlags & fixed->FileFlagsMask & f.Bit) != 0;
    info.FileTypeText = FileTypeText(fixed->FileType, fixed->FileSubtype);
  }
  return info;
}

std::string VersionLine(const TFileVersionInfo& info) { return "Version: " + info.FileVersion + "  "; }

TVersionReadResult ReadFileVersionInfo(const std::string& path) {
  TVersionReadResult r;
  std::string bytes;
  const TFileResult read = ReadWholeFile(path, kMaxExecutableSize, bytes);
  if (!read.Ok) {
    r.Ok = false;
    r.Error = read.Error;
    return r;
  }
  const std::span<const uint8_t> image(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  const TVersionResourceLookup found = FindVersionResource(image);
  TVersionBlock block;
  if (!found.Block.empty() && block.Parse(found.Block)) r.Info = VersionInfoFromBlock(block);
  return r;
}
