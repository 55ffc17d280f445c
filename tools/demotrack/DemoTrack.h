#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tracklog/Calendar.h"
#include "tracklog/TrackPoint.h"

namespace tellurix::demotrack {

// A deterministic, plausible log: drives through a city and on open roads with traffic-light
// halts (braked into and left alike, a few of them hard), parked stops of 12 to 50 minutes with
// GPS jitter, and the odd logger-off gap.
struct DemoTrackOptions {
  std::uint32_t records = 8000;
  std::uint32_t seed = 20100909;
  tracklog::CalendarTime startUtc{2010, 9, 9, 0, 30, 0};
  double latitude = 25.0339;
  double longitude = 121.5645;
};

std::vector<tracklog::TrackPoint> makeDemoTrack(const DemoTrackOptions& options);

// Writes the points as log records; false when the file cannot be written.
bool writeLogFile(const std::string& path, const std::vector<tracklog::TrackPoint>& points);

}  // namespace tellurix::demotrack
