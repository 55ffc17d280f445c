#pragma once

#include <cstdint>

namespace tellurix::tracklog {

// One decoded fix. Date and time are UTC as logged, or report time once shifted into the
// selected zone; fields are kept exactly as stored, even when out of range.
struct TrackPoint {
  std::uint8_t onFlag = 0;
  double latitude = 0.0;   // degrees, north positive
  double longitude = 0.0;  // degrees, east positive
  float altitude = 0.0F;   // metres
  float speed = 0.0F;      // km/h, a whole number after decoding
  std::uint16_t year = 0;
  std::uint8_t month = 0;
  std::uint8_t day = 0;
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
  std::uint8_t second = 0;
};

// A point's speed as the whole number every classification uses (truncated toward zero).
inline int wholeSpeed(const TrackPoint& p) {
  return static_cast<int>(p.speed);
}

}  // namespace tellurix::tracklog
