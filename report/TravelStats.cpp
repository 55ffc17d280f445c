#include "TravelStats.h"

#include <algorithm>

#include "tracklog/Calendar.h"

namespace tellurix::report {
namespace {

int timeOfDayBucket(const tracklog::TrackPoint& p) {
  const int t = p.hour * 10000 + p.minute * 100 + p.second;
  if (t > 20000 && t <= 60000) return 0;
  if (t > 60000 && t <= 100000) return 1;
  if (t > 100000 && t <= 140000) return 2;
  if (t > 140000 && t <= 180000) return 3;
  if (t > 180000 && t <= 220000) return 4;
  return 5;
}

}  // namespace

void TravelStats::addPoint(const tracklog::TrackPoint& local, const tracklog::TrackPoint* previous) {
  const int v = tracklog::wholeSpeed(local);
  speedSum += v;
  maxSpeed = std::max(maxSpeed, v);
  speedCounts[static_cast<std::size_t>(std::min(v / 10, 12))] += 1;
  timeCounts[static_cast<std::size_t>(timeOfDayBucket(local))] += 1;
  weekdayCounts[static_cast<std::size_t>(tracklog::weekdayOf(local.year, local.month, local.day))] += 1;

  if (previous != nullptr) {
    // A one-second step as the seconds field alone shows it.
    const int step = local.second - previous->second;
    if (step == 1 || step == -59) {
      const int d = v - tracklog::wholeSpeed(*previous);
      if (d >= 15 && d < 25) hardAccel += 1;
      if (d >= 25) extremeAccel += 1;
      if (-d >= 15 && -d < 25) hardBrake += 1;
      if (-d >= 25) extremeBrake += 1;
    }
  }
  if (v != 0) movingCount += 1;
}

}  // namespace tellurix::report
