// Program text: loading a file as lines, and splitting one line into words.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The program as lines over one buffer, so that a million-line file costs two allocations.
// The index holds only where each line starts (4 bytes a line): a line ends where the next
// one's break begins.
class TProgramLines {
 public:
  enum class LoadResult { Loaded, Unreadable };

  // Replaces the lines by the file's. Only regular files are read: a missing file, a
  // folder, a FIFO or a device gives Unreadable at once and `error` says why.
  LoadResult Load(const std::string& fileName, std::string& error);
  void Assign(std::string text);  // for tests and generated programs

  size_t Count() const { return Starts.size(); }
  // Line i (0-based), or the empty text when i is not below the count.
  std::string_view Line(size_t i) const {
    if (i >= Starts.size()) return {};
    const size_t start = Starts[i];
    size_t end = i + 1 < Starts.size() ? Starts[i + 1] : Size;
    // Drop the break in front of the next line (or ending the last): LF, CR or CR LF.
    if (end > start && Buffer[end - 1] == '\n') --end;
    else if (end > start && Buffer[end - 1] == '\r') --end;
    if (end > start && Buffer[end - 1] == '\r' && Buffer[end] == '\n') --end;
    return std::string_view(Buffer.get() + start, end - start);
  }
  void Clear();

 private:
  void IndexLines();
  std::unique_ptr<char[]> Buffer;  // not zero-filled before the file is read into it
  size_t Size = 0;
  std::vector<uint32_t> Starts;  // offsets fit: files over 4 GB are refused
};

// Hands the lines of a file, split as TProgramLines splits them, to `take` in order until it
// returns true, reading the file only as far as that: a question the first lines answer
// costs the same for a million-line program as for a short one. The same files as Load
// are refused, with `error` saying why.
TProgramLines::LoadResult ScanLines(const std::string& fileName, std::string& error,
                                    const std::function<bool(std::string_view line)>& take);

constexpr size_t kMaxWords = 16;
constexpr size_t kMaxLineLength = 255;

// One word: its first character and the characters after it. For a quoted text the
// first character is "@" and the rest is the text between the quotes.
struct TWord {
  char First = 0;
  std::string_view Rest;
  // Letter in upper case, as the interpreter reads it.
  char Letter() const { return (First >= 'a' && First <= 'z') ? static_cast<char>(First - 32) : First; }
};

struct TSplitFlags {
  bool UnbalancedQuote = false;  // a quoted text ran to the end without its closing quote
  bool TooLong = false;          // cut to 255 characters
  bool TooManyWords = false;     // words beyond 16 dropped
};

struct TSplitResult : TSplitFlags {
  std::array<TWord, kMaxWords> Words{};
  size_t Count = 0;
};

// Splits one line: blanks separate, ";" starts a comment, "@" followed by a quoted text
// gives one word with its blanks. `onWord(word, index)` is called for the first 16 words.
template <class OnWord>
TSplitFlags SplitWords(std::string_view line, OnWord&& onWord) {
  TSplitFlags flags;
  if (line.size() > kMaxLineLength) {
    line = line.substr(0, kMaxLineLength);
    flags.TooLong = true;
  }
  const size_t n = std::min(line.find(';'), line.size());
  const char* text = line.data();
  size_t i = 0;
  size_t count = 0;
  int quotes = 0;
  while (i < n) {
    while (i < n && text[i] == ' ') ++i;
    if (i >= n) break;
    TWord w;
    w.First = text[i];
    size_t start = i + 1;
    size_t stop = i + 1;
    if (w.First == '@') {
      // The character after "@" is the opening quote; it is skipped unread.
      ++quotes;
      start = std::min(i + 2, n);
      stop = start;
      while (stop < n && text[stop] != '"') ++stop;
      if (stop < n) {
        ++quotes;
        i = stop + 1;
      } else {
        i = n;
      }
    } else {
      while (stop < n && text[stop] != ' ') ++stop;
      i = stop;
    }
    w.Rest = std::string_view(text + start, stop - start);
    if (count < kMaxWords) {
      onWord(w, count++);
    } else {
      flags.TooManyWords = true;
    }
  }
  flags.UnbalancedQuote = (quotes % 2) != 0;
  return flags;
}

TSplitResult SplitLine(std::string_view line);

// What the F words of a program mean: millimetres or inches a minute.
enum class TFeedUnit { Millimetre, Inch };

// The feed unit of a program, followed through its lines as they are read: the unit in
// force (G20 inch, G21 millimetre) at the end of the first line with an F word counts for
// the whole program, a G20 on the F's own line included, as a machine reads a block's
// units before its feed; without any F, the unit at the end. Commands are read by their
// first three characters, case kept, as the interpreter reads them.
struct TFeedUnitScan {
  TFeedUnit Unit = TFeedUnit::Millimetre;
  bool Settled = false;  // a line with an F word has been read: later lines change nothing

  // Takes one line's words, given by `words(k)` for k below `count`.
  template <class WordAt>
  void Line(size_t count, WordAt&& words) {
    if (Settled) return;
    for (size_t k = 0; k < count; ++k) {
      const TWord& w = words(k);
      const bool g2x = w.First == 'G' && w.Rest.size() >= 2 && w.Rest[0] == '2';
      if (g2x && w.Rest[1] == '0') Unit = TFeedUnit::Inch;
      if (g2x && w.Rest[1] == '1') Unit = TFeedUnit::Millimetre;
      if (w.Letter() == 'F') Settled = true;
    }
  }
};
