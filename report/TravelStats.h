#pragma once

#include <array>
#include <cstdint>

#include "tracklog/TrackPoint.h"

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

}  // namespace tellurix::report
