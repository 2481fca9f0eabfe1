#include "base/convert.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>

#include "base/records.h"

namespace {
// from_chars does not take a leading "+"; the standard reading does.
std::string_view StripPlus(std::string_view s) {
  if (s.size() > 1 && s[0] == '+' && s[1] != '-' && s[1] != '+') s.remove_prefix(1);
  return s;
}
}  // namespace

std::optional<double> ParseFloat(std::string_view s) {
  s = StripPlus(s);
  if (s.empty()) return std::nullopt;
  // Only digits, sign, point and exponent: no "inf", "nan" or hexadecimal forms.
  const char c0 = s[0] == '-' && s.size() > 1 ? s[1] : s[0];
  if (!((c0 >= '0' && c0 <= '9') || c0 == '.')) return std::nullopt;
  double v = 0.0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
  if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int64_t> ParseInt(std::string_view s) {
  s = StripPlus(s);
  if (s.empty()) return std::nullopt;
  int64_t v = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 10);
  if (ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
  return v;
}

int32_t TextToInt(std::string_view s) {
  auto v = ParseInt(s);
  if (!v || *v < std::numeric_limits<int32_t>::min() || *v > std::numeric_limits<int32_t>::max()) return 0;
  return static_cast<int32_t>(*v);
}

int64_t RoundNearest(double v) {
  if (!std::isfinite(v)) return 0;
  const double r = std::nearbyint(v);
  if (r >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (r <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(r);
}

std::string TwoDigits(int64_t n) {
  std::string s = std::to_string(n);
  if (n >= 0 && n < 10) s.insert(0, "0");
  return s;
}

std::string FloatToText(double v, int width, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, v);
  std::string s(buf);
  if (s.size() > 11) s.resize(11);
  return s;
}

std::string_view DropFirst(std::string_view s, size_t n) {
  if (n >= s.size()) return s;
  return s.substr(n);
}

std::string ShortestFloat(double v) {
  char buf[64];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return ec == std::errc() ? std::string(buf, ptr) : std::string("0");
}

std::string_view CutUtf8(std::string_view s, size_t maxBytes) {
  if (s.size() <= maxBytes) return s;
  size_t n = maxBytes;
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  return s.substr(0, n);
}

int32_t CodeNumber(const TCode& code) {
  const std::string_view v = code.View();
  if (v.empty()) return 0;
  int32_t n = 0;
  const std::string_view rest = v.substr(1);
  bool digits = !rest.empty();
  for (char c : rest) {
    if (c < '0' || c > '9') {
      digits = false;
      break;
    }
    n = n * 10 + (c - '0');
  }
  if (!digits || n > 255) n = 0;
  return static_cast<unsigned char>(v[0]) * 256 + n;
}

TCode CodeFromNumber(char letter, int number) {
  // Once per element of a program when it is drawn: no text is built on the heap.
  char text[16] = {letter};
  char* at = text + 1;
  if (number >= 0 && number < 10) *at++ = '0';
  at = std::to_chars(at, std::end(text), number).ptr;
  return TCode(std::string_view(text, static_cast<size_t>(at - text)));
}

TNumberText ReadNumberTextInFull(std::string_view s) {
  TNumberText r;
  if (auto n = ParseInt(s)) {
    r.IsNumber = r.IsInteger = true;
    r.Integer = *n;
    r.Value = static_cast<double>(*n);
  } else if (auto d = ParseFloat(s)) {
    r.IsNumber = true;
    r.Value = *d;
  }
  return r;
}
