#pragma once

#include <array>
#include <cstdint>

#include "charts/ChartTables.h"
#include "tracklog/Calendar.h"
#include "tracklog/TrackPoint.h"
#include "tracklog/TrackStore.h"

namespace tellurix::report {

// Per-run accumulators, fed point by point while the log is read.
struct TravelStats {
  std::int64_t speedSum = 0;
  std::int64_t movingCount = 0;
  int maxSpeed = 0;
  std::array<std::int64_t, 13> speedCounts{};
  std::array<std::int64_t, 6> timeCounts{};
  std::array<std::int64_t, 7> weekdayCounts{};  // index = weekdayOf, 0 = Sunday
  std::int64_t hardAccel = 0;
  std::int64_t extremeAccel = 0;
  std::int64_t hardBrake = 0;
  std::int64_t extremeBrake = 0;
  double totalDistance = 0;  // metres
  std::int64_t totalStopSeconds = 0;

  // One selected point in report time; `previous` is the point selected before it, if any.
  void addPoint(const tracklog::TrackPoint& local, const tracklog::TrackPoint* previous);
};

// The report's three share tables in printed order, in hundredths of a percent: each row
// rounded half up on the exact share, then the rows corrected to sum to exactly 100.00.
struct ShareTables {
  std::array<std::int64_t, 5> speedClasses{};  // Congestion, Slow, Medium, Fast, Excessive
  std::array<std::int64_t, 6> timeOfDay{};     // Early Morning ... Night
  std::array<std::int64_t, 7> weekdays{};      // Monday first, Sunday last
};

// What the report text shows beyond the accumulators. Needs at least one selected point.
struct TravelFigures {
  tracklog::CalendarTime from;  // first selected point, report time
  tracklog::CalendarTime to;    // last selected point
  // Exact seconds from `from` to `to`; 0 when the last point is not later than the first
  // (one point, or a log out of time order), and then every rate is 0.
  std::int64_t periodSeconds = 0;
  std::int64_t movingSeconds = 0;   // never negative
  std::int64_t drivingAverage = 0;  // km/h over the moving points, 0 when there are none
  std::int64_t totalAverage = 0;    // km/h over all points
  double hardBrakePerDay = 0;
  double extremeBrakePerDay = 0;
  double hardAccelPerDay = 0;
  double extremeAccelPerDay = 0;
  ShareTables shares;
};

TravelFigures travelFigures(const TravelStats& stats, const tracklog::TrackStore& store);

// The exact travel period of the selected points (see TravelFigures::periodSeconds).
std::int64_t travelPeriodSeconds(const tracklog::TrackStore& store);

// `counts` as hundredths of a percent of `total` (> 0), half up on the exact value, corrected
// to a sum of 10000 on the largest row, the last of equal largest.
template <std::size_t N>
std::array<std::int64_t, N> shareHundredths(const std::array<std::int64_t, N>& counts, std::int64_t total) {
  std::array<std::int64_t, N> shares{};
  std::int64_t sum = 0;
  std::size_t largest = 0;
  for (std::size_t i = 0; i < N; ++i) {
    shares[i] = (20000 * counts[i] + total) / (2 * total);
    sum += shares[i];
    if (shares[i] >= shares[largest]) largest = i;
  }
  shares[largest] -= sum - 10000;
  return shares;
}

// The unrounded fractions (count / pointCount) the chart workbook plots; pointCount > 0.
charts::ChartTables chartTables(const TravelStats& stats, std::uint32_t pointCount);

}  // namespace tellurix::report
