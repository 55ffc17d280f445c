#include "TrackGeometry.h"

#include <algorithm>
#include <cmath>

#include "report/SpeedClasses.h"
#include "tracklog/Calendar.h"

namespace tellurix::map {

std::int64_t breakSeconds(std::int32_t stopPeriodMinutes) {
  return std::max<std::int64_t>(std::int64_t{stopPeriodMinutes} * 60, 60);
}

TrackGeometry::TrackGeometry(const TripData& trip) {
  const std::vector<tracklog::TrackPoint>& p = trip.points;
  points_.reserve(p.size());
  classes_.reserve(p.size());
  breaks_.reserve(p.size());
  const std::int64_t gap = breakSeconds(trip.results.stopPeriodMinutes);
  double longitude = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    // Each longitude moved by whole turns to within half a turn of the one before.
    longitude = i == 0 ? p[i].longitude : longitude + std::remainder(p[i].longitude - longitude, 360.0);
    points_.push_back(project(p[i].latitude, longitude));
    classes_.push_back(static_cast<std::uint8_t>(report::speedClassOf(tracklog::wholeSpeed(p[i]))));
    bool broken = i == 0;
    if (!broken) {
      const std::int64_t seconds = tracklog::calendarSecondsBetween(tracklog::calendarTimeOf(p[i - 1]),
                                                                    tracklog::calendarTimeOf(p[i]));
      broken = seconds > gap || seconds < -gap;
    }
    breaks_.push_back(broken ? 1 : 0);
  }
}

WorldBox TrackGeometry::box(std::size_t first, std::size_t last) const {
  if (points_.empty()) return WorldBox::around({kTileSize / 2, kTileSize / 2});
  last = std::min(last, points_.size() - 1);
  first = std::min(first, last);
  WorldBox b = WorldBox::around(points_[first]);
  for (std::size_t i = first + 1; i <= last; ++i) b.include(points_[i]);
  return b;
}

}  // namespace tellurix::map
