#include <gtest/gtest.h>

#include <cmath>

#include "TripFixtures.h"
#include "map/SimplifiedTrack.h"
#include "map/TrackGeometry.h"
#include "report/SpeedClasses.h"
#include "tools/demotrack/DemoTrack.h"

namespace tellurix::map {
namespace {

using testing::TrackBuilder;

TripData tripOf(const std::vector<tracklog::TrackPoint>& points, std::int32_t stopPeriodMinutes = 10) {
  TripData trip;
  trip.points = points;
  trip.results.stopPeriodMinutes = stopPeriodMinutes;
  return trip;
}

// The distance in zoom-0 pixels from p to the segment a-b.
double segmentDistance(const WorldPoint& p, const WorldPoint& a, const WorldPoint& b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 == 0 ? 0 : ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

TEST(TrackGeometry, ATrackAcrossTheAntimeridianStaysOnePiece) {
  const auto points = TrackBuilder(-16.5, 179.9).drive(60, 500, 0, 100).points();
  ASSERT_LT(points.back().longitude, 0) << "the fixture must cross";
  const TrackGeometry track(tripOf(points));
  for (std::size_t i = 1; i < track.size(); ++i) {
    EXPECT_NEAR(track.point(i).x - track.point(i - 1).x, track.point(1).x - track.point(0).x, 1e-6) << i;
    EXPECT_FALSE(track.breaksBefore(i));
  }
  EXPECT_GT(track.box().right, kTileSize);
  EXPECT_LT(track.box().width(), 1.0) << "boxed round the world";
}

TEST(TrackGeometry, BreaksWhereTheLogHasAGapLongerThanTheStopPeriod) {
  struct Case {
    const char* name;
    int gapSeconds;
    std::int32_t stopPeriodMinutes;
    bool broken;
  };
  const Case cases[] = {
      {"a gap of exactly the stop period", 600, 10, false},
      {"a second longer", 601, 10, true},
      {"stop period 0: a minute still joins", 60, 0, false},
      {"stop period 0: longer gaps break", 61, 0, true},
      {"a negative stop period", 61, -5, true},
  };
  for (const Case& c : cases) {
    const auto points =
        TrackBuilder(25, 121).drive(3, 0, 10, 30).pause(c.gapSeconds - 1).drive(3, 0, 10, 30).points();
    const TrackGeometry track(tripOf(points, c.stopPeriodMinutes));
    EXPECT_EQ(track.breaksBefore(3), c.broken) << c.name;
    EXPECT_FALSE(track.breaksBefore(2)) << c.name;
  }
}

TEST(TrackGeometry, EachPointTakesTheReportsSpeedClass) {
  TrackBuilder b(25, 121);
  for (const float speed : {0.F, 9.F, 10.F, 59.F, 60.F, 79.F, 80.F, 119.F, 120.F, 250.F}) b.point(speed);
  const TrackGeometry track(tripOf(b.points()));
  const std::uint8_t expected[] = {0, 0, 1, 1, 2, 2, 3, 3, 4, 4};
  for (std::size_t i = 0; i < track.size(); ++i) EXPECT_EQ(track.speedClass(i), expected[i]) << i;
}

class Simplified : public ::testing::Test {
 protected:
  static const TrackGeometry& demo() {
    static const TrackGeometry track = [] {
      demotrack::DemoTrackOptions options;
      options.records = 20000;
      return TrackGeometry(tripOf(demotrack::makeDemoTrack(options)));
    }();
    return track;
  }
};

// Every point of the log lies within the tolerance of the line drawn, at every zoom, and every
// line is drawn in the class of the point it starts from.
TEST_F(Simplified, EveryPointLiesWithinAPixelOfTheDrawnLine) {
  const TrackGeometry& track = demo();
  for (const int zoom : {3, 10, 14, 17, 19}) {
    const SimplifiedTrack s = simplifyTrack(track, zoom);
    const double tolerance = 1.0 / std::ldexp(1.0, zoom);
    std::vector<double> nearest(track.size(), 1e9);
    for (const TrackRun& run : s.runs) {
      ASSERT_GE(run.end - run.begin, 2U);
      ASSERT_LE(run.end - run.begin, SimplifiedTrack::kRunVertices + 1);
      for (std::uint32_t v = run.begin; v + 1 < run.end; ++v) {
        const std::uint32_t a = s.vertices[v];
        const std::uint32_t b = s.vertices[v + 1];
        ASSERT_LT(a, b);
        EXPECT_EQ(track.speedClass(a), run.speedClass);
        for (std::uint32_t i = a; i <= b; ++i) {
          nearest[i] = std::min(nearest[i], segmentDistance(track.point(i), track.point(a), track.point(b)));
        }
        for (std::uint32_t i = a + 1; i <= b; ++i)
          ASSERT_FALSE(track.breaksBefore(i)) << "a line across a gap";
      }
    }
    for (const std::uint32_t dot : s.dots) nearest[dot] = 0;
    for (std::size_t i = 0; i < track.size(); ++i) {
      ASSERT_LE(nearest[i], 2 * tolerance) << "zoom " << zoom << " point " << i;
    }
  }
}

// Zoomed out, a day of driving is a few hundred pixels long: the lines drawn must be of that
// order, not one per logged second.
TEST_F(Simplified, AZoomedOutViewDrawsAboutAsManySegmentsAsItsTrackHasPixels) {
  const TrackGeometry& track = demo();
  for (const int zoom : {8, 12}) {
    const SimplifiedTrack s = simplifyTrack(track, zoom);
    double pixels = 0;
    for (std::size_t i = 1; i < track.size(); ++i) {
      if (!track.breaksBefore(i))
        pixels +=
            std::hypot(track.point(i).x - track.point(i - 1).x, track.point(i).y - track.point(i - 1).y);
    }
    pixels *= std::ldexp(1.0, zoom);
    std::size_t segments = 0;
    for (const TrackRun& run : s.runs) segments += run.end - run.begin - 1;
    // One segment per pixel of track, and a few where the class changes inside a pixel.
    EXPECT_LE(static_cast<double>(segments), pixels + 2 * static_cast<double>(s.runs.size()) + 8) << zoom;
  }
}

TEST(SimplifiedTrack, AClassChangeWithinAPixelStillColoursTheLongLineAfterIt) {
  // Crawling within a pixel at 20 km/h, speeding up to 100 km/h on the spot, then one long
  // step: the long step is fast, not drawn in the colour of the crawl.
  TrackBuilder b(25, 121);
  b.drive(19, 0, 0.01, 20).drive(1, 0, 3000, 100).point(100);
  const TrackGeometry track(tripOf(b.points()));
  const SimplifiedTrack s = simplifyTrack(track, 10);
  ASSERT_EQ(s.runs.size(), 2U);
  const TrackRun& last = s.runs.back();
  EXPECT_EQ(last.speedClass, report::speedClassOf(100));
  EXPECT_EQ(s.vertices[last.begin], 19U);
  EXPECT_EQ(s.vertices[last.end - 1], 20U);
  EXPECT_EQ(s.runs.front().speedClass, report::speedClassOf(20));
}

TEST(SimplifiedTrack, PointsWithoutNeighboursAreDots) {
  const auto one = TrackBuilder(25, 121).point(30).points();
  const SimplifiedTrack single = simplifyTrack(TrackGeometry(tripOf(one)), 17);
  EXPECT_TRUE(single.runs.empty());
  EXPECT_EQ(single.dots, std::vector<std::uint32_t>{0});

  const auto islands = TrackBuilder(25, 121)
                           .drive(3, 0, 20, 30)
                           .pause(3600)
                           .point(30)
                           .pause(3600)
                           .drive(2, 0, 20, 30)
                           .points();
  const SimplifiedTrack s = simplifyTrack(TrackGeometry(tripOf(islands)), 17);
  EXPECT_EQ(s.dots, std::vector<std::uint32_t>{3});
  EXPECT_EQ(s.runs.size(), 2U);
}

}  // namespace
}  // namespace tellurix::map
