// Number and text conversions shared by every layer. None of them raises:
// a text that is not wholly a number reads as 0.
#pragma once

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
TNumberText ReadNumberText(std::string_view s);
