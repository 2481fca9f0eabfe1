// Helpers for the cycle tests: elements of one program line and exact-to-1e-9 comparisons
// of points and moves.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/instance.h"

constexpr double kTol = 1e-9;

inline std::vector<TCncElement> OfLine(const TElementList& list, int32_t line) {
  std::vector<TCncElement> out;
  for (const TCncElement& e : list)
    if (e.Line == line) out.push_back(e);
  return out;
}

inline ::testing::AssertionResult Near(const TPoint& a, const TPoint& b) {
  if (std::abs(a.X - b.X) <= kTol && std::abs(a.Y - b.Y) <= kTol && std::abs(a.Z - b.Z) <= kTol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << a.X << ", " << a.Y << ", " << a.Z << ") is not (" << b.X << ", " << b.Y
                                       << ", " << b.Z << ")";
}

inline void ExpectMove(const TCncElement& e, const char* code, const char* text, const TPoint& p1,
                       const TPoint& p2 = {}) {
  EXPECT_EQ(e.Code.View(), code);
  EXPECT_STREQ(e.Text, text);
  EXPECT_TRUE(Near(e.P1, p1)) << code << " " << text;
  EXPECT_TRUE(Near(e.P2, p2)) << code << " " << text << " centre offset";
}

// A move expected in a cycle's own frame: code, end point, centre offset of an arc.
struct Move {
  const char* Code;
  double X, Y;
  double I = 0, J = 0;
};

// The moves from index `at` on, given relative to (cx, cy), all at height z.
inline void ExpectMoves(const std::vector<TCncElement>& list, size_t at, const std::vector<Move>& moves, double cx,
                        double cy, double z) {
  ASSERT_LE(at + moves.size(), list.size());
  for (size_t k = 0; k < moves.size(); ++k) {
    const Move& m = moves[k];
    const std::string code = m.Code;
    const char* text = code == "G02" ? "Kreisint G02" : code == "G01" ? "Line G01" : "Line G00";
    SCOPED_TRACE("element " + std::to_string(at + k));
    ExpectMove(list[at + k], m.Code, text, {cx + m.X, cy + m.Y, z}, {m.I, m.J, 0});
  }
}

// Every clockwise arc of the list keeps its radius: the end point lies as far from the
// centre (start + P2) as the start point, the start being the previous move's end.
// Returns the number of arcs.
inline int ExpectArcsConsistent(const TElementList& list, const TPoint& start = {}) {
  TPoint from = start;
  int arcs = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    const TCncElement& e = list[i];
    if (!IsMove(e.Code)) continue;
    if (e.Code == TCode("G02")) {
      ++arcs;
      const double cx = from.X + e.P2.X, cy = from.Y + e.P2.Y;
      const double r0 = std::hypot(from.X - cx, from.Y - cy);
      const double r1 = std::hypot(e.P1.X - cx, e.P1.Y - cy);
      EXPECT_NEAR(r0, r1, kTol) << "arc at index " << i << " line " << e.Line;
      EXPECT_EQ(e.P2.Z, 0.0) << "arc at index " << i;
      EXPECT_EQ(e.P1.Z, from.Z) << "arcs keep their height, index " << i;
    }
    from = e.P1;
  }
  return arcs;
}

// Outlines and rings: four edges and four clockwise arcs after the point they start from.
// Returns how many there are; each must end where it started.
inline int CountClosedOutlines(const std::vector<TCncElement>& list) {
  static const char* kPattern[] = {"G01", "G02", "G01", "G02", "G01", "G02", "G01", "G02"};
  int found = 0;
  for (size_t i = 1; i + 8 <= list.size(); ++i) {
    bool match = true;
    for (size_t k = 0; k < 8 && match; ++k) match = list[i + k].Code.View() == kPattern[k];
    if (!match) continue;
    ++found;
    EXPECT_TRUE(Near(list[i + 7].P1, list[i - 1].P1)) << "outline at " << i << " is not closed";
  }
  return found;
}
