#include <gtest/gtest.h>

#include "StoredRun.h"
#include "report/TravelStats.h"
#include "support/LogBuilder.h"

namespace tellurix::report {
namespace {

using testing::fix;
using tracklog::TrackPoint;

TrackPoint at(int hour, int minute, int second, float speed = 0, int day = 9) {
  return fix(25, 121, speed, 2010, 9, day, hour, minute, second);
}

struct BucketCase {
  const char* name;
  TrackPoint point;
  std::size_t speedBucket;
  std::size_t timeBucket;
  std::size_t weekday;
};
void PrintTo(const BucketCase& c, std::ostream* os) {
  *os << c.name;
}

class BucketTest : public ::testing::TestWithParam<BucketCase> {};

TEST_P(BucketTest, CountsThePointInItsBuckets) {
  const BucketCase& c = GetParam();
  TravelStats stats;
  stats.addPoint(c.point, nullptr);
  std::array<std::int64_t, 13> speed{};
  speed[c.speedBucket] = 1;
  std::array<std::int64_t, 6> time{};
  time[c.timeBucket] = 1;
  std::array<std::int64_t, 7> weekday{};
  weekday[c.weekday] = 1;
  EXPECT_EQ(stats.speedCounts, speed);
  EXPECT_EQ(stats.timeCounts, time);
  EXPECT_EQ(stats.weekdayCounts, weekday);
}

// 2010-09-09 is a Thursday (4), 2010-09-12 a Sunday (0).
INSTANTIATE_TEST_SUITE_P(
    Points, BucketTest,
    ::testing::Values(BucketCase{"two_oclock_is_night", at(2, 0, 0), 0, 5, 4},
                      BucketCase{"a_second_later_is_early_morning", at(2, 0, 1), 0, 0, 4},
                      BucketCase{"six_oclock_is_still_early_morning", at(6, 0, 0), 0, 0, 4},
                      BucketCase{"ten_oclock_is_morning", at(10, 0, 0), 0, 1, 4},
                      BucketCase{"two_pm_is_noon", at(14, 0, 0), 0, 2, 4},
                      BucketCase{"six_pm_is_afternoon", at(18, 0, 0), 0, 3, 4},
                      BucketCase{"ten_pm_is_evening", at(22, 0, 0), 0, 4, 4},
                      BucketCase{"a_second_after_ten_pm_is_night", at(22, 0, 1), 0, 5, 4},
                      BucketCase{"midnight_is_night_on_sunday", at(0, 0, 0, 0, 12), 0, 5, 0},
                      BucketCase{"9_9_kmh_truncates_to_congestion", at(12, 0, 0, 9.9F), 0, 2, 4},
                      BucketCase{"10_kmh_is_the_second_bucket", at(12, 0, 0, 10), 1, 2, 4},
                      BucketCase{"119_kmh_is_fast", at(12, 0, 0, 119), 11, 2, 4},
                      BucketCase{"120_kmh_is_excessive", at(12, 0, 0, 120), 12, 2, 4},
                      BucketCase{"135_kmh_is_excessive", at(12, 0, 0, 135), 12, 2, 4},
                      BucketCase{"the_largest_logged_speed_is_excessive", at(12, 0, 0, 2047), 12, 2, 4}),
    [](const auto& info) { return std::string(info.param.name); });

struct ChangeCase {
  const char* name;
  TrackPoint previous;
  TrackPoint point;
  std::array<std::int64_t, 4> counts;  // hard accel, extreme accel, hard brake, extreme brake
};
void PrintTo(const ChangeCase& c, std::ostream* os) {
  *os << c.name;
}

class OneSecondChangeTest : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(OneSecondChangeTest, CountsTheEvent) {
  const ChangeCase& c = GetParam();
  TravelStats stats;
  stats.addPoint(c.previous, nullptr);
  stats.addPoint(c.point, &c.previous);
  EXPECT_EQ(
      (std::array<std::int64_t, 4>{stats.hardAccel, stats.extremeAccel, stats.hardBrake, stats.extremeBrake}),
      c.counts);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, OneSecondChangeTest,
    ::testing::Values(
        ChangeCase{"20_to_45_is_extreme_acceleration", at(10, 0, 0, 20), at(10, 0, 1, 45), {0, 1, 0, 0}},
        ChangeCase{"20_to_44_is_hard_acceleration", at(10, 0, 0, 20), at(10, 0, 1, 44), {1, 0, 0, 0}},
        ChangeCase{"20_to_35_is_hard_acceleration", at(10, 0, 0, 20), at(10, 0, 1, 35), {1, 0, 0, 0}},
        ChangeCase{"20_to_34_is_nothing", at(10, 0, 0, 20), at(10, 0, 1, 34), {0, 0, 0, 0}},
        ChangeCase{"45_to_20_is_extreme_braking", at(10, 0, 0, 45), at(10, 0, 1, 20), {0, 0, 0, 1}},
        ChangeCase{"35_to_20_is_hard_braking", at(10, 0, 0, 35), at(10, 0, 1, 20), {0, 0, 1, 0}},
        ChangeCase{"34_to_20_is_nothing", at(10, 0, 0, 34), at(10, 0, 1, 20), {0, 0, 0, 0}},
        ChangeCase{"seconds_59_to_0_is_a_one_second_step", at(10, 0, 59, 20), at(10, 1, 0, 45), {0, 1, 0, 0}},
        ChangeCase{"only_the_seconds_field_counts", at(10, 0, 0, 20), at(11, 5, 1, 45), {0, 1, 0, 0}},
        ChangeCase{"a_two_second_step_is_not_compared", at(10, 0, 0, 20), at(10, 0, 2, 45), {0, 0, 0, 0}},
        ChangeCase{"the_same_second_is_not_compared", at(10, 0, 0, 20), at(10, 0, 0, 45), {0, 0, 0, 0}},
        ChangeCase{"seconds_0_to_59_is_not_compared", at(10, 1, 0, 45), at(10, 1, 59, 20), {0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TravelStatsTest, SumsMaximumAndMovingPointsUseWholeSpeeds) {
  testing::StoredRun run;
  run.select({at(10, 0, 0, 0), at(10, 0, 1, 12.9F), at(10, 0, 2, 0.5F), at(10, 0, 3, 99)});
  EXPECT_EQ(run.stats.speedSum, 111);
  EXPECT_EQ(run.stats.maxSpeed, 99);
  EXPECT_EQ(run.stats.movingCount, 2);
  const TravelFigures f = travelFigures(run.stats, run.store);
  EXPECT_EQ(f.drivingAverage, 55);  // 111 / 2
  EXPECT_EQ(f.totalAverage, 27);    // 111 / 4
}

TEST(TravelStatsTest, AllPointsStandingGiveZeroAveragesAndFullCongestion) {
  testing::StoredRun run;
  run.select({at(10, 0, 0), at(10, 0, 1), at(10, 0, 2)});
  const TravelFigures f = travelFigures(run.stats, run.store);
  EXPECT_EQ(f.drivingAverage, 0);
  EXPECT_EQ(f.totalAverage, 0);
  EXPECT_EQ(f.shares.speedClasses, (std::array<std::int64_t, 5>{10000, 0, 0, 0, 0}));
}

struct ShareCase {
  const char* name;
  std::vector<std::int64_t> counts;
  std::vector<std::int64_t> hundredths;
};
void PrintTo(const ShareCase& c, std::ostream* os) {
  *os << c.name;
}

class ShareTest : public ::testing::TestWithParam<ShareCase> {};

TEST_P(ShareTest, RoundsHalfUpAndCorrectsToOneHundred) {
  const ShareCase& c = GetParam();
  std::array<std::int64_t, 5> counts{};
  std::copy(c.counts.begin(), c.counts.end(), counts.begin());
  std::int64_t total = 0;
  for (const std::int64_t n : counts) total += n;
  std::array<std::int64_t, 5> expected{};
  std::copy(c.hundredths.begin(), c.hundredths.end(), expected.begin());
  EXPECT_EQ(shareHundredths(counts, total), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ShareTest,
    ::testing::Values(
        ShareCase{"thirds_give_the_last_of_the_largest_the_missing_hundredth", {1, 1, 1}, {3333, 3333, 3334}},
        ShareCase{"an_exact_tie_rounds_up_and_the_excess_comes_off_the_largest", {1, 19999}, {1, 9999}},
        ShareCase{"the_last_of_equal_largest_takes_the_correction",
                  {2, 2, 1, 1, 1},
                  {2857, 2856, 1429, 1429, 1429}},
        ShareCase{"exact_shares_need_no_correction", {1, 3}, {2500, 7500}},
        ShareCase{"empty_rows_stay_zero", {0, 7, 0}, {0, 10000, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TravelStatsTest, SpeedClassesGroupTheBuckets) {
  testing::StoredRun run;
  // Congestion 1, Slow 2 (10 and 59), Medium 2 (60 and 79), Fast 2 (80 and 119), Excessive 1.
  run.select({at(10, 0, 0, 9), at(10, 0, 1, 10), at(10, 0, 2, 59), at(10, 0, 3, 60), at(10, 0, 4, 79),
              at(10, 0, 5, 80), at(10, 0, 6, 119), at(10, 0, 7, 120)});
  EXPECT_EQ(travelFigures(run.stats, run.store).shares.speedClasses,
            (std::array<std::int64_t, 5>{1250, 2500, 2500, 2500, 1250}));
}

// Sunday, Monday and Tuesday once each: printed Monday first, so Sunday is the last of the
// equal largest and takes the missing hundredth.
TEST(TravelStatsTest, TheWeekdayTableIsRoundedInPrintedOrderMondayFirst) {
  testing::StoredRun run;
  run.select({at(12, 0, 0, 0, 12), at(12, 0, 0, 0, 13), at(12, 0, 0, 0, 14)});
  EXPECT_EQ(travelFigures(run.stats, run.store).shares.weekdays,
            (std::array<std::int64_t, 7>{3333, 3333, 0, 0, 0, 0, 3334}));
}

TEST(TravelStatsTest, ChartTablesAreUnroundedFractionsSundayFirst) {
  testing::StoredRun run;
  run.select({at(12, 0, 0, 0, 12), at(12, 0, 1, 125, 12), at(23, 0, 0, 130, 13)});
  const charts::ChartTables t = chartTables(run.stats, run.store.pointCount);
  EXPECT_EQ(t.speed[0], 1.0F / 3.0F);
  EXPECT_EQ(t.speed[12], 2.0F / 3.0F);
  EXPECT_EQ(t.timeOfDay[2], 2.0F / 3.0F);
  EXPECT_EQ(t.timeOfDay[5], 1.0F / 3.0F);
  EXPECT_EQ(t.weekday[0], 2.0F / 3.0F);  // Sunday
  EXPECT_EQ(t.weekday[1], 1.0F / 3.0F);
  float sum = 0;
  for (const float share : t.weekday) sum += share;
  EXPECT_FLOAT_EQ(sum, 1.0F);
}

struct PeriodCase {
  const char* name;
  TrackPoint first;
  TrackPoint last;
  std::int64_t seconds;
};
void PrintTo(const PeriodCase& c, std::ostream* os) {
  *os << c.name;
}

class TravelPeriodTest : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(TravelPeriodTest, IsTheExactCalendarDifference) {
  testing::StoredRun run;
  run.select({GetParam().first, GetParam().last});
  EXPECT_EQ(travelPeriodSeconds(run.store), GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Spans, TravelPeriodTest,
    ::testing::Values(PeriodCase{"within_a_day", at(10, 0, 0), at(11, 2, 3), 3723},
                      PeriodCase{"over_midnight", at(23, 59, 59), fix(25, 121, 0, 2010, 9, 10, 0, 0, 1), 2},
                      PeriodCase{"over_a_leap_day", fix(25, 121, 0, 2012, 2, 28, 12, 0, 0),
                                 fix(25, 121, 0, 2012, 3, 1, 12, 0, 0), 2 * 86400},
                      PeriodCase{"over_new_year", fix(25, 121, 0, 2010, 12, 31, 23, 0, 0),
                                 fix(25, 121, 0, 2011, 1, 1, 1, 0, 0), 7200},
                      PeriodCase{"a_year_and_a_day", fix(25, 121, 0, 2011, 3, 1, 0, 0, 0),
                                 fix(25, 121, 0, 2012, 3, 1, 0, 0, 1), 366 * 86400 + 1},
                      PeriodCase{"the_same_second_is_zero", at(10, 0, 0), at(10, 0, 0), 0},
                      PeriodCase{"a_last_point_before_the_first_is_zero", at(10, 0, 0), at(9, 0, 0), 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TravelStatsTest, RatesArePerDayOfTheTravelPeriod) {
  testing::StoredRun run;
  run.select({at(0, 0, 0, 40), at(0, 0, 1, 20), at(0, 0, 2, 50), at(0, 0, 3, 10), at(12, 0, 0, 10)});
  const TravelFigures f = travelFigures(run.stats, run.store);
  ASSERT_EQ(f.periodSeconds, 43200);  // half a day
  EXPECT_DOUBLE_EQ(f.hardBrakePerDay, 2.0);
  EXPECT_DOUBLE_EQ(f.extremeBrakePerDay, 2.0);
  EXPECT_DOUBLE_EQ(f.hardAccelPerDay, 0.0);
  EXPECT_DOUBLE_EQ(f.extremeAccelPerDay, 2.0);
}

TEST(TravelStatsTest, WithoutATravelPeriodEveryRateIsZero) {
  testing::StoredRun run;
  run.select({at(10, 0, 1, 50), at(10, 0, 2, 10), at(10, 0, 0, 50)});  // the last point is the earliest
  const TravelFigures f = travelFigures(run.stats, run.store);
  ASSERT_EQ(run.stats.extremeBrake, 1);
  EXPECT_EQ(f.periodSeconds, 0);
  EXPECT_EQ(f.extremeBrakePerDay, 0.0);
  EXPECT_EQ(f.movingSeconds, 0);
}

TEST(TravelStatsTest, MovingTimeIsThePeriodLessTheStopsButNeverNegative) {
  testing::StoredRun run;
  run.select({at(10, 0, 0), fix(25, 121, 0, 2010, 9, 10, 12, 3, 4)});
  run.stats.totalStopSeconds = 600;
  EXPECT_EQ(travelFigures(run.stats, run.store).movingSeconds, 93784 - 600);  // 1 day 2:03:04 less 10 minutes
  run.stats.totalStopSeconds = 100000;
  EXPECT_EQ(travelFigures(run.stats, run.store).movingSeconds, 0);
}

}  // namespace
}  // namespace tellurix::report
