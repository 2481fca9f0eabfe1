// Number and text conversions shared by every layer. None of them raises:
// a text that is not wholly a number reads as 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Whole text a decimal number (optional sign, fraction, exponent; "." separator)?
std::optional<double> ParseFloat(std::string_view s);
std::optional<int64_t> ParseInt(std::string_view s);

inline double TextToFloat(std::string_view s) { return ParseFloat(s).value_or(0.0); }
// Integer, 0 when not an integer or beyond the 32-bit range.
int32_t TextToInt(std::string_view s);

// Nearest integer, ties to the even neighbour.
int64_t RoundNearest(double v);

// "5" -> "05"; numbers from 10 on are unchanged.
std::string TwoDigits(int64_t n);

// Number to text with a width (right-aligned) and a number of decimals, cut to 11 characters.
std::string FloatToText(double v, int width, int decimals);

// Drops the first n characters; leaves the text unchanged when n is not below its length.
std::string_view DropFirst(std::string_view s, size_t n);

// Shortest text that reads back as the same double ("0.1", "25.4", "1e+300").
std::string ShortestFloat(double v);

// Cuts a UTF-8 text to at most `maxBytes` bytes without splitting a character.
std::string_view CutUtf8(std::string_view s, size_t maxBytes);

// Both readings of a word's digits at once: the float value and, when the text is an
// integer, its integer value. Decimal texts of up to 15 significant digits take a fast
// exact path; everything else goes through ParseFloat/ParseInt.
struct TNumberText {
  bool IsNumber = false;
  bool IsInteger = false;
  double Value = 0.0;
  int64_t Integer = 0;
};
// The reading of a text the fast path does not take: ParseInt, else ParseFloat.
TNumberText ReadNumberTextInFull(std::string_view s);

// Inline: it runs for every number word of a program, and its result stays in registers.
inline TNumberText ReadNumberText(std::string_view s) {
  const char* p = s.data();
  const char* const end = p + s.size();
  const auto isDigit = [](char c) { return static_cast<unsigned char>(c - '0') < 10; };
  bool negative = false;
  if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  uint64_t mantissa = 0;
  const char* const intStart = p;
  while (p < end && isDigit(*p)) mantissa = mantissa * 10 + static_cast<uint64_t>(*p++ - '0');
  const ptrdiff_t intDigits = p - intStart;
  ptrdiff_t fracDigits = 0;
  const bool point = p < end && *p == '.';
  if (point) {
    const char* const fracStart = ++p;
    while (p < end && isDigit(*p)) mantissa = mantissa * 10 + static_cast<uint64_t>(*p++ - '0');
    fracDigits = p - fracStart;
  }
  const ptrdiff_t digits = intDigits + fracDigits;
  if (p != end || digits == 0 || digits > 15) return ReadNumberTextInFull(s);
  // mantissa < 10^15 < 2^53 and 10^fracDigits is exact: one correctly rounded division
  // gives the same double as a full conversion.
  static constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const double v = fracDigits == 0 ? static_cast<double>(mantissa) : static_cast<double>(mantissa) / kPow10[fracDigits];
  TNumberText r;
  r.IsNumber = true;
  r.Value = negative ? -v : v;
  if (!point) {
    r.IsInteger = true;
    r.Integer = negative ? -static_cast<int64_t>(mantissa) : static_cast<int64_t>(mantissa);
  }
  return r;
}
