#include <gtest/gtest.h>

#include <cmath>

#include "geometry/intersections.h"

namespace {

TPoint Pt(double x, double y) { return TPoint{x, y, 0.0}; }

void ExpectPoint(const TPoint& p, double x, double y) {
  EXPECT_NEAR(p.X, x, 1e-12);
  EXPECT_NEAR(p.Y, y, 1e-12);
}

TEST(LineLineIntersect, CrossingLines) {
  const TLineLineResult r = LineLineIntersect(Pt(0, 1), TVector{1, 0}, Pt(9, 5), TVector{0, 1});
  EXPECT_FALSE(r.Parallel);
  ExpectPoint(r.Point, 9, 1);
  const TLineLineResult s = LineLineIntersect(Pt(0, 0), TVector{1, 1}, Pt(4, 0), TVector{-1, 1});
  ExpectPoint(s.Point, 2, 2);
}

TEST(LineLineIntersect, ParallelLinesAreReportedNotDivided) {
  EXPECT_TRUE(LineLineIntersect(Pt(0, 0), TVector{1, 0}, Pt(0, 5), TVector{-3, 0}).Parallel);
  EXPECT_TRUE(LineLineIntersect(Pt(0, 0), TVector{2, 2}, Pt(1, 0), TVector{1, 1}).Parallel);
  EXPECT_TRUE(LineLineIntersect(Pt(0, 0), TVector{0, 0}, Pt(1, 0), TVector{1, 1}).Parallel);
}

struct LineCircleCase {
  const char* Name;
  TPoint Q1, Q2;
  int32_t Code;
  TPoint S1, S2;
};

TEST(LineCircleIntersect, TheCasesOfTheCircleOfRadiusFive) {
  const LineCircleCase cases[] = {
      {"vertical x=3", Pt(3, -10), Pt(3, 10), kTwoPoints, Pt(3, 4), Pt(3, -4)},
      {"vertical tangent", Pt(5, -10), Pt(5, 10), kOnePoint, Pt(5, 0), Pt(5, 0)},
      {"vertical miss", Pt(6, -10), Pt(6, 10), kNoIntersection, Pt(0, 0), Pt(0, 0)},
      {"horizontal tangent", Pt(-7, 5), Pt(7, 5), kOnePoint, Pt(0, 5), Pt(0, 5)},
      {"horizontal miss", Pt(-7, 6), Pt(7, 6), kNoIntersection, Pt(0, 0), Pt(0, 0)},
      {"horizontal y=3", Pt(10, 3), Pt(20, 3), kTwoPoints, Pt(-4, 3), Pt(4, 3)},
      {"sloped miss", Pt(10, 0), Pt(0, 10), kLineMisses, Pt(5, 5), Pt(5, 5)},
      {"sloped through", Pt(-10, -10), Pt(10, 10), kTwoPoints, Pt(5 / std::sqrt(2.0), 5 / std::sqrt(2.0)),
       Pt(-5 / std::sqrt(2.0), -5 / std::sqrt(2.0))},
  };
  for (const LineCircleCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TLineCircleResult r = LineCircleIntersect(Pt(0, 0), 5, c.Q1, c.Q2);
    EXPECT_EQ(r.Code, c.Code);
    ExpectPoint(r.S1, c.S1.X, c.S1.Y);
    ExpectPoint(r.S2, c.S2.X, c.S2.Y);
  }
}

TEST(LineCircleIntersect, ShiftedCentre) {
  const TLineCircleResult r = LineCircleIntersect(Pt(10, 20), 5, Pt(13, 0), Pt(13, 1));
  EXPECT_EQ(r.Code, kTwoPoints);
  ExpectPoint(r.S1, 13, 24);
  ExpectPoint(r.S2, 13, 16);
}

TEST(LineCircleIntersect, WideFormFindsAnAxisTangentThatDoubleMisses) {
  // An offset edge one unit above y = 31.925 against a circle about y = 43.175 of radius
  // 11.25 - 1: the two touch. Built in double, the pieces miss by a hair.
  const double y0 = 31.925;
  const double centreY = y0 + 11.25;
  const double r = (centreY - y0) - 1.0;
  const TLineCircleResult narrow = LineCircleIntersect(Pt(76.4, centreY), r, Pt(60, y0 + 1.0), Pt(70, y0 + 1.0));
  EXPECT_EQ(narrow.Code, kNoIntersection);
  const long double wideR = (static_cast<long double>(centreY) - y0) - 1.0L;
  const TWideLineCircleResult wide = LineCircleIntersect(TWidePoint{76.4, centreY}, wideR, TWidePoint{60, y0 + 1.0L},
                                                         TWidePoint{70, y0 + 1.0L});
  EXPECT_EQ(wide.Code, kOnePoint);
  EXPECT_EQ(static_cast<double>(wide.S1.X), 76.4);
}

TEST(CircleCircleIntersect, TwoPointsWithChord) {
  const TCircleCircleResult r = CircleCircleIntersect(Pt(0, 0), Pt(8, 0), 5, 5);
  EXPECT_EQ(r.Code, kTwoPoints);
  EXPECT_DOUBLE_EQ(r.A, 4);
  EXPECT_DOUBLE_EQ(r.H, 3);
  ExpectPoint(r.S1, 4, 3);  // left of the direction of the centres
  ExpectPoint(r.S2, 4, -3);
}

TEST(CircleCircleIntersect, TouchingMissingAndConcentric) {
  const TCircleCircleResult outside = CircleCircleIntersect(Pt(0, 0), Pt(10, 0), 5, 5);
  EXPECT_EQ(outside.Code, kOnePoint);
  ExpectPoint(outside.S1, 5, 0);
  const TCircleCircleResult inside = CircleCircleIntersect(Pt(0, 0), Pt(0, 3), 5, 2);
  EXPECT_EQ(inside.Code, kOnePoint);
  ExpectPoint(inside.S1, 0, 5);
  EXPECT_EQ(CircleCircleIntersect(Pt(0, 0), Pt(11, 0), 5, 5).Code, kNoIntersection);
  EXPECT_EQ(CircleCircleIntersect(Pt(0, 0), Pt(1, 0), 5, 2).Code, kNoIntersection);
  EXPECT_EQ(CircleCircleIntersect(Pt(1, 1), Pt(1, 1), 5, 2).Code, kConcentric);
  EXPECT_EQ(CircleCircleIntersect(Pt(1, 1), Pt(1.000005, 1.000005), 5, 2).Code, kConcentric);
  EXPECT_EQ(CircleCircleIntersect(Pt(0, 0), Pt(3, 0), 0, 3).Code, kOnePoint);  // r1 = 0 on circle 2
}

TEST(CircleCircleIntersect, NearlyTouchingCirclesNeverGiveNaN) {
  // d within rounding of r1 + r2: whatever the code, the points are numbers.
  for (int i = 0; i < 1000; ++i) {
    const double r1 = 0.1 + i * 0.0137;
    const double r2 = 3.3 - i * 0.0011;
    const TCircleCircleResult r = CircleCircleIntersect(Pt(0.3, 0.7), Pt(0.3 + r1 + r2, 0.7), r1, r2);
    EXPECT_FALSE(std::isnan(r.S1.X) || std::isnan(r.S1.Y) || std::isnan(r.H)) << i;
  }
}

}  // namespace
