#include "tools/tool_block.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <utility>

#include "base/convert.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsCommandLetter(char c) {
  switch (c) {
    case 'C':
    case 'c':
    case 'H':
    case 'h':
    case 'T':
    case 't':
    case 'S':
    case 's':
    case 'F':
    case 'f':
    case 'N':
    case 'n': return true;
    default: return false;
  }
}

bool StartsNumber(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

// End of the value that starts at `from`: the next blank, the end of the line, or a command
// letter that itself starts a word ("T1C0.8": the C ends the tool number).
size_t ValueEnd(std::string_view s, size_t from) {
  size_t j = from;
  while (j < s.size() && !IsBlank(s[j]) && !(IsCommandLetter(s[j]) && j + 1 < s.size() && StartsNumber(s[j + 1]))) ++j;
  return j;
}

bool Contains(std::string_view s, std::string_view what) { return s.find(what) != std::string_view::npos; }

}  // namespace

std::string TwoDecimals(double v) {
  if (!std::isfinite(v)) v = 0.0;
  char buf[512];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
  if (ec != std::errc()) return "0.00";
  std::string_view text(buf, static_cast<size_t>(end - buf));
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  const size_t point = text.find('.');
  std::string digits(text.substr(0, point));  // integer part
  std::string frac = point == std::string_view::npos ? std::string() : std::string(text.substr(point + 1));
  frac.resize(std::max<size_t>(frac.size(), 3), '0');
  digits += frac.substr(0, 2);
  if (frac[2] >= '5') {
    size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) digits.insert(0, "1");
    else ++digits[i - 1];
  }
  std::string out = digits.substr(0, digits.size() - 2) + "." + digits.substr(digits.size() - 2);
  if (negative && out.find_first_not_of("0.") != std::string::npos) out.insert(0, "-");
  return out;
}

TToolBlockScanner::TToolLine TToolBlockScanner::Scan(std::string_view s) {
  TToolLine t;
  const size_t n = s.size();
  if (InBlock_) {
    // Unit lines of real drill headers count like M72 / metric.
    if (s.starts_with("INCH")) Factor_ = kInchToMm;
    else if (s.starts_with("METRIC")) Factor_ = 1.0;
  }
  // The last character of a line of two or more is never a command letter; a line of one
  // character is examined.
  size_t i = 0;
  while (i < n && (i + 1 < n || n == 1)) {
    const char c = s[i];
    if (c == 'M') {
      if (Contains(s, "M48")) {
        InBlock_ = true;
        return t;
      }
      if (Contains(s, "M72")) Factor_ = kInchToMm;
      ++i;
      continue;
    }
    if (c == '%') {
      if (InBlock_) EndSeen_ = true;
      return t;
    }
    if (c == ';') return t;
    if (!IsCommandLetter(c)) {
      ++i;
      continue;
    }
    // Outside the block a header line counts only up to its first command letter.
    if (!InBlock_) return t;
    if (c == 'N' || c == 'n') {
      if (i + 1 < n && s[i + 1] == '"') {
        const size_t close = s.find('"', i + 2);
        t.Name = std::string(s.substr(i + 2, close == std::string_view::npos ? n : close - (i + 2)));
        i = close == std::string_view::npos ? n : close + 1;
      } else {
        ++i;
      }
      continue;
    }
    const size_t end = ValueEnd(s, i + 1);
    const std::string_view value = s.substr(i + 1, end - (i + 1));
    switch (c) {
      case 'C':
      case 'c': t.Diameter = value; break;
      case 'H':
      case 'h': t.Height = value; break;
      case 'T':
      case 't': t.Tool += value; break;
      case 'S':
      case 's': t.Speed += value; break;
      default: t.Feed += value; break;  // F, f
    }
    i = end;
  }
  return t;
}

void TToolBlockScanner::PrependLog(const std::string& entry) { Block_.Log.insert(0, "\r\n" + entry); }

void TToolBlockScanner::AddTool(const TToolLine& t, std::string_view line) {
  if (t.Tool.empty()) return;
  if (!(t.Tool[0] >= '0' && t.Tool[0] <= '9')) {
    PrependLog("Line " + std::to_string(LineNo_) + " ignored: " + std::string(line));
    return;
  }
  if (Block_.Rows.size() >= kMaxToolRows) {
    if (!DroppedNoted_) PrependLog(kOnlyFirstTools);
    DroppedNoted_ = true;
    return;
  }
  TToolRow row;
  row.Tool = t.Tool;
  row.Name = t.Name;
  row.Diameter = TwoDecimals(TextToFloat(t.Diameter) * Factor_);
  row.Height = TwoDecimals(TextToFloat(t.Height));
  row.Speed = t.Speed;
  row.Feed = t.Feed;
  Block_.Rows.push_back(std::move(row));
  PrependLog("Toolname: " + t.Name + "  Toolheight: " + t.Height + "  " + t.Tool + "  " + t.Diameter + "  " + t.Speed +
             "  " + t.Feed + "  ");
}

bool TToolBlockScanner::AddLine(std::string_view line) {
  if (Stopped_) return false;
  ++LineNo_;
  if (line.find('\0') != std::string_view::npos) {
    Fail("Line " + std::to_string(LineNo_) + " holds a NUL byte: not a text file");
    return false;
  }
  if (line.size() > kMaxToolBlockLine) {
    Fail("Line " + std::to_string(LineNo_) + " is longer than " + std::to_string(kMaxToolBlockLine) +
         " characters: not a drill file");
    return false;
  }
  AddTool(Scan(line), line);
  Stopped_ = EndSeen_;
  return !Stopped_;
}

void TToolBlockScanner::Fail(const std::string& reason) {
  Block_.Result = kToolBlockReadFailure;
  PrependLog(reason);
  Stopped_ = true;
}

namespace {

// Splits text into lines at CR LF, LF or CR and hands them to `scanner` until it stops.
// `pendingCr` carries a CR that ended the previous piece, whose LF may start this one.
// Returns how many bytes of `text` were used; the rest is an unfinished line.
size_t FeedLines(TToolBlockScanner& scanner, std::string_view text, bool& pendingCr, bool& more) {
  size_t start = 0;
  if (pendingCr && !text.empty() && text[0] == '\n') start = 1;
  pendingCr = false;
  while (more) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) return start;
    more = scanner.AddLine(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r') {
      if (start < text.size()) {
        if (text[start] == '\n') ++start;
      } else {
        pendingCr = true;
      }
    }
  }
  return start;
}

}  // namespace

TToolBlock ParseToolBlock(std::string_view text) {
  TToolBlockScanner scanner;
  bool pendingCr = false;
  bool more = true;
  const size_t used = FeedLines(scanner, text, pendingCr, more);
  if (more && used < text.size()) scanner.AddLine(text.substr(used));
  return scanner.TakeBlock();
}

TToolBlock ParseToolBlockFile(const std::string& path) {
  TToolBlock failed;
  failed.Result = kToolBlockOpenFailure;
  failed.Log = kOpenCloseFailure;
  // Folders, devices and pipes are no drill files; a pipe could keep the reading waiting.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return failed;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return failed;

  TToolBlockScanner scanner;
  std::string pending;  // the unfinished line at the end of the last chunk
  auto chunk = std::make_unique<char[]>(kToolBlockReadChunk);
  bool pendingCr = false;
  bool more = true;
  while (more) {
    const size_t got = std::fread(chunk.get(), 1, kToolBlockReadChunk, f);
    if (got == 0) {
      if (std::ferror(f)) scanner.Fail("Failure while reading line " + std::to_string(scanner.LinesRead() + 1));
      else if (!pending.empty()) scanner.AddLine(pending);
      break;
    }
    pending.append(chunk.get(), got);
    const size_t used = FeedLines(scanner, pending, pendingCr, more);
    pending.erase(0, used);
    // A line this long is not read to its end: the scanner refuses it as soon as it sees it.
    if (more && pending.size() > kMaxToolBlockLine) more = scanner.AddLine(pending);
  }
  TToolBlock block = scanner.TakeBlock();
  if (std::fclose(f) != 0) {
    block.Result = kToolBlockOpenFailure;
    block.Log.insert(0, std::string("\r\n") + kOpenCloseFailure);
  }
  return block;
}

const std::array<const char*, 33> kToolDefinitionHelp = {
    "Format for Gerber tool definition:",
    "M72   ; eigther M72 = diameter as inch-value, M71 diameter as metric value",
    "M48   ; start of tool definition ",
    "T1 F00 S00 C0.024 N\"Bohrer 3 mm\" H1000",
    "T2 F00 S00 C0.028",
    "T3 F00 S00 C0.032",
    "T4 F00 S00 C0.034",
    "T5 F00 S00 C0.035",
    "T6 F00 S00 C0.036",
    "T7 F00 S00 C0.038",
    "T8 F00 S00 C0.040",
    "T9 F00 S00C 0.043",
    "T1 0F00 S00 C0.044",
    "T11 F00 S00 C0.110",
    "T12 F00 S00 C0.125",
    "%",
    "T01",
    "X08001Y0519",
    "X08051",
    " X08101",
    "X08192Y0596",
    " ...",
    "T   tool number",
    "N   name of the tool",
    "C   diameter of the tool",
    "H   height of the tool in mm",
    "S   spindle speed of tool",
    "F    feed",
    "%   end of tool definition",
    ";    comment ",
    "",
    "Comments are allowed, all characters after \";\"-characters are ignored",
    "optional parametes for tool definition",
};
