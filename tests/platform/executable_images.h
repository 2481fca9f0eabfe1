// Small ELF and PE files built in memory around a version block, for the reader tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test_images {

inline void Put(std::vector<uint8_t>& b, size_t at, uint64_t v, int n, bool bigEndian = false) {
  if (b.size() < at + static_cast<size_t>(n)) b.resize(at + static_cast<size_t>(n), 0);
  for (int i = 0; i < n; ++i) {
    const int shift = 8 * (bigEndian ? n - 1 - i : i);
    b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> shift);
  }
}

inline void Append(std::vector<uint8_t>& b, const std::vector<uint8_t>& data) {
  b.insert(b.end(), data.begin(), data.end());
}

struct TElfOptions {
  bool Elf64 = true;
  bool BigEndian = false;
  uint32_t SectionType = 1;  // PROGBITS; 8 is NOBITS
};

// An ELF file with a section table of three: none, the section names, and `name` holding `data`.
inline std::vector<uint8_t> ElfWithSection(const std::string& name, const std::vector<uint8_t>& data,
                                           TElfOptions o = {}) {
  const bool be = o.BigEndian;
  const int word = o.Elf64 ? 8 : 4;
  const size_t headerSize = o.Elf64 ? 64 : 52;
  const size_t entrySize = o.Elf64 ? 64 : 40;
  std::vector<uint8_t> b(headerSize, 0);
  b[0] = 0x7F;
  b[1] = 'E';
  b[2] = 'L';
  b[3] = 'F';
  b[4] = o.Elf64 ? 2 : 1;
  b[5] = be ? 2 : 1;
  b[6] = 1;
  const size_t dataAt = b.size();
  Append(b, data);
  const size_t namesAt = b.size();
  const std::string names = std::string("\0.shstrtab\0", 11) + name + '\0';
  b.insert(b.end(), names.begin(), names.end());
  while (b.size() % 8) b.push_back(0);
  const size_t table = b.size();
  b.resize(table + 3 * entrySize, 0);
  const size_t nameField = 0, typeField = 4, offsetField = o.Elf64 ? 24 : 16, sizeField = o.Elf64 ? 32 : 20;
  auto section = [&](size_t i, uint32_t nameOffset, uint32_t type, size_t offset, size_t size) {
    const size_t at = table + i * entrySize;
    Put(b, at + nameField, nameOffset, 4, be);
    Put(b, at + typeField, type, 4, be);
    Put(b, at + offsetField, offset, word, be);
    Put(b, at + sizeField, size, word, be);
  };
  section(1, 1, 3, namesAt, names.size());
  section(2, 11, o.SectionType, dataAt, data.size());
  Put(b, o.Elf64 ? 0x28 : 0x20, table, word, be);
  Put(b, o.Elf64 ? 0x3A : 0x2E, entrySize, 2, be);
  Put(b, o.Elf64 ? 0x3C : 0x30, 3, 2, be);
  Put(b, o.Elf64 ? 0x3E : 0x32, 1, 2, be);
  return b;
}

// A PE32+ file whose one section ".rsrc" holds a resource tree with a version resource
// (type 16, id 1, language 0x409) made of `data`.
inline std::vector<uint8_t> PeWithVersion(const std::vector<uint8_t>& data, uint32_t type = 16) {
  const size_t pe = 0x80;
  const size_t optional = pe + 24;
  const size_t optionalSize = 112 + 16 * 8;
  const size_t sections = optional + optionalSize;
  const size_t rsrcFile = 0x400;
  const uint32_t rsrcRva = 0x3000;
  std::vector<uint8_t> b(rsrcFile, 0);
  b[0] = 'M';
  b[1] = 'Z';
  Put(b, 0x3C, pe, 4);
  b[pe] = 'P';
  b[pe + 1] = 'E';
  Put(b, pe + 6, 1, 2);
  Put(b, pe + 20, optionalSize, 2);
  Put(b, optional, 0x20B, 2);
  Put(b, optional + 108, 16, 4);

  // Resource tree: root -> type -> name -> language -> data entry -> bytes.
  std::vector<uint8_t> r(0x60, 0);
  Put(r, 0x00 + 14, 1, 2);
  Put(r, 0x10, type, 4);
  Put(r, 0x14, 0x80000000u | 0x18, 4);
  Put(r, 0x18 + 14, 1, 2);
  Put(r, 0x28, 1, 4);
  Put(r, 0x2C, 0x80000000u | 0x30, 4);
  Put(r, 0x30 + 14, 1, 2);
  Put(r, 0x40, 0x409, 4);
  Put(r, 0x44, 0x48, 4);
  Put(r, 0x48, rsrcRva + 0x60, 4);
  Put(r, 0x4C, data.size(), 4);
  Append(r, data);

  Put(b, optional + 112 + 2 * 8, rsrcRva, 4);
  Put(b, optional + 112 + 2 * 8 + 4, r.size(), 4);
  std::copy_n(".rsrc", 5, b.begin() + static_cast<std::ptrdiff_t>(sections));
  Put(b, sections + 8, r.size(), 4);
  Put(b, sections + 12, rsrcRva, 4);
  Put(b, sections + 16, r.size(), 4);
  Put(b, sections + 20, rsrcFile, 4);
  Append(b, r);
  return b;
}

}  // namespace test_images
