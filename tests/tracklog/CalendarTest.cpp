#include <gtest/gtest.h>

#include "support/LogBuilder.h"
#include "tracklog/Calendar.h"

namespace tellurix::tracklog {
namespace {

using testing::fix;

TrackPoint at(int y, int mo, int d, int h, int mi, int s) {
  return fix(0, 0, 0, y, mo, d, h, mi, s);
}

struct SecondsCase {
  const char* name;
  TrackPoint a;
  TrackPoint b;
  std::int32_t seconds;
};
void PrintTo(const SecondsCase& c, std::ostream* os) {
  *os << c.name;
}

class SecondsBetweenTest : public ::testing::TestWithParam<SecondsCase> {};

TEST_P(SecondsBetweenTest, CountsByTheLoggersRule) {
  EXPECT_EQ(secondsBetween(GetParam().a, GetParam().b), GetParam().seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SecondsBetweenTest,
    ::testing::Values(
        SecondsCase{"new_year", at(2010, 12, 31, 23, 59, 50), at(2011, 1, 1, 0, 0, 10), 20},
        SecondsCase{"new_year_after_leap_year", at(2012, 12, 31, 23, 59, 50), at(2013, 1, 1, 0, 0, 10), 20},
        SecondsCase{"leap_day_counted", at(2012, 2, 28, 12, 0, 0), at(2012, 3, 1, 12, 0, 0), 2 * 86400},
        SecondsCase{"no_leap_day", at(2011, 2, 28, 12, 0, 0), at(2011, 3, 1, 12, 0, 0), 86400},
        SecondsCase{"two_years_apart", at(2010, 12, 31, 23, 0, 0), at(2012, 1, 1, 1, 2, 3), 31536000},
        SecondsCase{"later_point_earlier_time", at(2010, 9, 9, 12, 0, 0), at(2010, 9, 9, 11, 59, 0), -60},
        SecondsCase{"earlier_year_not_corrected", at(2011, 1, 1, 0, 0, 0), at(2010, 12, 31, 0, 0, 0),
                    364 * 86400},
        SecondsCase{"corrupt_month_stays_in_table", at(2010, 15, 1, 0, 0, 0), at(2010, 15, 1, 0, 0, 5), 5}),
    [](const auto& info) { return std::string(info.param.name); });

struct WeekdayCase {
  int year, month, day, weekday;
};
void PrintTo(const WeekdayCase& c, std::ostream* os) {
  *os << c.year << "-" << c.month << "-" << c.day;
}

class WeekdayTest : public ::testing::TestWithParam<WeekdayCase> {};

TEST_P(WeekdayTest, GivesTheGregorianWeekday) {
  const WeekdayCase& c = GetParam();
  EXPECT_EQ(weekdayOf(c.year, c.month, c.day), c.weekday) << c.year << "-" << c.month << "-" << c.day;
}

INSTANTIATE_TEST_SUITE_P(Dates, WeekdayTest,
                         ::testing::Values(WeekdayCase{2010, 9, 9, 4}, WeekdayCase{2012, 2, 29, 3},
                                           WeekdayCase{2010, 2, 28, 0}, WeekdayCase{2000, 3, 1, 3},
                                           WeekdayCase{2100, 3, 1, 1}, WeekdayCase{2011, 1, 1, 6},
                                           WeekdayCase{2024, 12, 31, 2}, WeekdayCase{2000, 1, 1, 6}));

TEST(WeekdayTest, AgreesWithTheCalendarForEveryDayOfFourCenturies) {
  // 2000-01-01 was a Saturday; step day by day through 1999..2401 and compare.
  CalendarTime t{1999, 1, 1, 0, 0, 0};
  int expected = 5;  // 1999-01-01 was a Friday
  while (t.year < 2401) {
    ASSERT_EQ(weekdayOf(t.year, t.month, t.day), expected) << t.year << "-" << t.month << "-" << t.day;
    t = addSeconds(t, 86400);
    expected = (expected + 1) % 7;
  }
}

TEST(CalendarTest, LeapYears) {
  EXPECT_TRUE(isLeapYear(2012));
  EXPECT_TRUE(isLeapYear(2000));
  EXPECT_FALSE(isLeapYear(2100));
  EXPECT_FALSE(isLeapYear(2011));
}

TEST(CalendarTest, MonthLengths) {
  EXPECT_EQ(monthLength(2012, 2), 29);
  EXPECT_EQ(monthLength(2011, 2), 28);
  EXPECT_EQ(monthLength(2011, 4), 30);
  EXPECT_EQ(monthLength(2011, 12), 31);
  EXPECT_EQ(monthLength(2011, 0), 0);
  EXPECT_EQ(monthLength(2011, 13), 0);
}

TEST(CalendarTest, AddSecondsCarriesThroughTheCalendar) {
  EXPECT_EQ(addSeconds({2012, 2, 28, 23, 30, 0}, 3600), (CalendarTime{2012, 2, 29, 0, 30, 0}));
  EXPECT_EQ(addSeconds({2010, 12, 31, 23, 0, 0}, 3600), (CalendarTime{2011, 1, 1, 0, 0, 0}));
  EXPECT_EQ(addSeconds({2011, 1, 1, 0, 0, 0}, -1), (CalendarTime{2010, 12, 31, 23, 59, 59}));
  EXPECT_EQ(addSeconds({2010, 3, 1, 0, 0, 0}, -86400), (CalendarTime{2010, 2, 28, 0, 0, 0}));
}

TEST(CalendarTest, CalendarSecondsBetweenIsExact) {
  EXPECT_EQ(calendarSecondsBetween({2010, 9, 9, 22, 50, 0}, {2010, 9, 10, 1, 10, 0}), 2 * 3600 + 20 * 60);
  EXPECT_EQ(calendarSecondsBetween({2012, 2, 28, 0, 0, 0}, {2012, 3, 1, 0, 0, 0}), 2 * 86400);
  EXPECT_EQ(calendarSecondsBetween({2010, 9, 10, 0, 0, 0}, {2010, 9, 9, 0, 0, 0}), -86400);
}

}  // namespace
}  // namespace tellurix::tracklog
