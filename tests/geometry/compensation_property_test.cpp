// Closed polygons of every shape, milled on both sides in both directions: the path must be
// the polygon's offset, corner by corner.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "geometry/plane_geometry.h"
#include "tests/support/run_program.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

using TPolygon = std::vector<TPoint>;

// Points on a circle at jittered angles: every corner turns the same way by 25..160 degrees.
TPolygon ConvexPolygon(std::mt19937& rng) {
  std::uniform_int_distribution<int> count(3, 10);
  std::uniform_real_distribution<double> jitter(-0.3, 0.3), radius(20, 100), centre(-50, 50);
  const int n = count(rng);
  std::vector<double> gaps(n);
  double sum = 0;
  for (double& g : gaps) sum += (g = 1 + jitter(rng));
  const double rc = radius(rng), cx = centre(rng), cy = centre(rng);
  TPolygon p;
  double a = 0;
  for (int i = 0; i < n; ++i) {
    p.push_back(TPoint{cx + rc * std::cos(a), cy + rc * std::sin(a), 0});
    a += 2 * kPi * gaps[i] / sum;
  }
  return p;
}

// A star: corners alternate between two radii, so every other corner turns the other way.
TPolygon ConcavePolygon(std::mt19937& rng) {
  std::uniform_int_distribution<int> points(3, 7);
  std::uniform_real_distribution<double> inner(0.3, 0.7), jitter(-0.15, 0.15), radius(30, 100);
  const int n = 2 * points(rng);
  const double rc = radius(rng), k = inner(rng);
  TPolygon p;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * kPi * (i + jitter(rng)) / n;
    const double r = i % 2 == 0 ? rc : rc * k;
    p.push_back(TPoint{r * std::cos(a), r * std::sin(a), 0});
  }
  return p;
}

double Cross(const TVector& a, const TVector& b) { return a.X * b.Y - a.Y * b.X; }

// Signed distance of p to the left of the line a->b.
double LeftOf(const TPoint& a, const TPoint& b, const TPoint& p) {
  const TVector n = LeftNormal(a, b);
  return (p.X - a.X) * n.X + (p.Y - a.Y) * n.Y;
}

// Turns of at least 10 degrees and edges long enough for the tool; otherwise the polygon
// is not drawn from.
bool Usable(const TPolygon& p, double R) {
  const size_t n = p.size();
  for (size_t i = 0; i < n; ++i) {
    const TPoint &a = p[i], &b = p[(i + 1) % n], &c = p[(i + 2) % n];
    if (PointDistance(a, b) < 8 * R) return false;
    const double turn = AngleBetween(VecBetween(a, b), VecBetween(b, c));
    if (turn < 10 || turn > 350 || std::fabs(turn - 180) < 10) return false;
  }
  return true;
}

std::string Number(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

// G00 to the first corner, the side, then once round and on along the first edge again,
// so that every corner is joined. Move k runs from corner k-1 to corner k (mod n).
std::string Program(const TPolygon& p, int side) {
  std::string s = "T1\nG00 X" + Number(p[0].X) + " Y" + Number(p[0].Y) + "\nG" + std::to_string(side) + "\n";
  for (size_t k = 1; k <= p.size() + 1; ++k) {
    const TPoint& v = p[k % p.size()];
    s += "N" + std::to_string(k) + " G01 X" + Number(v.X) + " Y" + Number(v.Y) + "\n";
  }
  return s;
}

void CheckOffsetPath(const TPolygon& p, int side, double R) {
  SCOPED_TRACE("side " + std::to_string(side) + ", R " + Number(R) + ", " + std::to_string(p.size()) + " corners");
  const TProgramRunResult run = RunProgramText(Program(p, side), R);
  ASSERT_EQ(run.Result, 0);
  const size_t n = p.size();
  const double sign = side == 41 ? 1.0 : -1.0;
  const double tol = 1e-9;
  TPoint cur{};
  size_t lines = 0, arcs = 0;
  for (const TCncElement& e : run.Path()) {
    const std::string code(e.Code.View());
    if (code == "G00") {
      cur = e.P1;
      continue;
    }
    if (code != "G01" && code != "G02" && code != "G03") continue;
    ASSERT_GE(e.Line, 1);
    const size_t k = static_cast<size_t>(e.Line);
    const TPoint &a = p[(k - 1) % n], &b = p[k % n];
    if (code == "G01") {
      ++lines;
      EXPECT_NEAR(LeftOf(a, b, e.P1), sign * R, tol) << "end of move " << k;
      if (k > 1) {
        EXPECT_NEAR(LeftOf(a, b, cur), sign * R, tol) << "start of move " << k;
      }
    } else {
      ++arcs;
      EXPECT_EQ(code, side == 41 ? "G02" : "G03");
      const TPoint centre{cur.X + e.P2.X, cur.Y + e.P2.Y, 0};
      EXPECT_NEAR(PointDistance(centre, b), 0, tol) << "rounding arc of corner " << k;
      EXPECT_NEAR(PointDistance(cur, centre), R, tol);
      EXPECT_NEAR(PointDistance(e.P1, centre), R, tol);
    }
    cur = e.P1;
  }
  EXPECT_EQ(lines, n + 1);
  // A rounding arc exactly at the corners that turn away from the tool.
  size_t outer = 0;
  for (size_t k = 1; k <= n; ++k) {
    const double turn = Cross(VecBetween(p[k - 1], p[k % n]), VecBetween(p[k % n], p[(k + 1) % n]));
    if (sign * turn < 0) ++outer;
  }
  EXPECT_EQ(arcs, outer);
}

TEST(CompensationProperty, GeneratedPolygonsAreOffsetCornerByCorner) {
  std::mt19937 rng(20261207);
  const double radii[] = {0.25, 0.5, 1.0, 2.0};
  int checked = 0;
  for (int i = 0; i < 400; ++i) {
    TPolygon p = i % 2 == 0 ? ConvexPolygon(rng) : ConcavePolygon(rng);
    const double R = radii[i % 4];
    if (!Usable(p, R)) continue;
    for (int dir = 0; dir < 2; ++dir) {
      for (int side : {41, 42}) CheckOffsetPath(p, side, R);
      TPolygon reversed(p.rbegin(), p.rend());
      p = reversed;
    }
    if (HasFailure()) return;
    ++checked;
  }
  EXPECT_GT(checked, 200);
}

}  // namespace
