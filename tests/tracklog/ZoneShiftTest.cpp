#include <gtest/gtest.h>

#include "tracklog/Errors.h"
#include "tracklog/ZoneShift.h"

namespace tellurix::tracklog {
namespace {

struct ShiftCase {
  const char* name;
  const char* zone;
  CalendarTime utc;
  CalendarTime local;
};
void PrintTo(const ShiftCase& c, std::ostream* os) {
  *os << c.name;
}

class ApplyZoneOffsetTest : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(ApplyZoneOffsetTest, ShiftsIntoTheZone) {
  const ShiftCase& c = GetParam();
  ZoneState zone;
  CalendarTime t = c.utc;
  ApplyZoneOffset(zone, c.zone, t);
  EXPECT_EQ(t, c.local) << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":" << t.minute << ":"
                        << t.second;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplyZoneOffsetTest,
    ::testing::Values(
        ShiftCase{"minute_and_hour_carry",
                  "(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi",
                  {2010, 9, 9, 23, 45, 7},
                  {2010, 9, 10, 5, 15, 7}},
        ShiftCase{"negative_half_hour",
                  "(GMT-03:30) Newfoundland",
                  {2010, 9, 9, 0, 10, 0},
                  {2010, 9, 8, 20, 40, 0}},
        ShiftCase{"end_of_april", "(GMT+08:00) Taipei", {2010, 4, 30, 20, 0, 0}, {2010, 5, 1, 4, 0, 0}},
        ShiftCase{"end_of_year", "(GMT+08:00) Taipei", {2010, 12, 31, 20, 0, 0}, {2011, 1, 1, 4, 0, 0}},
        ShiftCase{"leap_day", "(GMT+08:00) Taipei", {2012, 2, 28, 20, 0, 0}, {2012, 2, 29, 4, 0, 0}},
        ShiftCase{"no_leap_day", "(GMT+08:00) Taipei", {2010, 2, 28, 20, 0, 0}, {2010, 3, 1, 4, 0, 0}},
        ShiftCase{
            "gmt_without_offset", "(GMT) Casablanca", {2010, 9, 9, 23, 59, 59}, {2010, 9, 9, 23, 59, 59}},
        ShiftCase{"nothing_selected", "", {2010, 9, 9, 1, 2, 3}, {2010, 9, 9, 1, 2, 3}},
        // Shifting back from the first of a month borrows into the previous month, never day 0.
        ShiftCase{"borrow_into_previous_month",
                  "(GMT-03:30) Newfoundland",
                  {2010, 9, 1, 0, 10, 0},
                  {2010, 8, 31, 20, 40, 0}},
        ShiftCase{"borrow_into_previous_year",
                  "(GMT-05:00) Eastern Time",
                  {2011, 1, 1, 3, 0, 0},
                  {2010, 12, 31, 22, 0, 0}},
        ShiftCase{"borrow_into_leap_february",
                  "(GMT-08:00) Pacific Time",
                  {2012, 3, 1, 2, 0, 0},
                  {2012, 2, 29, 18, 0, 0}},
        ShiftCase{"borrow_into_february",
                  "(GMT-08:00) Pacific Time",
                  {2011, 3, 1, 2, 0, 0},
                  {2011, 2, 28, 18, 0, 0}},
        ShiftCase{"borrow_into_thirty_day_month",
                  "(GMT-12:00) Date Line",
                  {2010, 10, 1, 11, 0, 0},
                  {2010, 9, 30, 23, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

struct LabelCase {
  const char* zone;
  ZoneOffset offset;
  const char* label;
};
void PrintTo(const LabelCase& c, std::ostream* os) {
  *os << c.zone;
}

class ReadZoneOffsetTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(ReadZoneOffsetTest, ReadsOffsetAndLabel) {
  ZoneState zone;
  ReadZoneOffset(zone, GetParam().zone);
  EXPECT_EQ(zone.offset, GetParam().offset);
  EXPECT_EQ(zone.label, GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(Names, ReadZoneOffsetTest,
                         ::testing::Values(LabelCase{"(GMT+08:00) Taipei", {8, 0}, "(GMT+8:00)"},
                                           LabelCase{"(UTC+08:00) Beijing", {8, 0}, "(GMT+8:00)"},
                                           LabelCase{"(GMT-03:30) Newfoundland", {-3, -30}, "(GMT-3:30)"},
                                           LabelCase{"(UTC+05:45) Kathmandu", {5, 45}, "(GMT+5:45)"},
                                           LabelCase{"(UTC+13:00) Nuku'alofa", {13, 0}, "(GMT+13:00)"},
                                           LabelCase{"(GMT) Greenwich Mean Time", {0, 0}, "(GMT+0:00)"},
                                           LabelCase{
                                               "(UTC) Coordinated Universal Time", {0, 0}, "(GMT+0:00)"}));

TEST(ReadZoneOffsetTest, AnUnreadableNameKeepsTheLastZone) {
  ZoneState zone;
  EXPECT_EQ(zone.label, "");
  ReadZoneOffset(zone, "(GMT+08:00) Taipei");
  for (const char* name : {"", "Taipei", "(GMT"}) {
    ReadZoneOffset(zone, name);
    EXPECT_EQ(zone.offset, (ZoneOffset{8, 0})) << name;
    EXPECT_EQ(zone.label, "(GMT+8:00)") << name;
  }
}

TEST(ReadZoneOffsetTest, NonNumericDigitsOfATypedZoneAreAConversionError) {
  ZoneState zone;
  EXPECT_THROW(ReadZoneOffset(zone, "(GMT+ab:00) typed"), ConversionError);
  EXPECT_THROW(ReadZoneOffset(zone, "(GMT+08"), ConversionError);
}

// The name is read before every point; one read last must not stand in for another.
TEST(ReadZoneOffsetTest, AZoneReadAgainAfterAnotherIsThatZoneAgain) {
  ZoneState zone;
  const struct {
    const char* name;
    ZoneOffset offset;
    const char* label;
  } reads[] = {
      {"(GMT+08:00) Taipei", {8, 0}, "(GMT+8:00)"}, {"(UTC-03:30) Newfoundland", {-3, -30}, "(GMT-3:30)"},
      {"(GMT+08:00) Taipei", {8, 0}, "(GMT+8:00)"}, {"", {8, 0}, "(GMT+8:00)"},
      {"(GMT) London", {0, 0}, "(GMT+0:00)"},       {"(GMT+08:00) Taipei", {8, 0}, "(GMT+8:00)"}};
  for (const auto& read : reads) {
    ReadZoneOffset(zone, read.name);
    EXPECT_EQ(zone.offset, read.offset) << read.name;
    EXPECT_EQ(zone.label, read.label) << read.name;
  }
}

TEST(ReadZoneOffsetTest, ANameThatFailedFailsAgain) {
  ZoneState zone;
  ReadZoneOffset(zone, "(GMT+08:00) Taipei");
  EXPECT_THROW(ReadZoneOffset(zone, "(GMT+ab:00) typed"), ConversionError);
  EXPECT_THROW(ReadZoneOffset(zone, "(GMT+ab:00) typed"), ConversionError);
  EXPECT_EQ(zone.label, "(GMT+8:00)");
}

}  // namespace
}  // namespace tellurix::tracklog
