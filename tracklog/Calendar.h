#pragma once

#include <cstdint>

#include "TrackPoint.h"

namespace tellurix::tracklog {

// A date and time as plain numbers, for the arithmetic that must not wrap in 8-bit fields.
struct CalendarTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;

  friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

bool isLeapYear(int year);

// Days in `month` of `year`; 0 for a month outside 1..12.
int monthLength(int year, int month);

CalendarTime calendarTimeOf(const TrackPoint& p);
void setCalendarTime(TrackPoint& p, const CalendarTime& t);

// Seconds from a to b by the logger's own rule: more than one calendar year apart counts as
// 365 days, an earlier year of b is not corrected.
std::int32_t secondsBetween(const TrackPoint& a, const TrackPoint& b);

// 0 = Sunday ... 6 = Saturday.
int weekdayOf(int year, int month, int day);

// Exact whole seconds from a to b on the Gregorian calendar (negative when b is earlier).
std::int64_t calendarSecondsBetween(const CalendarTime& a, const CalendarTime& b);

// `t` moved by `seconds` on the Gregorian calendar, leap days included. `t` must be a valid date.
CalendarTime addSeconds(const CalendarTime& t, std::int64_t seconds);

}  // namespace tellurix::tracklog
