#pragma once

#include <array>

namespace tellurix::charts {

// Shares of the selected points as single-precision fractions (count / pointCount), unrounded.
using SpeedHistogram = std::array<float, 13>;  // 10 km/h buckets, the last 120 km/h and above
using TimeOfDayShares = std::array<float, 6>;  // Early Morning, Morning, Noon, Afternoon, Evening, Night
using WeekdayShares = std::array<float, 7>;    // Sunday first

struct ChartTables {
  SpeedHistogram speed{};
  TimeOfDayShares timeOfDay{};
  WeekdayShares weekday{};
};

}  // namespace tellurix::charts
