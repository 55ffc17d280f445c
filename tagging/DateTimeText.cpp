#include "DateTimeText.h"

#include <cstdio>

namespace tellurix::tagging {
namespace {

// The digits at text[first, first + count) as a number; nothing when one is not a digit.
std::optional<int> digitsAt(std::string_view text, std::size_t first, std::size_t count) {
  int value = 0;
  for (std::size_t i = first; i < first + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::string dateTimeText(const tracklog::CalendarTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                t.second);
  return text;
}

bool inShownYears(const tracklog::CalendarTime& t) {
  return t.year >= 1 && t.year <= 9999;
}

std::optional<tracklog::CalendarTime> readDateTime(std::string_view text) {
  if (text.size() != 19 || text[4] != '/' || text[7] != '/' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  const auto year = digitsAt(text, 0, 4);
  const auto month = digitsAt(text, 5, 2);
  const auto day = digitsAt(text, 8, 2);
  const auto hour = digitsAt(text, 11, 2);
  const auto minute = digitsAt(text, 14, 2);
  const auto second = digitsAt(text, 17, 2);
  if (!year || !month || !day || !hour || !minute || !second) return std::nullopt;
  const tracklog::CalendarTime t{*year, *month, *day, *hour, *minute, *second};
  if (!inShownYears(t) || t.day < 1 || t.day > tracklog::monthLength(t.year, t.month) || t.hour > 23 ||
      t.minute > 59 || t.second > 59) {
    return std::nullopt;
  }
  return t;
}

}  // namespace tellurix::tagging
