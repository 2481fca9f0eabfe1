// Whether a program file looks like text: a binary file (a picture, an archive, a program
// saved by a word processor) still runs, but the information pane warns about it first.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Only this much of the file's beginning is looked at.
inline constexpr size_t kLookedAtBytes = 64 * 1024;
// More than this share of bytes that are neither text nor line ends makes a file binary.
inline constexpr double kUnexpectedShare = 0.01;

struct TTextLook {
  size_t Unexpected = 0;  // control bytes other than tab, line ends and form feed; NUL included
  bool HasNul = false;
  bool LooksBinary = false;  // a NUL byte, or more than kUnexpectedShare unexpected bytes
};

// Looks at `head`, the beginning of a file (at most kLookedAtBytes of it count).
TTextLook LookAtText(std::string_view head);

// "Warning: NAME does not look like a text file (N unexpected bytes in the first 64 KB)",
// or none for a file that looks like text.
std::optional<std::string> BinaryFileWarning(const std::string& name, const TTextLook& look);
