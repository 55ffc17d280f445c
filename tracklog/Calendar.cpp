#include "Calendar.h"

#include <algorithm>
#include <array>

namespace tellurix::tracklog {
namespace {

constexpr std::array<int, 12> kMonthDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

std::int32_t secondsOfYear(const TrackPoint& p) {
  // Corrupt months index a twelve-entry table: clamp instead of reading past it.
  const int monthsBefore = std::clamp(static_cast<int>(p.month) - 1, 0, 12);
  int days = 0;
  for (int m = 0; m < monthsBefore; ++m) days += kMonthDays[static_cast<std::size_t>(m)];
  if (isLeapYear(p.year) && p.month > 2) days += 1;
  days += p.day - 1;
  return days * 86400 + p.hour * 3600 + p.minute * 60 + p.second;
}

// Days since 0000-03-01 of the proleptic Gregorian calendar.
std::int64_t dayNumber(std::int64_t y, std::int64_t m, std::int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t mp = (m + 9) % 12;
  const std::int64_t doy = (153 * mp + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe;
}

CalendarTime civilFromDays(std::int64_t z) {
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d), 0, 0, 0};
}

std::int64_t secondsSinceEpoch(const CalendarTime& t) {
  return dayNumber(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

}  // namespace

bool isLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int monthLength(int year, int month) {
  if (month < 1 || month > 12) return 0;
  if (month == 2) return isLeapYear(year) ? 29 : 28;
  return kMonthDays[static_cast<std::size_t>(month - 1)];
}

CalendarTime calendarTimeOf(const TrackPoint& p) {
  return {p.year, p.month, p.day, p.hour, p.minute, p.second};
}

void setCalendarTime(TrackPoint& p, const CalendarTime& t) {
  p.year = static_cast<std::uint16_t>(t.year);
  p.month = static_cast<std::uint8_t>(t.month);
  p.day = static_cast<std::uint8_t>(t.day);
  p.hour = static_cast<std::uint8_t>(t.hour);
  p.minute = static_cast<std::uint8_t>(t.minute);
  p.second = static_cast<std::uint8_t>(t.second);
}

std::int32_t secondsBetween(const TrackPoint& a, const TrackPoint& b) {
  if (b.year - a.year > 1) return 31536000;
  const std::int32_t sa = secondsOfYear(a);
  std::int32_t sb = secondsOfYear(b);
  if (b.year > a.year) sb += isLeapYear(a.year) ? 31622400 : 31536000;
  return sb - sa;
}

int weekdayOf(int y, int m, int d) {
  const int c = y > 0 ? (y + (y - 1) / 4 - (y - 1) / 100 + (y - 1) / 400 + 6) % 7
                      : (y + y / 4 - y / 100 + y / 400 + 5) % 7;
  int w = m > 2 ? ((m + 1) * 3 / 5 + (m + 1) * 2 + c) % 7 : ((m + 2) * 3 / 5 + (m + 2) * 2 + c) % 7;
  if (isLeapYear(y) && m > 2) w = (w + 1) % 7;
  // Only years before 1 can make the remainder negative; keep the result a valid index.
  return ((w + d) % 7 + 7) % 7;
}

std::int64_t calendarSecondsBetween(const CalendarTime& a, const CalendarTime& b) {
  return secondsSinceEpoch(b) - secondsSinceEpoch(a);
}

CalendarTime addSeconds(const CalendarTime& t, std::int64_t seconds) {
  const std::int64_t total = secondsSinceEpoch(t) + seconds;
  std::int64_t days = total / 86400;
  std::int64_t rest = total % 86400;
  if (rest < 0) {
    rest += 86400;
    days -= 1;
  }
  CalendarTime out = civilFromDays(days);
  out.hour = static_cast<int>(rest / 3600);
  out.minute = static_cast<int>(rest / 60 % 60);
  out.second = static_cast<int>(rest % 60);
  return out;
}

}  // namespace tellurix::tracklog
