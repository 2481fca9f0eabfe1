// Where the version block lies inside an executable file: in the ELF section our build
// places it in, or in the resource section of a Windows PE file.
#pragma once

#include <cstdint>
#include <span>

// The ELF section the build puts the VS_VERSIONINFO block in.
inline constexpr char kVersionSectionName[] = ".vs_version_info";

enum class TExecutableKind { None, Elf, Pe };

struct TVersionResourceLookup {
  TExecutableKind Kind = TExecutableKind::None;  // what the file is, whether or not it has a block
  std::span<const uint8_t> Block;                // empty when the file carries none
};

// Every offset and size read from the file is checked against `image` before use.
TVersionResourceLookup FindVersionResource(std::span<const uint8_t> image);
