// A program file as the text window shows it: its bytes decoded into one text with "\n"
// line ends, and written back in the same encoding and with the same line end.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class TTextEncoding { Utf8, Latin1 };

struct TProgramTextFormat {
  TTextEncoding Encoding = TTextEncoding::Utf8;
  std::string LineEnd = "\n";  // the file's first line end; "\n" for a file without one
  bool ByteOrderMark = false;  // a UTF-8 file that starts with one gets it back
};

struct TDecodedProgramText {
  QString Text;
  TProgramTextFormat Format;
};

// Text that is valid UTF-8 is read as UTF-8, anything else as one character per byte, so
// both come back byte for byte.
TDecodedProgramText DecodeProgramText(std::string_view bytes);

// Nothing when the text holds a character the 8-bit encoding cannot store.
std::optional<std::string> EncodeProgramText(const QString& text, const TProgramTextFormat& format);

struct TProgramFileRead {
  TDecodedProgramText Decoded;
  QString Error;  // names the file and the reason; empty on success
};

// Files above this size, and files with NUL bytes (no program text), are refused.
constexpr uintmax_t kMaxShownFileSize = 64u * 1024u * 1024u;

TProgramFileRead ReadProgramTextFile(const QString& path);
// Writes through a temporary file; the error names the file and the reason.
QString WriteProgramTextFile(const QString& path, std::string_view bytes);
