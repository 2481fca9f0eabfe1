#include "platform/executable_resource.h"

#include <cstring>
#include <optional>
#include <string_view>

namespace {

// ---- ELF ------------------------------------------------------------------------------

constexpr uint8_t kElfClass32 = 1;
constexpr uint8_t kElfClass64 = 2;
constexpr uint8_t kElfDataBigEndian = 2;
constexpr uint32_t kSectionNoBits = 8;            // SHT_NOBITS: no bytes in the file
constexpr uint32_t kSectionIndexEscape = 0xFFFF;  // SHN_XINDEX: the real index is elsewhere

struct TByteReader {
  std::span<const uint8_t> Bytes;
  bool BigEndian = false;

  bool Has(uint64_t at, uint64_t n) const { return at <= Bytes.size() && n <= Bytes.size() - at; }
  uint64_t Get(uint64_t at, int n) const {
    if (!Has(at, static_cast<uint64_t>(n))) return 0;
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) {
      const uint64_t byte = Bytes[at + static_cast<uint64_t>(BigEndian ? i : n - 1 - i)];
      v = (v << 8) | byte;
    }
    return v;
  }
};

// Field places of the ELF header and section headers for one class.
struct TElfLayout {
  int Word;  // size of offsets and sizes
  uint64_t SectionTableOffset, SectionEntrySize, SectionCount, NameTableIndex;
  uint64_t NameField, TypeField, LinkField, OffsetField, SizeField;
};

constexpr TElfLayout kElf32{4, 0x20, 0x2E, 0x30, 0x32, 0, 4, 24, 16, 20};
constexpr TElfLayout kElf64{8, 0x28, 0x3A, 0x3C, 0x3E, 0, 4, 40, 24, 32};

std::span<const uint8_t> FindElfSection(std::span<const uint8_t> image, std::string_view name) {
  const TByteReader r{image, image[5] == kElfDataBigEndian};
  const TElfLayout& l = image[4] == kElfClass64 ? kElf64 : kElf32;
  const uint64_t table = r.Get(l.SectionTableOffset, l.Word);
  const uint64_t entrySize = r.Get(l.SectionEntrySize, 2);
  uint64_t count = r.Get(l.SectionCount, 2);
  uint64_t names = r.Get(l.NameTableIndex, 2);
  const uint64_t minEntry = l.SizeField + static_cast<uint64_t>(l.Word);
  if (table == 0 || entrySize < minEntry || !r.Has(table, entrySize)) return {};
  // Many sections: the counts live in the first section header.
  if (count == 0) count = r.Get(table + l.SizeField, l.Word);
  if (names == kSectionIndexEscape) names = r.Get(table + l.LinkField, 4);
  if (count == 0 || count > image.size() / entrySize || names >= count || !r.Has(table, count * entrySize)) return {};

  const uint64_t namesAt = table + names * entrySize;
  const uint64_t nameTable = r.Get(namesAt + l.OffsetField, l.Word);
  const uint64_t nameTableSize = r.Get(namesAt + l.SizeField, l.Word);
  if (!r.Has(nameTable, nameTableSize)) return {};
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t at = table + i * entrySize;
    const uint64_t nameOffset = r.Get(at + l.NameField, 4);
    if (nameOffset >= nameTableSize) continue;
    const auto* start = reinterpret_cast<const char*>(image.data() + nameTable + nameOffset);
    const size_t room = static_cast<size_t>(nameTableSize - nameOffset);
    if (std::string_view(start, strnlen(start, room)) != name) continue;
    if (r.Get(at + l.TypeField, 4) == kSectionNoBits) return {};
    const uint64_t offset = r.Get(at + l.OffsetField, l.Word);
    const uint64_t size = r.Get(at + l.SizeField, l.Word);
    if (!r.Has(offset, size)) return {};
    return image.subspan(offset, size);
  }
  return {};
}

// ---- PE -------------------------------------------------------------------------------

constexpr uint64_t kPeOffsetField = 0x3C;
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint64_t kResourceDirectoryIndex = 2;
constexpr uint64_t kSectionHeaderSize = 40;
constexpr uint32_t kResourceTypeVersion = 16;  // RT_VERSION
constexpr uint32_t kSubdirectoryBit = 0x80000000;
constexpr uint32_t kNamedEntryBit = 0x80000000;
constexpr uint64_t kResourceDirectorySize = 16;
constexpr uint64_t kResourceEntrySize = 8;

struct TPeImage {
  TByteReader R;
  uint64_t Sections = 0;
  uint64_t SectionCount = 0;

  // File offset of a relative virtual address that lies in a section's raw data.
  std::optional<uint64_t> FileOffset(uint64_t rva, uint64_t size) const {
    for (uint64_t i = 0; i < SectionCount; ++i) {
      const uint64_t s = Sections + i * kSectionHeaderSize;
      const uint64_t va = R.Get(s + 12, 4);
      const uint64_t raw = R.Get(s + 16, 4);
      const uint64_t pointer = R.Get(s + 20, 4);
      if (rva < va || rva - va >= raw) continue;
      const uint64_t offset = pointer + (rva - va);
      if (size > raw - (rva - va) || !R.Has(offset, size)) return std::nullopt;
      return offset;
    }
    return std::nullopt;
  }
};

// The entry of a resource directory with this id, or its first entry when `id` is empty.
std::optional<uint32_t> ResourceEntry(const TByteReader& r, uint64_t directory, std::optional<uint32_t> id) {
  if (!r.Has(directory, kResourceDirectorySize)) return std::nullopt;
  const uint64_t named = r.Get(directory + 12, 2);
  const uint64_t ids = r.Get(directory + 14, 2);
  for (uint64_t i = 0; i < named + ids; ++i) {
    const uint64_t at = directory + kResourceDirectorySize + i * kResourceEntrySize;
    if (!r.Has(at, kResourceEntrySize)) return std::nullopt;
    const auto nameOrId = static_cast<uint32_t>(r.Get(at, 4));
    if (id && ((nameOrId & kNamedEntryBit) != 0 || nameOrId != *id)) continue;
    return static_cast<uint32_t>(r.Get(at + 4, 4));
  }
  return std::nullopt;
}

std::span<const uint8_t> FindPeVersion(std::span<const uint8_t> image, bool& isPe) {
  const TByteReader r{image, false};
  const uint64_t pe = r.Get(kPeOffsetField, 4);
  if (!r.Has(pe, 24) || std::memcmp(image.data() + pe, "PE\0\0", 4) != 0) return {};
  isPe = true;
  const uint64_t optional = pe + 24;
  const uint64_t optionalSize = r.Get(pe + 20, 2);
  const uint64_t magic = r.Get(optional, 2);
  const uint64_t dirs = magic == kPe32PlusMagic ? 112 : magic == kPe32Magic ? 96 : 0;
  if (dirs == 0 || r.Get(optional + dirs - 4, 4) <= kResourceDirectoryIndex) return {};
  const uint64_t resource = optional + dirs + kResourceDirectoryIndex * 8;
  if (resource + 8 > optional + optionalSize) return {};
  const TPeImage img{r, optional + optionalSize, r.Get(pe + 6, 2)};
  if (!r.Has(img.Sections, img.SectionCount * kSectionHeaderSize)) return {};
  const auto root = img.FileOffset(r.Get(resource, 4), kResourceDirectorySize);
  if (!root) return {};

  // Type, then name, then language: the first version resource in its first language.
  uint64_t directory = *root;
  std::optional<uint32_t> id = kResourceTypeVersion;
  for (int level = 0; level < 2; ++level) {
    const auto entry = ResourceEntry(r, directory, id);
    if (!entry || (*entry & kSubdirectoryBit) == 0) return {};
    directory = *root + (*entry & ~kSubdirectoryBit);
    id.reset();
  }
  const auto leaf = ResourceEntry(r, directory, std::nullopt);
  if (!leaf || (*leaf & kSubdirectoryBit) != 0) return {};
  const uint64_t data = *root + *leaf;
  if (!r.Has(data, 16)) return {};
  const uint64_t size = r.Get(data + 4, 4);
  const auto offset = img.FileOffset(r.Get(data, 4), size);
  if (!offset) return {};
  return image.subspan(*offset, size);
}

}  // namespace

TVersionResourceLookup FindVersionResource(std::span<const uint8_t> image) {
  TVersionResourceLookup found;
  if (image.size() >= 64 &&
      std::memcmp(image.data(),
                  "\x7F"
                  "ELF",
                  4) == 0 &&
      (image[4] == kElfClass32 || image[4] == kElfClass64)) {
    found.Kind = TExecutableKind::Elf;
    found.Block = FindElfSection(image, kVersionSectionName);
  } else if (image.size() >= 64 && image[0] == 'M' && image[1] == 'Z') {
    bool isPe = false;
    found.Block = FindPeVersion(image, isPe);
    if (isPe) found.Kind = TExecutableKind::Pe;
  }
  return found;
}
