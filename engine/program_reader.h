// Program text: loading a file as lines, and splitting one line into words.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The program as lines over one buffer, so that a million-line file costs two allocations.
class TProgramLines {
 public:
  enum class LoadResult { Loaded, Missing, Unreadable };

  // Replaces the lines by the file's; `error` gets the reason when it cannot be read.
  LoadResult Load(const std::string& fileName, std::string& error);
  void Assign(std::string text);  // for tests and generated programs

  size_t Count() const { return Starts.size(); }
  // Line i (0-based), or the empty text when i is not below the count.
  std::string_view Line(size_t i) const {
    if (i >= Starts.size()) return {};
    return std::string_view(Buffer.data() + Starts[i], Lengths[i]);
  }
  void Clear();

 private:
  void IndexLines();
  std::string Buffer;
  std::vector<uint32_t> Starts;  // offsets fit: files over 4 GB are refused
  std::vector<uint32_t> Lengths;
};

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

struct TSplitResult {
  std::array<TWord, kMaxWords> Words{};
  size_t Count = 0;
  bool UnbalancedQuote = false;  // a quoted text ran to the end without its closing quote
  bool TooLong = false;          // cut to 255 characters
  bool TooManyWords = false;     // words beyond 16 dropped
};

// Splits one line: blanks separate, ";" starts a comment, "@" followed by a quoted text
// gives one word with its blanks.
TSplitResult SplitLine(std::string_view line);
