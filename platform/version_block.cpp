#include "platform/version_block.h"

#include <charconv>

namespace {

enum class TNodeType : uint16_t { Binary = 0, Text = 1 };

constexpr size_t kNodeHeaderSize = 6;  // length, value length, type
constexpr size_t kFixedFileInfoSize = 52;
constexpr uint32_t kFixedFileInfoStrucVersion = 0x00010000;
constexpr int kMaxDepth = 8;  // the real tree is four deep
constexpr uint32_t kMaxVersionPart = 0xFFFF;

size_t Aligned4(size_t n) { return (n + 3) & ~size_t{3}; }

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

void Set16(std::vector<uint8_t>& out, size_t at, size_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}

uint16_t Get16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

uint32_t Get32(std::span<const uint8_t> b, size_t at) {
  return Get16(b, at) | (static_cast<uint32_t>(Get16(b, at + 2)) << 16);
}

// UTF-8 to UTF-16 code units; a malformed byte becomes U+FFFD.
std::vector<uint16_t> ToUtf16(std::string_view s) {
  std::vector<uint16_t> out;
  for (size_t i = 0; i < s.size();) {
    const auto c = static_cast<uint8_t>(s[i]);
    const int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    uint32_t cp = extra == 0 ? c : extra == 1 ? c & 0x1F : extra == 2 ? c & 0x0F : c & 0x07;
    bool ok = extra >= 0 && i + static_cast<size_t>(extra) < s.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto cc = static_cast<uint8_t>(s[i + static_cast<size_t>(k)]);
      ok = (cc >> 6) == 2;
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    i += static_cast<size_t>(extra) + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<uint16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<uint16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<uint16_t>(cp));
    }
  }
  return out;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// UTF-16LE text from `at` up to a NUL or `end`; `at` ends behind the NUL.
std::string ReadUtf16(std::span<const uint8_t> b, size_t& at, size_t end) {
  std::string out;
  while (at + 2 <= end) {
    uint32_t u = Get16(b, at);
    at += 2;
    if (u == 0) break;
    if (u >= 0xD800 && u <= 0xDBFF && at + 2 <= end) {
      const uint32_t low = Get16(b, at);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        at += 2;
        u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF) u = 0xFFFD;
    AppendUtf8(out, u);
  }
  return out;
}

// One node; children are complete nodes, each placed on a 4-byte boundary.
std::vector<uint8_t> MakeNode(std::string_view key, TNodeType type, const std::vector<uint8_t>& value,
                              size_t valueLength, const std::vector<std::vector<uint8_t>>& children) {
  std::vector<uint8_t> out(kNodeHeaderSize, 0);
  Set16(out, 2, valueLength);
  Set16(out, 4, static_cast<uint16_t>(type));
  for (uint16_t u : ToUtf16(key)) Put16(out, u);
  Put16(out, 0);
  out.resize(Aligned4(out.size()), 0);
  out.insert(out.end(), value.begin(), value.end());
  for (const auto& child : children) {
    out.resize(Aligned4(out.size()), 0);
    out.insert(out.end(), child.begin(), child.end());
  }
  Set16(out, 0, out.size());
  return out;
}

std::vector<uint8_t> TextNode(std::string_view key, std::string_view text) {
  std::vector<uint8_t> value;
  const std::vector<uint16_t> units = ToUtf16(text);
  for (uint16_t u : units) Put16(value, u);
  Put16(value, 0);
  return MakeNode(key, TNodeType::Text, value, units.size() + 1, {});
}

std::vector<uint8_t> FixedInfoBytes(const TFixedFileInfo& f) {
  std::vector<uint8_t> v;
  for (uint32_t x : {kFixedFileInfoSignature, kFixedFileInfoStrucVersion, f.FileVersionMS, f.FileVersionLS,
                     f.ProductVersionMS, f.ProductVersionLS, f.FileFlagsMask, f.FileFlags, f.FileOS, f.FileType,
                     f.FileSubtype, f.FileDateMS, f.FileDateLS})
    Put32(v, x);
  return v;
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

std::string TranslationKey(const TVersionTranslation& t) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string s;
  for (uint16_t v : {t.Language, t.CodePage})
    for (int shift = 12; shift >= 0; shift -= 4) s += kHex[(v >> shift) & 0xF];
  return s;
}

}  // namespace

std::vector<uint8_t> BuildVersionBlock(const TVersionBlockContent& content) {
  std::vector<std::vector<uint8_t>> strings;
  for (const auto& [key, value] : content.Strings) strings.push_back(TextNode(key, value));
  const auto table = MakeNode(TranslationKey(content.Translation), TNodeType::Text, {}, 0, strings);
  const auto stringInfo = MakeNode("StringFileInfo", TNodeType::Text, {}, 0, {table});

  std::vector<uint8_t> translation;
  Put16(translation, content.Translation.Language);
  Put16(translation, content.Translation.CodePage);
  const auto var = MakeNode("Translation", TNodeType::Binary, translation, translation.size(), {});
  const auto varInfo = MakeNode("VarFileInfo", TNodeType::Text, {}, 0, {var});

  const auto fixed = FixedInfoBytes(content.Fixed);
  return MakeNode("VS_VERSION_INFO", TNodeType::Binary, fixed, fixed.size(), {stringInfo, varInfo});
}

std::optional<std::pair<uint32_t, uint32_t>> ParseVersionQuad(std::string_view text) {
  uint32_t parts[4] = {0, 0, 0, 0};
  size_t pos = 0;
  for (int i = 0; i < 4 && pos <= text.size(); ++i) {
    const size_t dot = std::min(text.find('.', pos), text.size());
    uint32_t v = 0;
    const auto [end, ec] = std::from_chars(text.data() + pos, text.data() + dot, v);
    if (ec != std::errc() || end != text.data() + dot || v > kMaxVersionPart) return std::nullopt;
    parts[i] = v;
    pos = dot + 1;
  }
  if (pos <= text.size()) return std::nullopt;  // a fifth part
  return std::pair{(parts[0] << 16) | parts[1], (parts[2] << 16) | parts[3]};
}

bool TVersionBlock::ParseNode(std::span<const uint8_t> bytes, int depth, TNode& node, size_t& length) {
  if (depth > kMaxDepth || bytes.size() < kNodeHeaderSize) return false;
  length = Get16(bytes, 0);
  if (length < kNodeHeaderSize || length > bytes.size()) return false;
  const std::span<const uint8_t> b = bytes.first(length);
  const size_t valueLength = Get16(b, 2);
  const auto type = static_cast<TNodeType>(Get16(b, 4));
  size_t pos = kNodeHeaderSize;
  node.Key = ReadUtf16(b, pos, b.size());
  pos = std::min(Aligned4(pos), b.size());
  if (type == TNodeType::Text) {
    // The length counts UTF-16 units; some writers count bytes, so read only to the NUL.
    const size_t end = std::min(b.size(), pos + valueLength * 2);
    size_t at = pos;
    node.Value = ReadUtf16(b, at, end);
    pos = end;
  } else {
    const size_t end = std::min(b.size(), pos + valueLength);
    node.Value.assign(b.begin() + static_cast<std::ptrdiff_t>(pos), b.begin() + static_cast<std::ptrdiff_t>(end));
    pos = end;
  }
  for (pos = Aligned4(pos); pos + kNodeHeaderSize <= b.size(); pos = Aligned4(pos)) {
    TNode child;
    size_t childLength = 0;
    if (!ParseNode(b.subspan(pos), depth + 1, child, childLength)) break;
    node.Children.push_back(std::move(child));
    pos += childLength;
  }
  return true;
}

bool TVersionBlock::Parse(std::span<const uint8_t> bytes) {
  Root_ = TNode{};
  Fixed_.reset();
  size_t length = 0;
  if (!ParseNode(bytes, 0, Root_, length) || !SameKey(Root_.Key, "VS_VERSION_INFO")) {
    Root_ = TNode{};
    return false;
  }
  const auto* v = reinterpret_cast<const uint8_t*>(Root_.Value.data());
  const std::span<const uint8_t> value(v, Root_.Value.size());
  if (value.size() >= kFixedFileInfoSize && Get32(value, 0) == kFixedFileInfoSignature) {
    TFixedFileInfo f;
    uint32_t* fields[] = {&f.FileVersionMS, &f.FileVersionLS, &f.ProductVersionMS, &f.ProductVersionLS,
                          &f.FileFlagsMask, &f.FileFlags,     &f.FileOS,           &f.FileType,
                          &f.FileSubtype,   &f.FileDateMS,    &f.FileDateLS};
    size_t at = 8;  // behind signature and structure version
    for (uint32_t* field : fields) {
      *field = Get32(value, at);
      at += 4;
    }
    Fixed_ = f;
  }
  return true;
}

std::optional<std::string> TVersionBlock::Query(std::string_view path) const {
  const TNode* node = &Root_;
  size_t pos = 0;
  while (pos < path.size()) {
    const size_t sep = std::min(path.find('\\', pos), path.size());
    const std::string_view key = path.substr(pos, sep - pos);
    pos = sep + 1;
    if (key.empty()) continue;
    const TNode* next = nullptr;
    for (const TNode& child : node->Children)
      if (SameKey(child.Key, key)) {
        next = &child;
        break;
      }
    if (!next) return std::nullopt;
    node = next;
  }
  return node->Value;
}

std::vector<TVersionTranslation> TVersionBlock::Translations() const {
  std::vector<TVersionTranslation> out;
  const std::optional<std::string> raw = Query("\\VarFileInfo\\Translation");
  if (!raw) return out;
  const std::span<const uint8_t> b(reinterpret_cast<const uint8_t*>(raw->data()), raw->size());
  for (size_t at = 0; at + 4 <= b.size(); at += 4) out.push_back({Get16(b, at), Get16(b, at + 2)});
  return out;
}
