// The playback track and clock, from element records worked by hand.
#include "app/playback.h"

#include <gtest/gtest.h>

#include <numbers>
#include <vector>

#include "platform/viewer_settings.h"
#include "tests/app/element_records.h"

namespace {

constexpr double kFallback = 1.0 / kFallbackElementsPerSecond;

TToolTable ToolTable() {
  TToolTable tools = TCncType::DefaultTools();
  tools[2].Diameter = 4.0;
  tools[5].Diameter = 10.0;
  return tools;
}

// A run of the path from (5, 5) in program coordinates, W0 at (100, 200); objects 7 before.
TPlayedList Played(size_t elements) {
  TPlayedList p;
  p.Mode = 1;
  p.StartTool = 2;
  p.ProgramStart = {5, 5, 0};
  p.W0 = {100, 200};
  p.ObjectsBefore = 7;
  for (size_t i = 0; i < elements; ++i) p.ObjectEnds.push_back(7 + 2 * (i + 1));
  return p;
}

// F600, a line of 10 mm (1 s), a tool change, a rapid, a half circle of radius 10 (pi s).
std::vector<TCncElementData> Program() {
  return {Feed(600), Element(kG01, {-5, 5, 0}, {0, 0, 0}, 10), Tool(5, 20), Element(kG00, {-5, 5, 0}),
          Element(kG02, {15, 5, 0}, {10, 0, 0}, 50)};
}

TPlaybackTrack TrackOf(const std::vector<TCncElementData>& elements) {
  TPlaybackTrack track(Played(elements.size()), TFeedUnit::Millimetre);
  for (const TCncElementData& e : elements) track.Add(e);
  return track;
}

}  // namespace

TEST(PlayClock, EachSpeedScalesTheWallClock) {
  struct TRow {
    TPlaySpeed Speed;
    double From, Wall, Expected;
  };
  const std::vector<TRow> rows = {
      {TPlaySpeed::Times1, 0, 0.04, 0.04}, {TPlaySpeed::Times10, 1, 0.04, 1.4},
      {TPlaySpeed::Times100, 2, 0.5, 52},  {TPlaySpeed::Times1000, 0, 0.04, 40},
      {TPlaySpeed::Times1000, 7, 0, 7},    {TPlaySpeed::Times10, 3, -1, 3},  // a clock never runs back
  };
  for (const TRow& r : rows)
    EXPECT_NEAR(AdvancePlayTime(r.From, r.Wall, r.Speed), r.Expected, 1e-12) << SpeedFactor(r.Speed);
  ASSERT_EQ(kPlaySpeeds.size(), 4u);
  EXPECT_STREQ(kPlaySpeeds[0].Caption, "x1");
  EXPECT_STREQ(kPlaySpeeds[3].Caption, "x1000");
}

TEST(PlaybackTrack, TimesFromTheFeedsAndTheFallbackRate) {
  const TPlaybackTrack track = TrackOf(Program());
  ASSERT_EQ(track.Count(), 5u);
  // What the first k elements take: the F and the tool change take no time, the rapid
  // plays at the fallback rate.
  const double expected[] = {0, 0, 1, 1, 1 + kFallback, 1 + kFallback + std::numbers::pi};
  for (size_t k = 0; k <= 5; ++k) EXPECT_NEAR(track.TimeAt(k), expected[k], 1e-9) << k;
  EXPECT_NEAR(track.TotalSeconds(), expected[5], 1e-9);
  EXPECT_NEAR(track.TimeAt(99), expected[5], 1e-9) << "beyond the end is the end";
}

TEST(PlaybackTrack, FeedMovesWithoutFeedPlayAtTheFallbackRate) {
  for (const auto& first : {Element(kG01, {10, 0, 0}), Feed(0)}) {
    const TPlaybackTrack track = TrackOf({first, Element(kG01, {20, 0, 0})});
    EXPECT_NEAR(track.TotalSeconds(), first.Code == kF ? kFallback : 2 * kFallback, 1e-12);
  }
}

TEST(PlaybackTrack, PositionAtTimesJustEachSideOfAnElementsEnd) {
  const TPlaybackTrack track = TrackOf(Program());
  struct TRow {
    double Seconds;
    size_t Position;
  };
  const double rapidEnd = 1 + kFallback;
  const std::vector<TRow> rows = {
      {-1, 0},
      {0, 1},  // the F is done at once
      {0.999, 1},
      {1.0, 3},  // the line, and the tool change with it
      {rapidEnd - 1e-9, 3},
      {rapidEnd, 4},
      {rapidEnd + 1e-9, 4},
      {rapidEnd + std::numbers::pi, 5},
      {1e9, 5},
  };
  for (const TRow& r : rows) EXPECT_EQ(track.PositionAt(r.Seconds), r.Position) << r.Seconds;
  // A position and the time it is done at agree.
  for (size_t k = 1; k <= track.Count(); ++k) EXPECT_GE(track.PositionAt(track.TimeAt(k)), k);
}

TEST(PlaybackTrack, ToolAtTheEndOfTheLastMoveWithTheToolInForce) {
  const TPlaybackTrack track = TrackOf(Program());
  const auto tools = ToolTable();
  struct TRow {
    size_t K;
    TRealXY Centre;
    double Radius;
    int32_t Tool;
  };
  const std::vector<TRow> rows = {
      {0, {105, 205}, 2, 2},  // the start, with the tool in force when drawing began
      {1, {105, 205}, 2, 2},  // the F does not move
      {2, {95, 205}, 2, 2},   // end of the line, shifted by W0
      {3, {95, 205}, 5, 5},   // the tool change
      {4, {95, 205}, 5, 5},   // the rapid to where it already was
      {5, {115, 205}, 5, 5},  // the arc's end
      {50, {115, 205}, 5, 5},
  };
  for (const TRow& r : rows) {
    const TToolMark mark = track.ToolAt(r.K, tools);
    EXPECT_EQ(mark.Centre, r.Centre) << r.K;
    EXPECT_EQ(mark.Radius, r.Radius) << r.K;
    EXPECT_EQ(mark.Tool, r.Tool) << r.K;
  }
  // A tool number beyond the table draws no circle.
  EXPECT_EQ(TrackOf({Tool(300), Element(kG01, {1, 1, 0})}).ToolAt(2, tools).Radius, 0.0);
}

TEST(PlaybackTrack, ObjectsOfThePrefixAndTheListBefore) {
  const TPlaybackTrack track = TrackOf(Program());
  const size_t expected[] = {7, 9, 11, 13, 15, 17};
  for (size_t k = 0; k <= 5; ++k) EXPECT_EQ(track.ObjectLimit(k), expected[k]) << k;
  EXPECT_EQ(track.ObjectLimit(6), 17u);
  EXPECT_EQ(TPlaybackTrack().ObjectLimit(3), 0u);
}

TEST(PlaybackTrack, LineOfTheLastElementDoneAndTheStatusText) {
  const TPlaybackTrack track = TrackOf(Program());
  struct TRow {
    size_t K;
    int32_t Number;
    bool Own;
    const char* Status;
  };
  const std::vector<TRow> rows = {
      {0, 0, false, "Start of 5 elements, 0:00 of 0:04"},
      {1, 0, false, "Element 1 of 5, no N number, 0:00 of 0:04"},
      {2, 10, true, "Element 2 of 5, N10, 0:01 of 0:04"},
      {3, 20, true, "Element 3 of 5, N20, 0:01 of 0:04"},
      {4, 20, false, "Element 4 of 5, after N20, 0:01 of 0:04"},
      {5, 50, true, "Element 5 of 5, N50, 0:04 of 0:04"},
  };
  for (const TRow& r : rows) {
    EXPECT_EQ(track.LineAt(r.K).Number, r.Number) << r.K;
    EXPECT_EQ(track.LineAt(r.K).Own, r.Own) << r.K;
    EXPECT_EQ(PlaybackStatus(track, r.K), r.Status);
  }
}
