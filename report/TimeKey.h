#pragma once

#include <cstdint>

#include "tracklog/Calendar.h"

namespace tellurix::report {

// A date-time as the number YYYYMMDDhhmmss, compared numerically.
constexpr std::int64_t timeKey(std::int64_t year, std::int64_t month, std::int64_t day, std::int64_t hour,
                               std::int64_t minute, std::int64_t second) {
  return ((((year * 100 + month) * 100 + day) * 100 + hour) * 100 + minute) * 100 + second;
}

constexpr std::int64_t timeKey(const tracklog::CalendarTime& t) {
  return timeKey(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

}  // namespace tellurix::report
