// Program records: points, element codes, motion elements and element lists.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
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
  // The fourth byte is always 0, so the codes compare as one 32-bit word.
  friend bool operator==(const TCode& a, const TCode& b) {
    uint32_t x = 0;
    uint32_t y = 0;
    std::memcpy(&x, a.Chars, sizeof x);
    std::memcpy(&y, b.Chars, sizeof y);
    return x == y;
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
  int32_t Line = 0;  // the N number of the program line, 0 without one
  TCode Code;
  TPoint P1;
  TPoint P2;
  int32_t Value = 0;
  int32_t FileLine = 0;  // the line of the file it came from, counted from 1; fills padding
  const char* Text = "";

  int32_t ToolNo() const { return Code.Chars[0] == 'T' ? Value : 0; }
  int32_t Speed() const { return Code.Chars[0] == 'S' ? Value : 0; }
  int32_t FeedValue() const { return Code.Chars[0] == 'F' ? Value : 0; }
};
static_assert(sizeof(TCncElement) == 72, "the file line costs an element no memory");

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
inline TCncElement MakeElement(int32_t line, const char* text, TCode code, const TPoint& p1, double height) {
  TCncElement e = MakeElement(line, text, code, p1);
  e.P1.Z = height;
  return e;
}
inline TCncElement MakeElement(int32_t line, const char* text, TCode code, const TPoint& p1, const TPoint& p2) {
  TCncElement e = MakeElement(line, text, code, p1);
  e.P2 = p2;
  return e;
}
// Two plane points at one height.
inline TCncElement MakeElementAtHeight(int32_t line, const char* text, TCode code, const TPoint& p1, const TPoint& p2,
                                       double height) {
  return MakeElement(line, text, code, TPoint{p1.X, p1.Y, height}, TPoint{p2.X, p2.Y, height});
}
inline TCncElement MakeValueElement(int32_t line, const char* text, TCode code, int32_t value) {
  TCncElement e = MakeElement(line, text, code);
  e.Value = value;
  return e;
}

// Elements one run may make over all its lists: beyond it the run stops instead of
// filling memory (72 bytes an element: 25 million are 1.8 GB).
constexpr uint64_t kDefaultElementLimit = 25'000'000;

// The elements a run may still make, shared by the lists of one instance.
struct TElementBudget {
  uint64_t Limit = kDefaultElementLimit;
  uint64_t Used = 0;
};

// Thrown by a list whose budget is spent; the run catches it and stops cleanly.
struct TElementBudgetSpent {};

// An element list that counts what it makes against its instance's budget. Copies and
// moves carry the elements, never the budget.
class TElementList : public std::vector<TCncElement> {
  using Base = std::vector<TCncElement>;

 public:
  using Base::Base;
  TElementList() = default;
  TElementList(const TElementList& o) : Base(o) {}
  TElementList(TElementList&& o) noexcept : Base(std::move(o)) {}
  TElementList& operator=(const TElementList& o) {
    Base::operator=(o);
    return *this;
  }
  TElementList& operator=(TElementList&& o) noexcept {
    Base::operator=(std::move(o));
    return *this;
  }

  // The element comes from file line `FileLine`, whatever line its maker named.
  void push_back(const TCncElement& e) {
    Spend(1);
    Base::push_back(e);
    back().FileLine = FileLine;
  }
  // Appends [first, last) of another list, with the lines they came from.
  void Append(Base::const_iterator first, Base::const_iterator last) {
    Spend(static_cast<uint64_t>(last - first));
    // Most lines make one element: a plain copy, not a range insert.
    if (last - first == 1) Base::push_back(*first);
    else Base::insert(end(), first, last);
  }
  // Counts `count` new elements against the budget and makes room for them.
  void Spend(uint64_t count) {
    if (!Budget) return;
    if (count > Budget->Limit - Budget->Used) {
      Budget->Used = Budget->Limit;
      throw TElementBudgetSpent{};
    }
    Budget->Used += count;
    if (count > capacity() - size()) {
      const uint64_t reach = Budget->Limit - (Budget->Used - count - size());  // the most this list can hold
      Grow(size() + count, reach);
    }
  }

  TElementBudget* Budget = nullptr;
  // The file line (from 1) the elements made now come from: whoever works through the
  // program sets it as it goes, so that no maker of elements needs to know it.
  int32_t FileLine = 0;

 private:
  // Doubling, except that a list which could outgrow a quarter of what it may still reach
  // takes all of it at once: growing copies the old elements, and a late copy of a list
  // near the budget would briefly hold it twice. (What is reserved and not made costs
  // address space only.) A quarter, not a half: the other lists grow meanwhile.
  void Grow(uint64_t needed, uint64_t reach) {
    uint64_t room = needed > 2 * capacity() ? needed : 2 * capacity();
    if (4 * room > reach) room = reach > needed ? reach : needed;
    reserve(room);
  }
};

// A run's messages: the first kMaxKept are kept, later ones only counted, so that a
// program of a million failing lines cannot fill memory with its messages.
class TMessageList : public std::vector<std::string> {
  using Base = std::vector<std::string>;

 public:
  static constexpr size_t kMaxKept = 100'000;
  using Base::Base;

  void push_back(std::string text) {
    if (size() >= kMaxKept) {
      ++LeftOut;
      return;
    }
    Base::push_back(std::move(text));
    Lines.push_back(CurrentFileLine);
  }
  void clear() {
    Base::clear();
    Lines.clear();
  }
  // Adds the one message that says how many were left out, if any were.
  void CloseCount() {
    if (LeftOut == 0) return;
    Base::push_back("Warning: " + std::to_string(LeftOut) + " more messages were left out; only the first " +
                    std::to_string(kMaxKept) + " are listed");
    Lines.push_back(0);
    LeftOut = 0;
  }
  // The file line message `index` is about; 0 for a message tied to no line.
  int32_t FileLineOf(size_t index) const { return index < Lines.size() ? Lines[index] : 0; }

  uint64_t LeftOut = 0;
  // The file line the messages added now are about (counted from 1), 0 for none: whoever
  // works through the program sets it as it goes.
  int32_t CurrentFileLine = 0;

 private:
  std::vector<int32_t> Lines;  // beside each message
};

// Tool table entry of the application (255 of them, tool numbers 0..254).
struct ToolParam {
  double Diameter = 0.0;
  double Height = 0.0;
  std::string Name;
  int32_t Speed = 0;
  int32_t Feed = 0;
};

constexpr int kToolCount = 255;
using TToolTable = std::array<ToolParam, kToolCount>;

constexpr bool IsMove(const TCode& c) {
  return c.Chars[0] == 'G' && c.Chars[1] == '0' && c.Chars[2] >= '0' && c.Chars[2] <= '3';
}
