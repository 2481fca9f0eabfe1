#include "platform/ini_profile.h"

#include "platform/whole_file.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>

namespace fs = std::filesystem;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Folded(std::string_view s) {
  s = TrimBlanks(s);
  std::string r(s);
  for (char& c : r)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return r;
}

enum class TLineKind { Other, Section, Key };

struct TLineForm {
  TLineKind Kind = TLineKind::Other;
  std::string_view Name;  // section or key name, trimmed
};

TLineForm Classify(std::string_view raw) {
  const std::string_view t = TrimBlanks(raw);
  if (t.empty() || t[0] == ';' || t[0] == '#') return {};
  if (t[0] == '[') {
    const size_t close = t.find(']');
    return {TLineKind::Section, TrimBlanks(t.substr(1, close == std::string_view::npos ? t.npos : close - 1))};
  }
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return {};
  const std::string_view key = TrimBlanks(t.substr(0, eq));
  if (key.empty()) return {};
  return {TLineKind::Key, key};
}

// Where the value of a "key=value" line starts: after the "=" and the blanks behind it.
size_t ValueStart(std::string_view raw) {
  size_t i = raw.find('=');
  if (i == std::string_view::npos) return raw.size();
  ++i;
  while (i < raw.size() && (raw[i] == ' ' || raw[i] == '\t')) ++i;
  return i;
}

std::string OneLine(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (c == '\n' || c == '\r') c = ' ';
  return r;
}

// Strips trailing zeros of the fraction in "12.500" or "1.500e+07".
std::string DropTrailingZeros(std::string s) {
  const size_t e = s.find('e');
  std::string exponent = e == std::string::npos ? "" : s.substr(e);
  std::string mantissa = e == std::string::npos ? s : s.substr(0, e);
  if (mantissa.find('.') != std::string::npos) {
    while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
    if (!mantissa.empty() && mantissa.back() == '.') mantissa.pop_back();
  }
  return mantissa + exponent;
}

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

int32_t IniTextToInt(std::string_view s, int32_t fallback, bool* ok) {
  if (ok) *ok = false;
  s = TrimBlanks(s);
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    const std::string_view digits = s.substr(2);
    uint64_t v = 0;
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v, 16);
    if (ec != std::errc() || ptr != digits.data() + digits.size() || v > 0xFFFFFFFFull) return fallback;
    if (ok) *ok = true;
    return static_cast<int32_t>(static_cast<uint32_t>(v));
  }
  if (s.size() > 1 && s[0] == '+' && s[1] != '-') s.remove_prefix(1);
  int64_t v = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 10);
  if (s.empty() || ec != std::errc() || ptr != s.data() + s.size() || v < std::numeric_limits<int32_t>::min() ||
      v > std::numeric_limits<int32_t>::max())
    return fallback;
  if (ok) *ok = true;
  return static_cast<int32_t>(v);
}

double IniTextToFloat(std::string_view s, double fallback, bool* ok) {
  if (ok) *ok = false;
  s = TrimBlanks(s);
  if (s.size() > 1 && s[0] == '+' && s[1] != '-') s.remove_prefix(1);
  if (s.empty() || s.size() > 400) return fallback;
  std::string t(s);
  for (char& c : t)
    if (c == ',') c = '.';
  // Digits, sign, point and exponent only: no "inf", "nan" or hexadecimal forms.
  const char first = t[0] == '-' && t.size() > 1 ? t[1] : t[0];
  if (!((first >= '0' && first <= '9') || first == '.')) return fallback;
  double v = 0.0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
  if (ec != std::errc() || ptr != t.data() + t.size() || !std::isfinite(v)) return fallback;
  if (ok) *ok = true;
  return v;
}

std::string IniFloatToText(double v) {
  char buf[64];
  if (!std::isfinite(v)) {
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, ec == std::errc() ? end : buf);
  }
  // Fewest significant digits (at most 15) that read back as v.
  std::string sci;
  for (int digits = 1; digits <= 15; ++digits) {
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, digits - 1);
    sci.assign(buf, end);
    double back = 0.0;
    std::from_chars(buf, end, back);
    if (back == v) break;
  }
  const size_t e = sci.find('e');
  const int exponent = std::atoi(sci.c_str() + e + 1);
  const size_t point = sci.find('.');
  const int digits = point == std::string::npos ? 1 : static_cast<int>(e - point);  // leading digit + fraction
  if (exponent < -5 || exponent >= 15) return DropTrailingZeros(sci);
  const int decimals = std::max(0, digits - 1 - exponent);
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return DropTrailingZeros(std::string(buf, end));
}

// ---- document ---------------------------------------------------------------------------

TIniResult TIniFile::Load(const std::string& path) {
  std::error_code ec;
  if (fs::status(path, ec).type() == fs::file_type::not_found) {
    Parse("");
    return {};
  }
  std::string text;
  const TFileResult r = ReadWholeFile(path, kMaxFileSize, text);
  if (!r.Ok) return r;
  Parse(text);
  return {};
}

namespace {
bool IsBlankText(std::string_view s) { return s.find_first_not_of(" \t\r\n") == std::string_view::npos; }
size_t LineEndLength(std::string_view s) {
  if (s.size() >= 2 && s.substr(s.size() - 2) == "\r\n") return 2;
  return !s.empty() && (s.back() == '\n' || s.back() == '\r') ? 1 : 0;
}
}  // namespace

void TIniFile::AddPlainLine(TSection& s, std::string_view raw, std::string_view end) {
  if (s.Lines.empty() || !s.Lines.back().Plain) s.Lines.push_back(TLine{"", "", true, 0});
  TLine& run = s.Lines.back();
  if (!run.Raw.empty() || !run.End.empty()) {
    run.Raw += run.End;
    run.Raw += raw;
  } else {
    run.Raw.assign(raw);
  }
  run.End.assign(end);
  if (!IsBlankText(raw)) run.Head = run.Raw.size() + run.End.size();
}

void TIniFile::Parse(std::string_view text) {
  Sections_.assign(1, TSection{});
  Index_.clear();
  NewLine_ = "\n";
  bool endSeen = false;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t br = text.find_first_of("\r\n", pos);
    std::string_view raw = text.substr(pos, br == std::string_view::npos ? text.npos : br - pos);
    std::string_view end;
    if (br == std::string_view::npos) {
      pos = text.size();
    } else {
      end = text.substr(br, text[br] == '\r' && br + 1 < text.size() && text[br + 1] == '\n' ? 2 : 1);
      if (!endSeen) NewLine_.assign(end);
      endSeen = true;
      pos = br + end.size();
    }
    std::string_view form = raw;
    // A byte order mark in front of the first line is no part of its text.
    if (Sections_.size() == 1 && Sections_[0].Lines.empty() && form.substr(0, 3) == "\xEF\xBB\xBF")
      form.remove_prefix(3);
    const TLineForm f = Classify(form);
    if (f.Kind == TLineKind::Section) {
      TSection s;
      s.Name = Folded(f.Name);
      s.Header.assign(raw);
      s.HeaderEnd.assign(end);
      Index_[s.Name].Sections.push_back(Sections_.size());
      Sections_.push_back(std::move(s));
      continue;
    }
    TSection& cur = Sections_.back();
    // Only the first occurrence of a key is read or written; later ones are plain text.
    if (f.Kind == TLineKind::Key && Sections_.size() > 1 &&
        Index_[cur.Name].Keys.try_emplace(Folded(f.Name), TKeyPlace{Sections_.size() - 1, cur.Lines.size()}).second) {
      cur.Lines.push_back(TLine{std::string(raw), std::string(end), false, 0});
      continue;
    }
    AddPlainLine(cur, raw, end);
  }
}

bool TIniFile::EndsBlank(const TLine& line) {
  return line.Plain ? line.Head < line.Raw.size() + line.End.size() : TrimBlanks(line.Raw).empty();
}

// Splits a run into its lines up to the last non-blank one and the blank lines after it.
void TIniFile::SplitBlankTail(std::vector<TLine>& lines, size_t i) {
  const std::string whole = lines[i].Raw + lines[i].End;
  const size_t head = lines[i].Head;
  const auto cut = [](std::string text, bool blank) {
    const size_t e = LineEndLength(text);
    TLine t{text.substr(0, text.size() - e), text.substr(text.size() - e), true, 0};
    if (!blank) t.Head = text.size();
    return t;
  };
  lines[i] = cut(whole.substr(0, head), false);
  lines.insert(lines.begin() + static_cast<ptrdiff_t>(i) + 1, cut(whole.substr(head), true));
}

std::string TIniFile::Text() const {
  std::string out;
  for (size_t i = 0; i < Sections_.size(); ++i) {
    const TSection& s = Sections_[i];
    if (i > 0) {
      out += s.Header;
      out += s.HeaderEnd;
    }
    for (const TLine& l : s.Lines) {
      out += l.Raw;
      out += l.End;
    }
  }
  return out;
}

TIniResult TIniFile::Save(const std::string& path) const { return ReplaceWholeFile(path, Text()); }

// ---- reading ----------------------------------------------------------------------------

const TIniFile::TKeyPlace* TIniFile::Find(std::string_view section, std::string_view key) const {
  auto s = Index_.find(Folded(section));
  if (s == Index_.end()) return nullptr;
  auto k = s->second.Keys.find(Folded(key));
  return k == s->second.Keys.end() ? nullptr : &k->second;
}

std::string_view TIniFile::ValueAt(const TKeyPlace& place) const {
  const std::string& raw = Sections_[place.Section].Lines[place.Line].Raw;
  return TrimBlanks(std::string_view(raw).substr(raw.find('=') + 1));
}

bool TIniFile::SectionExists(std::string_view section) const {
  auto s = Index_.find(Folded(section));
  return s != Index_.end() && !s->second.Sections.empty();
}

bool TIniFile::KeyExists(std::string_view section, std::string_view key) const { return Find(section, key) != nullptr; }

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
  const TKeyPlace* p = Find(section, key);
  return std::string(p ? ValueAt(*p) : fallback);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
  const TKeyPlace* p = Find(section, key);
  return p ? IniTextToInt(ValueAt(*p), fallback) : fallback;
}

double TIniFile::ReadFloat(std::string_view section, std::string_view key, double fallback) const {
  const TKeyPlace* p = Find(section, key);
  return p ? IniTextToFloat(ValueAt(*p), fallback) : fallback;
}

// ---- writing ----------------------------------------------------------------------------

std::string_view TIniFile::NewLineEnd() const { return NewLine_; }

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string clean = OneLine(value);
  if (const TKeyPlace* p = Find(section, key)) {
    std::string& raw = Sections_[p->Section].Lines[p->Line].Raw;
    const size_t start = ValueStart(raw);
    if (TrimBlanks(std::string_view(raw).substr(start)) != clean) raw = raw.substr(0, start) + clean;
    return;
  }
  const std::string sectionName = OneLine(TrimBlanks(section));
  const std::string keyName = OneLine(TrimBlanks(key));
  TSectionIndex& index = Index_[Folded(sectionName)];
  if (index.Sections.empty()) {
    // A new section at the end of the file, after a blank line when there is text before it.
    TSection& last = Sections_.back();
    const bool empty = Sections_.size() == 1 && last.Lines.empty();
    std::string* lastEnd = last.Lines.empty() ? &last.HeaderEnd : &last.Lines.back().End;
    const bool lastBlank = last.Lines.empty() ? Sections_.size() == 1 : EndsBlank(last.Lines.back());
    if (!empty && lastEnd->empty()) *lastEnd = NewLineEnd();
    if (!empty && !lastBlank) AddPlainLine(last, "", NewLineEnd());
    TSection s;
    s.Header = "[" + sectionName + "]";
    s.HeaderEnd = NewLineEnd();
    s.Name = Folded(sectionName);
    index.Sections.push_back(Sections_.size());
    Sections_.push_back(std::move(s));
  }
  const size_t at = index.Sections.front();
  TSection& s = Sections_[at];
  // After the last non-blank line, so blank lines before the next section stay there.
  size_t pos = s.Lines.size();
  while (pos > 0 && EndsBlank(s.Lines[pos - 1]) && (!s.Lines[pos - 1].Plain || s.Lines[pos - 1].Head == 0)) --pos;
  if (pos > 0 && s.Lines[pos - 1].Plain && EndsBlank(s.Lines[pos - 1])) SplitBlankTail(s.Lines, pos - 1);
  std::string& before = pos == 0 ? s.HeaderEnd : s.Lines[pos - 1].End;
  if (before.empty()) before = NewLineEnd();
  s.Lines.insert(s.Lines.begin() + static_cast<ptrdiff_t>(pos),
                 TLine{keyName + "=" + clean, std::string(NewLineEnd()), false, 0});
  // Only blank lines followed the insertion point, so no indexed key moved.
  index.Keys.try_emplace(Folded(keyName), TKeyPlace{at, pos});
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
  WriteString(section, key, IniFloatToText(value));
}
