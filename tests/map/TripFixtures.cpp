#include "TripFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "report/ReportRun.h"
#include "support/LogBuilder.h"
#include "support/RecordingReportUi.h"
#include "support/TestFiles.h"

namespace tellurix::testing {

TrackBuilder::TrackBuilder(double latitude, double longitude, tracklog::CalendarTime startUtc)
    : latitude_(latitude), longitude_(longitude), time_(startUtc) {}

void TrackBuilder::add(float speed) {
  points_.push_back(fix(latitude_, longitude_, speed, time_.year, time_.month, time_.day, time_.hour,
                        time_.minute, time_.second));
}

TrackBuilder& TrackBuilder::drive(int seconds, double eastMetres, double northMetres, float speed) {
  for (int i = 0; i < seconds; ++i) {
    add(speed);
    latitude_ += northMetres / 110574.0;
    longitude_ += eastMetres / (111320.0 * std::cos(latitude_ * 3.141592653589793 / 180));
    if (longitude_ > 180) longitude_ -= 360;
    if (longitude_ < -180) longitude_ += 360;
    time_ = tracklog::addSeconds(time_, 1);
  }
  return *this;
}

TrackBuilder& TrackBuilder::stay(int seconds, int every) {
  const double home = latitude_;
  for (int t = 0; t < seconds; t += every) {
    latitude_ = home + ((t / every) % 2 == 0 ? 0.0 : 1.5 / 110574.0);
    add(0);
    time_ = tracklog::addSeconds(time_, every);
  }
  latitude_ = home;
  return *this;
}

TrackBuilder& TrackBuilder::pause(int seconds) {
  time_ = tracklog::addSeconds(time_, seconds);
  return *this;
}

TrackBuilder& TrackBuilder::point(float speed) {
  add(speed);
  time_ = tracklog::addSeconds(time_, 1);
  return *this;
}

std::vector<tracklog::TrackPoint> twoStopDrive(double latitude, double longitude) {
  TrackBuilder b(latitude, longitude);
  b.drive(300, 0, 14, 50).stay(15 * 60).drive(100, 28, 0, 100).point(140).drive(100, 28, 0, 100);
  b.stay(12 * 60).drive(100, 0, 36, 130);
  return b.points();
}

ReportedTrip reportTrip(const std::vector<tracklog::TrackPoint>& points, const std::string& unit,
                        const std::string& stopPeriod) {
  using tracklog::Field;
  TempDir dir;
  writeLog(dir.file("LOGDATA.BIN"), points);
  tracklog::FixedFields fields;
  const char* start[] = {"2000", "1", "1", "0", "0", "0"};
  const char* end[] = {"2099", "12", "31", "23", "59", "59"};
  for (int i = 0; i < 6; ++i) {
    fields.set(static_cast<Field>(static_cast<int>(Field::StartYear) + i), start[i]);
    fields.set(static_cast<Field>(static_cast<int>(Field::EndYear) + i), end[i]);
  }
  fields.set(Field::SpeedUnit, unit);
  fields.set(Field::StopPeriod, stopPeriod);
  report::ReportSession session;
  RecordingReportUi ui(dir.file("out/trip"));
  const auto bytes = static_cast<std::uint32_t>(points.size() * 16);
  EXPECT_EQ(report::ReportRun(session, fields, ui, {dir.file("LOGDATA.BIN"), bytes, ""}).run(),
            report::RunOutcome::Done);
  ReportedTrip reported;
  reported.trip = std::make_shared<map::TripData>(map::tripDataOf(session));
  reported.reportLines = crlfLines(readFile(session.names.reportFolder + "trip-report.txt"));
  return reported;
}

}  // namespace tellurix::testing
