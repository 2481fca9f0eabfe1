#include <gtest/gtest.h>

#include "geometry/plane_geometry.h"

namespace {

TPoint Pt(double x, double y, double z = 0.0) { return TPoint{x, y, z}; }

TEST(PlaneGeometry, NormalsPointToTheirSide) {
  EXPECT_EQ(LeftNormal(Pt(0, 0), Pt(1, 0)), (TVector{0, 1}));
  EXPECT_EQ(RightNormal(Pt(0, 0), Pt(1, 0)), (TVector{0, -1}));
  EXPECT_EQ(LeftNormal(Pt(0, 0), Pt(0, 4)), (TVector{-1, 0}));
  EXPECT_EQ(RightNormal(Pt(0, 0), Pt(0, 4)), (TVector{1, 0}));
  const TVector n = LeftNormal(Pt(1, 1), Pt(4, 5));
  EXPECT_DOUBLE_EQ(n.X, -0.8);
  EXPECT_DOUBLE_EQ(n.Y, 0.6);
}

TEST(PlaneGeometry, CoincidentPointsGiveZeroVectors) {
  EXPECT_EQ(LeftNormal(Pt(3, 4, 1), Pt(3, 4, 9)), (TVector{0, 0}));
  EXPECT_EQ(RightNormal(Pt(3, 4), Pt(3, 4)), (TVector{0, 0}));
  EXPECT_EQ(UnitVec(TVector{0, 0}), (TVector{0, 0}));
  EXPECT_EQ(VecAngle(TVector{0, 0}), 270.0);
}

TEST(PlaneGeometry, UnitVecAndDistance) {
  EXPECT_EQ(UnitVec(TVector{3, -4}), (TVector{0.6, -0.8}));
  EXPECT_EQ(PointDistance(Pt(1, 2), Pt(4, 6)), 5.0);
  EXPECT_EQ(VecBetween(Pt(1, 2, 7), Pt(4, 6, -3)), (TVector{3, 4}));
}

struct AngleCase {
  TVector V;
  double Angle;
};

TEST(PlaneGeometry, VecAngleCoversTheCircle) {
  const AngleCase cases[] = {{{0, 5}, 90}, {{0, -5}, 270}, {{-1, 0}, 180},  {{1, -1}, 315},   {{1, 0}, 0},
                             {{1, 1}, 45}, {{-1, 1}, 135}, {{-1, -1}, 225}, {{-0.0, -1}, 270}};
  for (const AngleCase& c : cases) EXPECT_DOUBLE_EQ(VecAngle(c.V), c.Angle) << c.V.X << "," << c.V.Y;
}

TEST(PlaneGeometry, AngleBetweenTurnsCounterClockwise) {
  EXPECT_EQ(AngleBetween(TVector{1, 0}, TVector{0, -1}), 270.0);
  EXPECT_EQ(AngleBetween(TVector{0, -1}, TVector{1, 0}), 90.0);
  EXPECT_EQ(AngleBetween(TVector{2, 3}, TVector{2, 3}), 0.0);
  EXPECT_EQ(AngleBetween(TVector{1, 0}, TVector{-1, 0}), 180.0);
  EXPECT_DOUBLE_EQ(AngleBetween(TVector{-1, -1}, TVector{1, 0}), 135.0);
}

TEST(PlaneGeometry, ZIsNeverRead) {
  EXPECT_EQ(LeftNormal(Pt(0, 0, 5), Pt(1, 0, -5)), LeftNormal(Pt(0, 0), Pt(1, 0)));
  EXPECT_EQ(PointDistance(Pt(0, 0, 100), Pt(3, 4, -100)), 5.0);
  TPoint p = Pt(1, 2, 3);
  ZeroPoint(p);
  EXPECT_EQ(p, Pt(0, 0, 0));
}

}  // namespace
