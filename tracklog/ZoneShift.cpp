#include "ZoneShift.h"

#include "WholeNumber.h"

namespace tellurix::tracklog {
namespace {

// Characters `first`..`first + count - 1`, counting from 1; shorter or empty past the end.
std::string_view characters(std::string_view text, std::size_t first, std::size_t count) {
  if (text.size() < first) return {};
  return text.substr(first - 1, count);
}

}  // namespace

void ReadZoneOffset(ZoneState& zone, std::string_view zoneName) {
  if (zoneName.size() < 5 || zoneName == zone.readFrom) return;
  const char sign = zoneName[4];
  if (sign == ')') {
    zone.offset = {0, 0};
    zone.label = "(GMT+0:00)";
    zone.readFrom = zoneName;
    return;
  }
  if (sign != '+' && sign != '-') return;
  const int hours = toWholeNumber(characters(zoneName, 6, 2));
  const std::string_view minuteText = characters(zoneName, 9, 2);
  const int minutes = toWholeNumber(minuteText);
  const int direction = sign == '+' ? 1 : -1;
  zone.offset = {direction * hours, direction * minutes};
  zone.label = std::string("(GMT") + sign + std::to_string(hours) + ":" + std::string(minuteText) + ")";
  zone.readFrom = zoneName;
}

void shiftByZoneOffset(const ZoneOffset& offset, CalendarTime& t) {
  int minute = t.minute + offset.minutes;
  int hourCarry = 0;
  if (minute >= 60) {
    minute -= 60;
    hourCarry = 1;
  } else if (minute < 0) {
    minute += 60;
    hourCarry = -1;
  }

  int hour = t.hour + offset.hours + hourCarry;
  int dayCarry = 0;
  if (hour >= 24) {
    hour -= 24;
    dayCarry = 1;
  } else if (hour < 0) {
    hour += 24;
    dayCarry = -1;
  }

  const int length = monthLength(t.year, t.month);
  int day = t.day + dayCarry;
  int month = t.month;
  int year = t.year;
  if (day > length) {
    day -= length;
    month += 1;
    if (month > 12) {
      month -= 12;
      year += 1;
    }
  } else if (dayCarry < 0 && day < 1) {
    month -= 1;
    if (month < 1) {
      month = 12;
      year -= 1;
    }
    day += monthLength(year, month);
  }

  t.year = year;
  t.month = month;
  t.day = day;
  t.hour = hour;
  t.minute = minute;
}

void ApplyZoneOffset(ZoneState& zone, std::string_view zoneName, CalendarTime& t) {
  ReadZoneOffset(zone, zoneName);
  shiftByZoneOffset(zone.offset, t);
}

void ApplyZoneOffset(ZoneState& zone, std::string_view zoneName, TrackPoint& p) {
  CalendarTime t = calendarTimeOf(p);
  ApplyZoneOffset(zone, zoneName, t);
  setCalendarTime(p, t);
}

}  // namespace tellurix::tracklog
