// Program records: points, element codes, motion elements and element lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TPoint {
  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

inline void ZeroPoint(TPoint& p) { p = TPoint{}; }

// A command code of at most three characters ("G01", "F0X", "T"), stored inline.
struct TCode {
  char Chars[4] = {0, 0, 0, 0};

  constexpr TCode() = default;
  constexpr explicit TCode(std::string_view s) {
    for (size_t i = 0; i < 3 && i < s.size(); ++i) Chars[i] = s[i];
  }
  // Literal codes ("G01") convert implicitly; longer texts are cut to three characters.
  constexpr TCode(const char* s) {  // NOLINT(google-explicit-constructor)
    for (size_t i = 0; i < 3 && s[i] != 0; ++i) Chars[i] = s[i];
  }
  std::string_view View() const { return std::string_view(Chars); }
  friend bool operator==(const TCode& a, const TCode& b) {
    return a.Chars[0] == b.Chars[0] && a.Chars[1] == b.Chars[1] && a.Chars[2] == b.Chars[2];
  }
};

// Interface code number: first character * 256 + the decimal value of the rest
// (0 when the rest is not an unsigned decimal number or exceeds 255).
int32_t CodeNumber(const TCode& code);
// "G" and 1 give "G01": the number is written with at least two digits.
TCode CodeFromNumber(char letter, int number);

// One motion or switching element. Texts are short and mostly literals, so the element
// refers to its text instead of carrying 50 bytes of it; dynamic texts live in the
// owning instance's text pool. ToolNo, Speed and FeedValue never occur together
// ("T", "S0X", "F0X"), so they share one field.
struct TCncElement {
  int32_t Line = 0;
  TCode Code;
  TPoint P1;
  TPoint P2;
  int32_t Value = 0;
  const char* Text = "";

  int32_t ToolNo() const { return Code.Chars[0] == 'T' ? Value : 0; }
  int32_t Speed() const { return Code.Chars[0] == 'S' ? Value : 0; }
  int32_t FeedValue() const { return Code.Chars[0] == 'F' ? Value : 0; }
};

// The constructors of the element kinds. `text` must outlive the element: a literal
// or a text interned in the instance's pool.
inline TCncElement MakeElement(int32_t line, const char* text, TCode code) {
  TCncElement e;
  e.Line = line;
  e.Code = code;
  e.Text = text;
  return e;
}
inline TCncElement MakeElement(int32_t line, const char* text, TCode code, const TPoint& p1) {
  TCncElement e = MakeElement(line, text, code);
  e.P1 = p1;
  return e;
}
inline TCncElement MakeElement(int32_t line, const char* text, TCode code, const TPoint& p1,
                               double height) {
  TCncElement e = MakeElement(line, text, code, p1);
  e.P1.Z = height;
  return e;
}
inline TCncElement MakeElement(int32_t line, const char* text, TCode code, const TPoint& p1,
                               const TPoint& p2) {
  TCncElement e = MakeElement(line, text, code, p1);
  e.P2 = p2;
  return e;
}
// Two plane points at one height.
inline TCncElement MakeElementAtHeight(int32_t line, const char* text, TCode code,
                                       const TPoint& p1, const TPoint& p2, double height) {
  return MakeElement(line, text, code, TPoint{p1.X, p1.Y, height}, TPoint{p2.X, p2.Y, height});
}
inline TCncElement MakeValueElement(int32_t line, const char* text, TCode code, int32_t value) {
  TCncElement e = MakeElement(line, text, code);
  e.Value = value;
  return e;
}

using TElementList = std::vector<TCncElement>;
using TMessageList = std::vector<std::string>;

// Tool table entry of the application (255 of them, tool numbers 0..254).
struct ToolParam {
  double Diameter = 0.0;
  double Height = 0.0;
  std::string Name;
  int32_t Speed = 0;
  int32_t Feed = 0;
};

constexpr bool IsMove(const TCode& c) {
  return c.Chars[0] == 'G' && c.Chars[1] == '0' && c.Chars[2] >= '0' && c.Chars[2] <= '3';
}
