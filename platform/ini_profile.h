// INI profile files: sections in square brackets, "key=value" lines. Lines end with LF,
// CR LF or a lone CR.
//
// A TIniFile is the whole file held in memory: load it once, read and write as many keys as
// needed, save it once. Every line the caller does not write keeps its bytes, including
// comments, blank lines, lines of no known form and the line ends (CRLF stays CRLF).
// Only regular files are read: a folder, FIFO or device is refused at once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/whole_file.h"

using TIniResult = TFileResult;

// Blanks and tabs around `s` removed.
std::string_view TrimBlanks(std::string_view s);

// Integer value: decimal with optional sign, or "0x"/"0X" hexadecimal (up to 32 bits, taken
// as two's complement). Blanks around it are allowed. `ok` false when not an integer.
int32_t IniTextToInt(std::string_view s, int32_t fallback, bool* ok = nullptr);
// Float value with "." or "," as the decimal separator; no infinities, no NaN.
double IniTextToFloat(std::string_view s, double fallback, bool* ok = nullptr);
// Shortest text with at most 15 significant digits that reads back as `v`, or as close as
// 15 digits come; always "." ("80", "0.1", "3.25", "1e-07").
std::string IniFloatToText(double v);

class TIniFile {
 public:
  TIniFile() = default;

  // Reads `path`. A file that does not exist gives an empty document and Ok; a file that
  // exists but cannot be read (no permission, a folder, too large) gives the reason.
  TIniResult Load(const std::string& path);
  // Takes the document from text, as Load would from a file holding it.
  void Parse(std::string_view text);
  // The document as it would be saved.
  std::string Text() const;
  // Writes the document to `path` through a temporary file in the same folder that is
  // renamed over the old file, so a failure leaves the old file as it was.
  TIniResult Save(const std::string& path) const;

  bool SectionExists(std::string_view section) const;
  bool KeyExists(std::string_view section, std::string_view key) const;

  std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
  double ReadFloat(std::string_view section, std::string_view key, double fallback) const;

  // Sets the value in place, keeping the line's key spelling and indentation; a missing key
  // goes after the last non-blank line of its section, a missing section to the end.
  // Line breaks inside a value become blanks: a value is one line.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void WriteFloat(std::string_view section, std::string_view key, double value);

  // Files above this size are refused rather than read into memory.
  static constexpr uintmax_t kMaxFileSize = 64u * 1024u * 1024u;

 private:
  // One key line, or a run of other lines (blank, comment, unknown form, repeated key)
  // kept as one text, so that a file of millions of blank lines costs its size, not a
  // record per line.
  struct TLine {
    std::string Raw;     // without its (last) line end; a run holds the inner line ends
    std::string End;     // "\n", "\r\n", "\r" or "" for a last line without one
    bool Plain = false;  // a run of lines nobody reads or writes by key
    size_t Head = 0;     // Plain: bytes of Raw + End up to the end of the last non-blank line
  };
  struct TKeyPlace {
    size_t Section;  // index into Sections_
    size_t Line;     // index into that section's Lines
  };
  struct TSection {
    std::string Header;  // "" for the lines before the first section header
    std::string HeaderEnd;
    std::string Name;  // folded: lower case, no blanks around
    std::vector<TLine> Lines;
  };
  struct TSectionIndex {
    std::vector<size_t> Sections;                     // every section of this name, in file order
    std::unordered_map<std::string, TKeyPlace> Keys;  // first occurrence wins
  };

  const TKeyPlace* Find(std::string_view section, std::string_view key) const;
  std::string_view ValueAt(const TKeyPlace& place) const;
  std::string_view NewLineEnd() const;
  void AddPlainLine(TSection& s, std::string_view raw, std::string_view end);
  static bool EndsBlank(const TLine& line);
  static void SplitBlankTail(std::vector<TLine>& lines, size_t i);

  std::vector<TSection> Sections_{TSection{}};
  std::unordered_map<std::string, TSectionIndex> Index_;
  std::string NewLine_ = "\n";  // the end of the file's first line, for lines written
};
