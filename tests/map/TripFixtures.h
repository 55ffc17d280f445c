#pragma once

#include <memory>
#include <string>
#include <vector>

#include "map/TripData.h"
#include "tracklog/Calendar.h"
#include "tracklog/TrackPoint.h"

namespace tellurix::testing {

// Builds a log second by second, as the logger records it (UTC, longitudes within ±180).
class TrackBuilder {
 public:
  TrackBuilder(double latitude, double longitude, tracklog::CalendarTime startUtc = {2010, 9, 9, 8, 0, 0});

  // One point a second for `seconds`, moving so many metres east and north each second.
  TrackBuilder& drive(int seconds, double eastMetres, double northMetres, float speed);
  // A point every `every` seconds for `seconds`, at 0 km/h, within 2 m of where it stands.
  TrackBuilder& stay(int seconds, int every = 10);
  // The logger off: no points for `seconds`.
  TrackBuilder& pause(int seconds);
  // A single point at the current place and time with the given speed (then one second on).
  TrackBuilder& point(float speed);

  [[nodiscard]] const std::vector<tracklog::TrackPoint>& points() const { return points_; }

 private:
  void add(float speed);

  double latitude_;
  double longitude_;
  tracklog::CalendarTime time_;
  std::vector<tracklog::TrackPoint> points_;
};

// North at 50 km/h, a 15-minute stop, east at 100 km/h with one burst to 140, a 12-minute stop,
// then north at 130 km/h: three legs, two of them ending in a stop.
std::vector<tracklog::TrackPoint> twoStopDrive(double latitude = 25.0, double longitude = 121.5);

// The trip of a report made from the points by the report run itself (the whole log selected,
// UTC), and the lines of the report text it wrote.
struct ReportedTrip {
  std::shared_ptr<const map::TripData> trip;
  std::vector<std::string> reportLines;
};
ReportedTrip reportTrip(const std::vector<tracklog::TrackPoint>& points, const std::string& unit = "KPH",
                        const std::string& stopPeriod = "10");

}  // namespace tellurix::testing
