#include "windows/program_numbers.h"

#include <cstdint>

namespace {

constexpr size_t kNumberWidth = 5;
constexpr std::string_view kCreatedLineEnd = "\r\n";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::vector<TTextLine> SplitTextLines(std::string_view text) {
  std::vector<TTextLine> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t nl = text.find('\n', pos);
    if (nl == std::string_view::npos) {
      lines.push_back({text.substr(pos), {}});
      break;
    }
    const bool cr = nl > pos && text[nl - 1] == '\r';
    const size_t bodyEnd = cr ? nl - 1 : nl;
    lines.push_back({text.substr(pos, bodyEnd - pos), text.substr(bodyEnd, nl + 1 - bodyEnd)});
    pos = nl + 1;
  }
  return lines;
}

std::string FiveDigitNumber(uint64_t value) {
  std::string digits = std::to_string(value);
  if (digits.size() > kNumberWidth) return digits.substr(digits.size() - kNumberWidth - 1, kNumberWidth);
  return std::string(kNumberWidth - digits.size(), '0') + digits;
}

std::string CreateProgramNumbers(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4 + 16);
  uint64_t index = 0;
  for (const TTextLine& line : SplitTextLines(text)) {
    out += 'N';
    out += FiveDigitNumber(index * kProgramNumberStep);
    out += ' ';
    out += line.Body;
    out += kCreatedLineEnd;
    ++index;
  }
  return out;
}

std::string_view ClearedLine(std::string_view body) {
  size_t pos = 0;
  if (body.substr(0, 2) == ";N") {
    pos = 2;
  } else if (body.substr(0, 1) == "N") {
    pos = 1;
  } else {
    return body;
  }
  const size_t digitsStart = pos;
  while (pos < body.size() && IsDigit(body[pos])) ++pos;
  if (pos == digitsStart) return body;
  if (pos == body.size()) return body.substr(pos);
  if (body[pos] != ' ') return body;
  return body.substr(pos + 1);
}

std::string ClearProgramNumbers(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const TTextLine& line : SplitTextLines(text)) {
    out += ClearedLine(line.Body);
    out += line.End;
  }
  return out;
}

std::optional<int32_t> BlockNumberOf(std::string_view body) {
  while (!body.empty() && (body.front() == ' ' || body.front() == '\t')) body.remove_prefix(1);
  if (body.size() < 2 || (body[0] != 'N' && body[0] != 'n')) return std::nullopt;
  int64_t value = 0;
  size_t k = 1;
  // Digits past the range of a block number cannot match one: stop counting there.
  for (; k < body.size() && IsDigit(body[k]); ++k)
    if (value <= INT32_MAX) value = value * 10 + (body[k] - '0');
  if (k == 1 || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

int LineWithNumber(std::string_view text, int32_t number) {
  const std::vector<TTextLine> lines = SplitTextLines(text);
  for (size_t i = 0; i < lines.size(); ++i)
    if (BlockNumberOf(lines[i].Body) == number) return static_cast<int>(i);
  return -1;
}
