#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <tuple>

#include "PlainLegSearch.h"
#include "report/Legs.h"
#include "support/LogBuilder.h"
#include "tracklog/Calendar.h"
#include "tracklog/Errors.h"
#include "tracklog/Geodesy.h"

namespace tellurix::report {
namespace {

using tracklog::Field;
using tracklog::TrackPoint;

constexpr double kOriginLat = 25.0;
constexpr double kOriginLon = 121.5;
constexpr double kMetresPerDegreeLat = 111215.0;  // near 25°N in the logger's flat-earth distance

// A track built fix by fix in metres from an origin, one second per fix unless told otherwise.
class Track {
 public:
  explicit Track(double originLat = kOriginLat, tracklog::CalendarTime start = {2010, 9, 9, 10, 0, 0})
      : originLat_(originLat), time_(start) {}

  // One fix at (north, east) metres from the origin.
  Track& at(double north, double east) {
    points_.push_back(fixAt(originLat_ + north / kMetresPerDegreeLat, eastToLon(east)));
    tick(1);
    north_ = north;
    east_ = east;
    return *this;
  }
  // A fix at an exact latitude (for the radius boundary).
  Track& atLatitude(double latitude) {
    points_.push_back(fixAt(latitude, kOriginLon));
    tick(1);
    return *this;
  }
  // `count` more fixes exactly where the last one was.
  Track& stay(int count) {
    for (int i = 0; i < count; ++i) {
      points_.push_back(fixAt(points_.back().latitude, points_.back().longitude));
      tick(1);
    }
    return *this;
  }
  // `count` fixes alternating `metres` apart across the current place, which stays where it was.
  Track& shuttle(int count, double metres) {
    const double n = north_;
    for (int i = 0; i < count; ++i) at(n + (i % 2 == 0 ? metres / 2 : -metres / 2), east_);
    north_ = n;
    return *this;
  }
  // `count` fixes scattered within `metres` of the current place, which stays where it was.
  Track& jitter(int count, double metres, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> offset(-metres / std::sqrt(2.0), metres / std::sqrt(2.0));
    const double n = north_;
    const double e = east_;
    for (int i = 0; i < count; ++i) at(n + offset(random), e + offset(random));
    north_ = n;
    east_ = e;
    return *this;
  }
  // `count` fixes `step` metres apart northwards.
  Track& drive(int count, double step) {
    for (int i = 0; i < count; ++i) at(north_ + step, east_);
    return *this;
  }
  // `count` fixes on a circle of `radius` metres around the current place, `step` metres apart.
  Track& circle(int count, double radius, double step) {
    const double n = north_;
    const double e = east_;
    for (int i = 0; i < count; ++i) {
      const double angle = i * step / radius;
      at(n + radius * std::cos(angle), e + radius * std::sin(angle));
    }
    north_ = n;
    east_ = e;
    return *this;
  }
  // The logger is off for `seconds`.
  Track& off(int seconds) {
    tick(seconds);
    return *this;
  }
  // The logger's clock goes back by `seconds`.
  Track& back(int seconds) {
    tick(-seconds);
    return *this;
  }
  // A fix without a usable position.
  Track& nowhere() {
    points_.push_back(fixAt(std::nan(""), kOriginLon));
    tick(1);
    return *this;
  }

  [[nodiscard]] const std::vector<TrackPoint>& points() const { return points_; }

 private:
  [[nodiscard]] double eastToLon(double east) const {
    return kOriginLon + east / (kMetresPerDegreeLat * std::cos(originLat_ * 3.141592653589793 / 180));
  }
  TrackPoint fixAt(double lat, double lon) const {
    return testing::fix(lat, lon, 0, time_.year, time_.month, time_.day, time_.hour, time_.minute,
                        time_.second);
  }
  void tick(int seconds) { time_ = tracklog::addSeconds(time_, seconds); }

  double originLat_;
  tracklog::CalendarTime time_;
  std::vector<TrackPoint> points_;
  double north_ = 0;
  double east_ = 0;
};

std::vector<Leg> legsOf(const std::vector<TrackPoint>& points, const std::string& stopPeriod) {
  tracklog::FixedFields fields;
  fields.set(Field::StopPeriod, stopPeriod);
  return findLegs(points.data(), static_cast<std::uint32_t>(points.size()), fields);
}

std::vector<Leg> plainLegsOf(const std::vector<TrackPoint>& points, const std::string& stopPeriod) {
  tracklog::FixedFields fields;
  fields.set(Field::StopPeriod, stopPeriod);
  return testing::plainFindLegs(points.data(), static_cast<std::uint32_t>(points.size()), fields);
}

double northDistance(double fromLat, double toLat) {
  return tracklog::distanceMetres(fromLat, kOriginLon, toLat, kOriginLon);
}

// An origin latitude and a point due north of it exactly 200 m away by the logger's distance.
// Near the equator a latitude step moves the distance by less than 200's rounding step, so
// some origin has such a point; search for it.
struct RadiusPair {
  double origin = 0;
  double onRadius = 0;
};
RadiusPair exactRadiusPair() {
  for (int k = 1; k < 1000; ++k) {
    const double origin = k / 1000.0;
    double lo = origin;
    double hi = origin + 0.004;
    while (std::nextafter(lo, hi) < hi) {
      const double mid = lo + (hi - lo) / 2;
      (northDistance(origin, mid) <= 200 ? lo : hi) = mid;
    }
    if (northDistance(origin, lo) == 200) return {origin, lo};
  }
  return {};
}

struct ExpectedLeg {
  std::uint32_t first;
  std::uint32_t last;
  bool endsInStop;
  std::int32_t stopSeconds;
};

struct LegCase {
  const char* name;
  std::function<Track()> track;
  const char* stopPeriod;
  std::vector<ExpectedLeg> legs;
};
void PrintTo(const LegCase& c, std::ostream* os) {
  *os << c.name;
}

class LegCaseTest : public ::testing::TestWithParam<LegCase> {};

TEST_P(LegCaseTest, FindsTheLegsOfTheStopSearch) {
  const LegCase& c = GetParam();
  const std::vector<TrackPoint> points = c.track().points();
  const std::vector<Leg> legs = legsOf(points, c.stopPeriod);
  ASSERT_EQ(legs.size(), c.legs.size());
  for (std::size_t i = 0; i < legs.size(); ++i) {
    SCOPED_TRACE("leg " + std::to_string(i + 1));
    EXPECT_EQ(legs[i].number, i + 1);
    EXPECT_EQ(legs[i].first, c.legs[i].first);
    EXPECT_EQ(legs[i].last, c.legs[i].last);
    EXPECT_EQ(legs[i].endsInStop, c.legs[i].endsInStop);
    EXPECT_EQ(legs[i].stopSeconds, c.legs[i].stopSeconds);
  }
  EXPECT_EQ(legs, plainLegsOf(points, c.stopPeriod));
}

// Drives use 250 m steps, so every point of a drive is beyond the stop radius of the one before.
INSTANTIATE_TEST_SUITE_P(
    StopSearch, LegCaseTest,
    ::testing::Values(
        LegCase{"one_point", [] { return Track().at(0, 0); }, "10", {{0, 0, false, 0}}},
        LegCase{"a_whole_day_within_200_m_is_no_stop",
                [] { return Track().at(0, 0).jitter(86400, 90, 1); },
                "10",
                {{0, 86400, false, 0}}},
        LegCase{"a_stay_that_ends_the_data_is_no_stop",
                [] { return Track().at(0, 0).drive(20, 250).stay(3600); },
                "10",
                {{0, 3620, false, 0}}},
        LegCase{"599_seconds_to_the_first_point_beyond_is_no_stop",
                [] { return Track().at(0, 0).drive(5, 250).stay(598).drive(5, 250); },
                "10",
                {{0, 608, false, 0}}},
        LegCase{"600_seconds_to_the_first_point_beyond_is_a_stop",
                [] { return Track().at(0, 0).drive(5, 250).stay(599).drive(5, 250); },
                "10",
                {{0, 604, true, 600}, {605, 609, false, 0}}},
        LegCase{"a_point_exactly_on_the_radius_is_inside",
                [] {
                  const RadiusPair r = exactRadiusPair();
                  return Track(r.origin).at(0, 0).atLatitude(r.onRadius).stay(598).at(1000, 0);
                },
                "10",
                {{0, 599, true, 600}, {600, 600, false, 0}}},
        LegCase{"a_point_just_beyond_the_radius_is_outside",
                [] {
                  const RadiusPair r = exactRadiusPair();
                  return Track(r.origin)
                      .at(0, 0)
                      .atLatitude(std::nextafter(r.onRadius, 90.0))
                      .stay(598)
                      .at(1000, 0);
                },
                "10",
                {{0, 600, false, 0}}},
        LegCase{"a_logger_off_gap_makes_single_point_legs",
                [] { return Track().at(0, 0).off(1199).at(5000, 0).off(1199).at(10000, 0).at(10010, 0); },
                "10",
                {{0, 0, true, 1200}, {1, 1, true, 1200}, {2, 3, false, 0}}},
        LegCase{"stop_period_zero_makes_every_stretch_over_200_m_a_leg",
                [] { return Track().at(0, 0).drive(9, 45).drive(2, 300); },
                "0",
                {{0, 4, true, 1}, {5, 9, true, 1}, {10, 10, true, 1}, {11, 11, false, 0}}},
        LegCase{"a_negative_stop_period_acts_like_zero",
                [] { return Track().at(0, 0).drive(9, 45).drive(2, 300); },
                " -5 ",
                {{0, 4, true, 1}, {5, 9, true, 1}, {10, 10, true, 1}, {11, 11, false, 0}}},
        // A 20-minute stay whose fixes jump 3 m to and fro, between two 5-minute walks round a
        // 60 m circle: the 200 m scan sees 30 minutes, the refinement the 5 m cluster's 20.
        LegCase{"the_refinement_measures_the_jitter_cluster_not_the_walk_around",
                [] {
                  return Track()
                      .at(-1000, 0)
                      .drive(4, 250)
                      .circle(300, 60, 1)
                      .shuttle(1200, 3)
                      .circle(300, 60, 1)
                      .at(1000, 0)
                      .drive(3, 250);
                },
                "10",
                {{0, 1804, true, 1200}, {1805, 1808, false, 0}}},
        LegCase{
            "a_stay_shorter_than_the_period_keeps_the_leg_going",
            [] {
              return Track().at(0, 0).drive(3, 250).jitter(500, 20, 3).drive(3, 250).stay(700).drive(2, 250);
            },
            "10",
            {{0, 1206, true, 701}, {1207, 1208, false, 0}}},
        // Anchor 0 reaches the far point in 500 s; the fix after it, logged 100 s earlier, in 600 s.
        LegCase{"a_fix_out_of_time_order_is_measured_as_it_stands",
                [] { return Track().off(100).at(0, 0).back(101).stay(1).off(599).at(1000, 0); },
                "10",
                {{0, 1, true, 600}, {2, 2, false, 0}}},
        LegCase{
            "two_stops_and_a_final_leg",
            [] { return Track().at(0, 0).drive(10, 250).stay(900).drive(10, 250).stay(1500).drive(10, 250); },
            "10",
            {{0, 910, true, 901}, {911, 2420, true, 1501}, {2421, 2430, false, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LegsTest, NoPointsNoLegs) {
  EXPECT_TRUE(legsOf({}, "10").empty());
}

TEST(LegsTest, TheRadiusFixtureLiesExactlyOnTheRadius) {
  const RadiusPair r = exactRadiusPair();
  EXPECT_EQ(northDistance(r.origin, r.onRadius), 200.0);
  EXPECT_GT(northDistance(r.origin, std::nextafter(r.onRadius, 90.0)), 200.0);
}

// No box can vouch for a fix without a position: it is beyond every radius, as when measured.
TEST(LegsTest, AFixWithoutAPositionInALongStayIsBeyondTheRadius) {
  const std::vector<TrackPoint> points =
      Track().at(0, 0).drive(2, 250).stay(700).nowhere().at(500, 0).stay(699).at(2000, 0).points();
  const std::vector<Leg> legs = legsOf(points, "10");
  ASSERT_EQ(legs.size(), 3U);
  EXPECT_EQ(std::make_tuple(legs[0].first, legs[0].last, legs[0].stopSeconds),
            std::make_tuple(0U, 702U, 701));
  EXPECT_EQ(std::make_tuple(legs[1].first, legs[1].last, legs[1].stopSeconds),
            std::make_tuple(703U, 1403U, 700));
  EXPECT_EQ(std::make_tuple(legs[2].first, legs[2].last, legs[2].endsInStop),
            std::make_tuple(1404U, 1404U, false));
}

TEST(LegsTest, MileageSumsTheStepsOfEachLegButNotTheStepBetweenLegs) {
  const std::vector<TrackPoint> points =
      Track().at(0, 0).drive(3, 90).stay(700).at(2000, 0).drive(2, 100).points();
  const std::vector<Leg> legs = legsOf(points, "10");
  ASSERT_EQ(legs.size(), 2U);
  const auto step = [&](std::size_t i) {
    return tracklog::distanceMetres(points[i].latitude, points[i].longitude, points[i + 1].latitude,
                                    points[i + 1].longitude);
  };
  double first = 0;
  for (std::uint32_t i = legs[0].first; i < legs[0].last; ++i) first += step(i);
  EXPECT_EQ(legs[0].mileage, first);
  EXPECT_NEAR(legs[0].mileage, 270, 1);
  EXPECT_NEAR(legs[1].mileage, 200, 1);
}

// A stop period that changes from one read to the next.
class ScriptedStopPeriod final : public tracklog::FieldSource {
 public:
  explicit ScriptedStopPeriod(std::vector<std::string> texts) : texts_(std::move(texts)) {}
  std::string_view text(Field field) override {
    if (field != Field::StopPeriod) return "";
    const std::string& t = texts_[std::min(reads, texts_.size() - 1)];
    ++reads;
    return t;
  }
  bool excelReports() override { return false; }
  std::size_t reads = 0;

 private:
  std::vector<std::string> texts_;
};

TEST(LegsTest, TheStopPeriodIsReadAgainAtEveryComparison) {
  const std::vector<TrackPoint> points = Track().at(0, 0).drive(700, 250).points();
  ScriptedStopPeriod fields({"10", "1O"});
  EXPECT_THROW(findLegs(points.data(), 701, fields), tracklog::ConversionError);
  EXPECT_EQ(fields.reads, 2U);
}

struct ConversionCase {
  const char* name;
  std::function<Track()> track;
  bool throws;
};
void PrintTo(const ConversionCase& c, std::ostream* os) {
  *os << c.name;
}

class StopPeriodConversionTest : public ::testing::TestWithParam<ConversionCase> {};

// The text is converted only where the search compares a stay with it.
TEST_P(StopPeriodConversionTest, ANonNumberFailsExactlyWhereTheSearchCompares) {
  const std::vector<TrackPoint> points = GetParam().track().points();
  if (GetParam().throws) {
    EXPECT_THROW(legsOf(points, "ten"), tracklog::ConversionError);
    EXPECT_THROW(plainLegsOf(points, "ten"), tracklog::ConversionError);
  } else {
    EXPECT_EQ(legsOf(points, "ten"), plainLegsOf(points, "ten"));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StopPeriodConversionTest,
    ::testing::Values(ConversionCase{"one_point_compares_nothing", [] { return Track().at(0, 0); }, false},
                      ConversionCase{"a_stay_compares_nothing",
                                     [] { return Track().at(0, 0).jitter(3000, 50, 2); }, false},
                      ConversionCase{"a_point_beyond_the_radius_compares",
                                     [] { return Track().at(0, 0).jitter(3000, 50, 2).at(500, 0); }, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Random tracks of drives, stays with jitter, walk-arounds, logger-off gaps and repeated fixes,
// sometimes across New Year, out of time order or over several years.
class RandomTrack {
 public:
  explicit RandomTrack(std::uint32_t seed) : random_(seed) {}

  std::vector<TrackPoint> make(int targetCount) {
    const tracklog::CalendarTime start = chance(0.2) ? tracklog::CalendarTime{2010, 12, 31, 23, 20, 0}
                                                     : tracklog::CalendarTime{2010, 9, 9, 8, 0, 0};
    std::vector<TrackPoint> points;
    tracklog::CalendarTime time = start;
    double north = 0;
    double east = 0;
    int interval = whole(1, 5);
    auto emit = [&](double n, double e) {
      points.push_back(testing::fix(kOriginLat + n / kMetresPerDegreeLat, kOriginLon + e / 100800.0, 0,
                                    time.year, time.month, time.day, time.hour, time.minute, time.second));
      time = tracklog::addSeconds(time, interval);
    };
    while (static_cast<int>(points.size()) < targetCount) {
      switch (whole(0, 5)) {
        case 0: {  // drive
          const double speed = between(0, 40) * interval;
          const double heading = between(0, 6.283);
          for (int i = whole(1, 200); i > 0; --i) {
            north += speed * std::cos(heading);
            east += speed * std::sin(heading);
            emit(north, east);
          }
          break;
        }
        case 1:    // parked, jittering
        case 2: {  // walking round within a radius
          const double radius = stayRadius();
          const double walk = between(0, 3) * interval;
          double n = north;
          double e = east;
          for (int i = whole(10, 2500 / interval); i > 0; --i) {
            n = std::clamp(n + between(-walk - radius * 0.1, walk + radius * 0.1), north - radius,
                           north + radius);
            e = std::clamp(e + between(-walk - radius * 0.1, walk + radius * 0.1), east - radius,
                           east + radius);
            emit(n, e);
          }
          break;
        }
        case 3:  // logger off, maybe moving
          time = tracklog::addSeconds(time, whole(60, 3600));
          north += between(-3000, 3000);
          emit(north, east);
          break;
        case 4:  // the same fix repeated
          for (int i = whole(1, 40); i > 0; --i) emit(north, east);
          break;
        default:
          interval = whole(1, 5);
          break;
      }
    }
    points.resize(static_cast<std::size_t>(targetCount));
    if (chance(0.1)) {  // a few records out of time order
      for (int i = whole(1, 5); i > 0; --i) {
        std::swap(points[static_cast<std::size_t>(whole(0, targetCount - 1))],
                  points[static_cast<std::size_t>(whole(0, targetCount - 1))]);
      }
    }
    if (chance(0.05)) points.back().year += 2;  // a clock jump of years
    return points;
  }

 private:
  double stayRadius() { return chance(0.5) ? between(0.5, 6) : between(10, 150); }
  bool chance(double p) { return between(0, 1) < p; }
  double between(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random_); }
  int whole(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }

  std::mt19937 random_;
};

TEST(LegsEquivalenceTest, RandomTracksGiveThePlainSearchsLegsAndDurations) {
  const char* const periods[] = {"10", "0", "-3", "1", "5", "30", "100000"};
  int stops = 0;
  for (std::uint32_t seed = 1; seed <= 200; ++seed) {
    const std::vector<TrackPoint> points = RandomTrack(seed).make(static_cast<int>(200 + seed * 37 % 3000));
    for (const char* period : periods) {
      SCOPED_TRACE("seed " + std::to_string(seed) + ", stop period " + period);
      const std::vector<Leg> legs = legsOf(points, period);
      ASSERT_EQ(legs, plainLegsOf(points, period));
      stops += static_cast<int>(legs.size()) - 1;
    }
  }
  EXPECT_GT(stops, 1000);  // the tracks do exercise the stop and refinement paths
}

// Stays that are all within 200 m of each other, where the plain search rescans to the end
// from every anchor: spread uniformly over a disc (no two nearby indices close in space), with
// a far point at the end or far points now and then.
TEST(LegsEquivalenceTest, LongStaysWithRareExcursionsGiveThePlainSearchsLegs) {
  struct Layout {
    const char* name;
    int excursionEvery;  // 0: only the last point is far away
  };
  for (const Layout layout : {Layout{"far_last_point", 0}, Layout{"far_point_every_1500", 1500}}) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(-1, 1);
    Track track;
    for (int i = 0; i < 4000; ++i) {
      double n = 0;
      double e = 0;
      do {
        n = unit(random) * 95;
        e = unit(random) * 95;
      } while (n * n + e * e > 95 * 95);
      const bool far = layout.excursionEvery > 0 && i % layout.excursionEvery == layout.excursionEvery - 1;
      track.at(far ? 2000 : n, e);
    }
    track.at(5000, 0);
    for (const char* period : {"10", "40", "99", "101", "10000"}) {
      SCOPED_TRACE(std::string(layout.name) + ", stop period " + period);
      EXPECT_EQ(legsOf(track.points(), period), plainLegsOf(track.points(), period));
    }
  }
}

}  // namespace
}  // namespace tellurix::report
