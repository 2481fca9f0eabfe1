// The VS_VERSIONINFO block of Windows version resources: built for our own executables and
// parsed from any file that carries one.
//
// The block is a tree of nodes. Each node: length, value length, type (0 binary, 1 text),
// a NUL-terminated UTF-16LE key, padding to 4 bytes, the value, padding, the children.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// VS_FIXEDFILEINFO, without its signature and structure version.
struct TFixedFileInfo {
  uint32_t FileVersionMS = 0;
  uint32_t FileVersionLS = 0;
  uint32_t ProductVersionMS = 0;
  uint32_t ProductVersionLS = 0;
  uint32_t FileFlagsMask = 0;
  uint32_t FileFlags = 0;
  uint32_t FileOS = 0;
  uint32_t FileType = 0;
  uint32_t FileSubtype = 0;
  uint32_t FileDateMS = 0;
  uint32_t FileDateLS = 0;
};

constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

// Language and code page of one string table ("040904B0": US English, Unicode).
struct TVersionTranslation {
  uint16_t Language = 0x0409;
  uint16_t CodePage = 0x04B0;
};

struct TVersionBlockContent {
  TFixedFileInfo Fixed;
  TVersionTranslation Translation;
  std::vector<std::pair<std::string, std::string>> Strings;  // key, UTF-8 value
};

std::vector<uint8_t> BuildVersionBlock(const TVersionBlockContent& content);

// "1.3.0.2" as the two 32-bit halves of a fixed file version; missing parts are 0, parts
// above 65535 or of no number make it fail.
std::optional<std::pair<uint32_t, uint32_t>> ParseVersionQuad(std::string_view text);

class TVersionBlock {
 public:
  // False when `bytes` is no VS_VERSIONINFO block; nodes that run past their parent are
  // dropped, never read beyond it.
  bool Parse(std::span<const uint8_t> bytes);

  // Value of a path like "\StringFileInfo\040904b0\ProductName"; keys match without regard
  // to case. A text value comes back as UTF-8, a binary value as its bytes.
  std::optional<std::string> Query(std::string_view path) const;
  std::optional<TFixedFileInfo> Fixed() const { return Fixed_; }
  // Entries of "\VarFileInfo\Translation", in order.
  std::vector<TVersionTranslation> Translations() const;

 private:
  struct TNode {
    std::string Key;    // UTF-8
    std::string Value;  // UTF-8 for text, raw bytes for binary
    std::vector<TNode> Children;
  };
  TNode Root_;
  std::optional<TFixedFileInfo> Fixed_;

  static bool ParseNode(std::span<const uint8_t> bytes, int depth, TNode& node, size_t& length);
};
