#include "LogBuilder.h"

#include <fstream>

#include "tracklog/Calendar.h"
#include "tracklog/LogRecord.h"

namespace tellurix::testing {

tracklog::TrackPoint fix(double latitude, double longitude, float speed, int year, int month, int day,
                         int hour, int minute, int second, float altitude) {
  tracklog::TrackPoint p;
  p.latitude = latitude;
  p.longitude = longitude;
  p.speed = speed;
  p.altitude = altitude;
  tracklog::setCalendarTime(p, {year, month, day, hour, minute, second});
  return p;
}

std::vector<tracklog::TrackPoint> straightDrive(const tracklog::TrackPoint& first, int count,
                                                double stepMetres, float speed) {
  std::vector<tracklog::TrackPoint> points;
  tracklog::TrackPoint p = first;
  p.speed = speed;
  for (int i = 0; i < count; ++i) {
    points.push_back(p);
    p.latitude += stepMetres / 110574.0;
    tracklog::setCalendarTime(p, tracklog::addSeconds(tracklog::calendarTimeOf(p), 1));
  }
  return points;
}

void writeLog(const std::string& path, const std::vector<tracklog::TrackPoint>& points) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const auto& p : points) {
    const tracklog::LogRecord record = tracklog::encodeLogRecord(p);
    out.write(reinterpret_cast<const char*>(record.data()), static_cast<std::streamsize>(record.size()));
  }
}

}  // namespace tellurix::testing
