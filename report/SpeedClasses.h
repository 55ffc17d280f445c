#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

namespace tellurix::report {

// The report's five speed classes over the 10 km/h speed buckets (bucket 12 holds 120 km/h and
// above), with the bounds their row labels print in km/h and in miles per hour.
struct SpeedClass {
  const char* name;
  std::size_t firstBucket;
  std::size_t lastBucket;
  int fromKmh;
  int toKmh;  // 0: no upper bound
  int fromMph;
  int toMph;
};

inline constexpr std::array<SpeedClass, 5> kSpeedClasses{{
    {"Congestion", 0, 0, 0, 10, 0, 6},
    {"Slow", 1, 5, 10, 60, 6, 37},
    {"Medium", 6, 7, 60, 80, 37, 50},
    {"Fast", 8, 11, 80, 120, 50, 75},
    {"Excessive", 12, 12, 120, 0, 75, 0},
}};

// The speed bucket of a whole-number speed in km/h.
inline std::size_t speedBucketOf(int wholeKmh) {
  return static_cast<std::size_t>(std::clamp(wholeKmh / 10, 0, 12));
}

// The index in kSpeedClasses of a whole-number speed in km/h.
inline std::size_t speedClassOf(int wholeKmh) {
  const std::size_t bucket = speedBucketOf(wholeKmh);
  std::size_t k = 0;
  while (kSpeedClasses[k].lastBucket < bucket) ++k;
  return k;
}

}  // namespace tellurix::report
