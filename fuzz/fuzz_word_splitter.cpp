// The word splitter and the number reading of one line: every word lies inside the line,
// at most 16 of them, and the reading of a prepared line agrees with the plain split. The
// same bytes as a file: streamed line by line, they give the lines loading gives.
#include <cstdint>
#include <string_view>

#include "base/program_reader.h"
#include "engine/interpreter.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const TSplitResult split = SplitLine(line);
  if (split.Count > kMaxWords) __builtin_trap();
  for (size_t i = 0; i < split.Count; ++i) {
    const TWord& w = split.Words[i];
    if (!w.Rest.empty() && (w.Rest.data() < line.data() || w.Rest.data() + w.Rest.size() > line.data() + line.size()))
      __builtin_trap();
  }
  TLineWords words;
  PrepareLine(line, words);
  if (words.Count != split.Count || words.TooLong != split.TooLong || words.UnbalancedQuote != split.UnbalancedQuote)
    __builtin_trap();
  for (size_t i = 0; i < words.Count; ++i)
    if (words.Words[i].Word.First != split.Words[i].First || words.Words[i].Word.Rest != split.Words[i].Rest)
      __builtin_trap();
  TProgramLines lines;
  lines.Assign(std::string(line));
  size_t total = 0;
  for (size_t i = 0; i < lines.Count(); ++i) total += lines.Line(i).size() + 1;
  if (lines.Count() > 0 && total > size + lines.Count()) __builtin_trap();
  static TMemoryFile file;
  std::string error;
  size_t scanned = 0;
  const auto sameLine = [&](std::string_view l) {
    if (scanned >= lines.Count() || l != lines.Line(scanned)) __builtin_trap();
    ++scanned;
    return false;
  };
  if (ScanLines(file.Hold(data, size), error, sameLine) != TProgramLines::LoadResult::Loaded) __builtin_trap();
  if (scanned != lines.Count()) __builtin_trap();
  return 0;
}
