#include "cli/json_writer.h"

#include <cmath>
#include <cstdio>

#include "base/convert.h"

namespace {
// Length of the valid UTF-8 sequence at s[i], 0 when it is not one.
size_t Utf8Length(std::string_view s, size_t i) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = b(i);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k)
    if ((b(i + k) & 0xC0) != 0x80) return 0;
  if (n == 2 && c < 0xC2) return 0;  // overlong
  if (n == 3) {
    const unsigned char c1 = b(i + 1);
    if (c == 0xE0 && c1 < 0xA0) return 0;   // overlong
    if (c == 0xED && c1 >= 0xA0) return 0;  // surrogate halves
  }
  if (n == 4) {
    const unsigned char c1 = b(i + 1);
    if (c == 0xF0 && c1 < 0x90) return 0;                 // overlong
    if (c > 0xF4 || (c == 0xF4 && c1 >= 0x90)) return 0;  // beyond U+10FFFF
  }
  return n;
}
}  // namespace

// Bytes that are not well-formed UTF-8 (binary program files) become U+FFFD, one for each
// byte of an ill-formed sequence, so the output stays valid UTF-8 and JSON.
void AppendJsonString(std::string& out, std::string_view s) {
  out += '"';
  for (size_t i = 0; i < s.size();) {
    const size_t n = Utf8Length(s, i);
    if (n == 0) {
      out += "\ufffd";
      ++i;
      continue;
    }
    if (n > 1) {
      out.append(s.substr(i, n));
      i += n;
      continue;
    }
    const unsigned char c = static_cast<unsigned char>(s[i++]);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

void AppendJsonNumber(std::string& out, double v) {
  if (!std::isfinite(v)) {
    out += "null";
    return;
  }
  out += ShortestFloat(v);
}
