#include "display/pick_index.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <random>

#include "display/draw_elements.h"
#include "display/sim_view.h"
#include "engine_program.h"

namespace {

TPickElement Line(TPoint a, TPoint b, int32_t line) {
  TPickElement e;
  e.Start = a;
  e.End = b;
  e.Line = line;
  std::copy_n("G01", 4, e.Code);
  return e;
}

TPickElement Arc(TPoint a, TPoint b, TPoint c, TPickShape shape, int32_t line) {
  TPickElement e = Line(a, b, line);
  e.Centre = c;
  e.Shape = shape;
  return e;
}

constexpr double kPixels = 5.0;
constexpr double kScale = 2.0;  // pixels per mm
constexpr double kWithin = kPixels / kScale;

struct TPickCase {
  const char* Name;
  double X, Y;
  int32_t Line;  // 0: nothing picked
};

// Two overlapping lines, a quarter arc (CCW, centre 50,0, radius 10, from 60,0 to 50,10) and a
// CW half circle far away.
TPickIndex Sample() {
  TPickIndex index;
  index.Add(Line({0, 0, 0}, {20, 0, 0}, 10));
  index.Add(Line({0, 1, 0}, {20, 1, 0}, 20));
  index.Add(Arc({60, 0, 0}, {50, 10, 0}, {50, 0, 0}, TPickShape::ArcCCW, 30));
  index.Add(Arc({110, 0, 0}, {90, 0, 0}, {100, 0, 0}, TPickShape::ArcCW, 40));
  index.Build();
  return index;
}

TEST(PickIndex, PicksTheNearestElementWithinFivePixels) {
  const TPickCase cases[] = {
      {"nearer the lower of two overlapping lines", 10, 0.3, 10},
      {"nearer the upper of two overlapping lines", 10, 0.7, 20},
      {"on the arc's curve", 50 + 10 * std::cos(0.7), 10 * std::sin(0.7), 30},
      {"at the arc's centre", 50, 0, 0},
      {"beside the arc's range, near no end", 50, -10, 0},
      {"just inside five pixels of the line end", 20 + kWithin - 0.01, 0, 10},
      {"just outside five pixels of the line end", 20 + kWithin + 0.01, 0, 0},
      {"just inside five pixels of the arc", 50, 10 + kWithin - 0.01, 30},
      {"just outside five pixels of the arc", 50, 10 + kWithin + 0.01, 0},
      {"a clockwise arc from right to left runs below its centre", 100, -10, 40},
      {"not above it", 100, 10, 0},
      {"far from everything", 300, 300, 0},
  };
  TPickIndex index = Sample();
  for (const auto& c : cases) {
    const auto hit = index.Nearest(c.X, c.Y, kWithin);
    if (c.Line == 0) {
      EXPECT_FALSE(hit) << c.Name;
    } else {
      ASSERT_TRUE(hit) << c.Name;
      EXPECT_EQ(index[hit->Index].Line, c.Line) << c.Name;
    }
  }
}

TEST(PickIndex, FullCircleAndEmptyIndex) {
  TPickIndex index;
  EXPECT_FALSE(index.Nearest(0, 0, 1));
  index.Add(Arc({10, 0, 0}, {10, 0, 0}, {0, 0, 0}, TPickShape::ArcCW, 5));
  index.Build();
  EXPECT_TRUE(index.Nearest(-10, 0, 0.5));
  EXPECT_TRUE(index.Nearest(0, -10, 0.5));
  EXPECT_FALSE(index.Nearest(0, 0, 0.5));
  EXPECT_FALSE(index.Nearest(std::nan(""), 0, 0.5));
  EXPECT_TRUE(index.Nearest(1e300, -1e300, INFINITY));  // far off the grid, still defined
}

// Opening a program does not wait for the grid: the first pick builds it, and elements
// added later are found too.
TEST(PickIndex, TheFirstPickBuildsTheGrid) {
  TPickIndex index;
  index.Add(Arc({10, 0, 0}, {10, 0, 0}, {0, 0, 0}, TPickShape::ArcCW, 5));
  EXPECT_EQ(index.ItemCount(), 0u);
  ASSERT_TRUE(index.Nearest(-10, 0, 0.5));
  EXPECT_GT(index.ItemCount(), 0u);
  index.Add(Arc({40, 0, 0}, {40, 0, 0}, {30, 0, 0}, TPickShape::ArcCW, 6));
  const auto hit = index.Nearest(20, 0, 0.5);
  ASSERT_TRUE(hit);
  EXPECT_EQ(index[hit->Index].Line, 6);
}

TEST(PickIndex, ManyElementsFindTheSameAsAScan) {
  TPickIndex index;
  for (int i = 0; i < 2000; ++i) {
    const double x = (i * 37) % 500, y = (i * 91) % 300;
    if (i % 3 == 0) index.Add(Arc({x + 4, y, 0}, {x, y + 4, 0}, {x, y, 0}, TPickShape::ArcCCW, i + 1));
    else index.Add(Line({x, y, 0}, {x + (i % 7), y + (i % 5), 0}, i + 1));
  }
  index.Add(Line({-1000, -1000, 0}, {1000, 1000, 0}, 9999));  // spans most of the grid
  index.Build();
  for (int k = 0; k < 300; ++k) {
    const double x = (k * 53) % 520 - 10, y = (k * 29) % 320 - 10;
    std::optional<TPickHit> scan;
    for (size_t i = 0; i < index.Count(); ++i) {
      const double d = DistanceToElement(x, y, index[i]);
      if (d <= 1.5 && (!scan || d < scan->Distance)) scan = TPickHit{i, d};
    }
    const auto hit = index.Nearest(x, y, 1.5);
    ASSERT_EQ(hit.has_value(), scan.has_value()) << x << " " << y;
    if (hit) {
      EXPECT_DOUBLE_EQ(hit->Distance, scan->Distance);
    }
  }
}

// Random moves of every kind and size, from dots to lines and circles across the whole
// program, at several scales: the grid finds what looking at every element finds, for
// points near the elements and anywhere around them, with reaches from tiny to wide.
TEST(PickIndex, RandomElementsFindWhatAScanFinds) {
  for (const unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
    std::mt19937 rng(seed);
    const double span = std::pow(10.0, static_cast<double>(seed % 4)) * 3.0;
    const auto uniform = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    const auto chance = [&](double p) { return uniform(0, 1) < p; };
    const auto point = [&] { return TPoint{uniform(-span, span), uniform(-span / 2, span), 0}; };
    TPickIndex index;
    const int count = 5 + static_cast<int>(rng() % 600);
    for (int i = 0; i < count; ++i) {
      const double size = span * std::pow(10.0, uniform(-4, 0.3));
      const TPoint a = point();
      if (chance(0.5)) {
        const double t = uniform(0, 2 * std::numbers::pi);
        const double length = chance(0.05) ? 0.0 : size;
        index.Add(Line(a, {a.X + length * std::cos(t), a.Y + length * std::sin(t), 0}, i + 1));
      } else {
        const double r = size / 2, a0 = uniform(0, 2 * std::numbers::pi);
        const double a1 = chance(0.1) ? a0 : uniform(0, 2 * std::numbers::pi);
        const TPoint s{a.X + r * std::cos(a0), a.Y + r * std::sin(a0), 0};
        const TPoint e = a1 == a0 ? s : TPoint{a.X + r * std::cos(a1), a.Y + r * std::sin(a1), 0};
        index.Add(Arc(s, e, a, chance(0.5) ? TPickShape::ArcCW : TPickShape::ArcCCW, i + 1));
      }
    }
    for (int k = 0; k < 1000; ++k) {
      const double within = span * std::pow(10.0, uniform(-4, -1.3));
      double x, y;
      if (chance(0.6)) {
        // Near a point of a random element.
        // Half of them at its ends, where the grid's edges lie.
        const TPickElement& e = index[rng() % index.Count()];
        const double t = chance(0.5) ? static_cast<double>(rng() % 2) : uniform(0, 1);
        if (e.Shape == TPickShape::Line) {
          x = e.Start.X + t * (e.End.X - e.Start.X), y = e.Start.Y + t * (e.End.Y - e.Start.Y);
        } else {
          const TArcRange range = ArcRangeOf(e);
          const double angle = range.Start + ArcDirection(e) * t * range.Sweep, r = ArcRadius(e);
          x = e.Centre.X + r * std::cos(angle), y = e.Centre.Y + r * std::sin(angle);
        }
        const double d = uniform(0, 1.5 * within), turn = uniform(0, 2 * std::numbers::pi);
        x += d * std::cos(turn), y += d * std::sin(turn);
      } else {
        x = uniform(-1.2 * span, 1.2 * span), y = uniform(-0.7 * span, 1.2 * span);
      }
      std::optional<double> nearest;
      for (size_t i = 0; i < index.Count(); ++i) {
        const double d = DistanceToElement(x, y, index[i]);
        if (d <= within && (!nearest || d < *nearest)) nearest = d;
      }
      const auto hit = index.Nearest(x, y, within);
      ASSERT_EQ(hit.has_value(), nearest.has_value()) << "seed " << seed << " at " << x << ", " << y;
      if (hit) {
        EXPECT_EQ(hit->Distance, *nearest) << "seed " << seed << " at " << x << ", " << y;
      }
    }
  }
}

TEST(PickIndex, TextNamesLineCodeEndCentreAndList) {
  TPickElement line = Line({0, 0, 0}, {15, 7, -1}, 220);
  line.FileLine = 30;
  EXPECT_EQ(PickText(line, 5, 2), "Line 30 (N220): G01 to X10.000 Y5.000 Z-1.000 (contour)");
  line.Line = 0;
  EXPECT_EQ(PickText(line, 5, 2), "Line 30: G01 to X10.000 Y5.000 Z-1.000 (contour)");
  TPickElement arc = Arc({60, 0, 0}, {50, 10, 0}, {50, 0, 0}, TPickShape::ArcCCW, 30);
  std::copy_n("G03", 4, arc.Code);
  arc.List = TPickList::Path;
  EXPECT_EQ(PickText(arc, 0, 0),
            "N30: G03 to X50.000 Y10.000 Z0.000 centre X50.000 Y0.000 radius 10.000 (cutting path)")
      << "the N number alone when the file line is not known";
}

TEST(PickIndex, DrawingRecordsEveryDrawnMoveWithW0) {
  TEngineProgram p("N10 G00 X10 Y10\nN20 G01 X50 Y10\nN30 G02 X60 Y0 I0 J-10\nM30\n");
  TSimView view;
  view.Resize(600, 400);
  view.SetRect({-50, 250, -50, 150});
  view.UpdateScale();
  view.SetW0X(5);
  TPickIndex index;
  TDrawRun run;
  run.Pick = &index;
  DrawElements(view, p.Handle, 0, run);
  index.Build();
  ASSERT_EQ(index.Count(), 2u);  // the contour leaves the rapid move out
  EXPECT_EQ(index[0].Line, 20);
  EXPECT_STREQ(index[0].Code, "G01");
  EXPECT_EQ(index[0].End, (TPoint{55, 10, 0}));
  EXPECT_EQ(index[1].Shape, TPickShape::ArcCW);
  EXPECT_EQ(index[1].Centre.X, 55);
  EXPECT_EQ(index[1].List, TPickList::Contour);
}

}  // namespace
