#include <gtest/gtest.h>

#include "report/ReportRun.h"
#include "support/LogBuilder.h"
#include "support/RecordingReportUi.h"
#include "support/TestFiles.h"

namespace tellurix::report {
namespace {

using testing::fix;
using tracklog::Field;
using tracklog::TrackPoint;

// A drive north at 40 km/h with one burst to 95 km/h, a 15-minute stop, then a drive at 95 km/h.
std::vector<TrackPoint> driveStopDrive() {
  std::vector<TrackPoint> points =
      testing::straightDrive(fix(25, 121.5, 40, 2010, 9, 9, 8, 0, 0), 60, 20, 40);
  points[30].speed = 95;
  points.push_back(fix(points.back().latitude, 121.5, 0, 2010, 9, 9, 8, 16, 0));
  const auto second =
      testing::straightDrive(fix(points.back().latitude + 0.01, 121.5, 95, 2010, 9, 9, 8, 16, 1), 60, 25, 95);
  points.insert(points.end(), second.begin(), second.end());
  return points;
}

class ReportResultsTest : public ::testing::Test {
 protected:
  ReportResultsTest() {
    const char* start[] = {"2010", "9", "9", "0", "0", "0"};
    const char* end[] = {"2010", "9", "9", "23", "59", "59"};
    for (int i = 0; i < 6; ++i) {
      fields.set(static_cast<Field>(static_cast<int>(Field::StartYear) + i), start[i]);
      fields.set(static_cast<Field>(static_cast<int>(Field::EndYear) + i), end[i]);
    }
    fields.set(Field::StopPeriod, " 10 ");
    fields.set(Field::SpeedUnit, "MPH");
    const auto points = driveStopDrive();
    testing::writeLog(dir.file("LOGDATA.BIN"), points);
    receivedBytes = static_cast<std::uint32_t>(points.size() * 16);
  }

  RunOutcome run() {
    testing::RecordingReportUi ui(dir.file("out/trip"));
    return ReportRun(session, fields, ui, {dir.file("LOGDATA.BIN"), receivedBytes, ""}).run();
  }

  testing::TempDir dir;
  tracklog::FixedFields fields;
  ReportSession session;
  std::uint32_t receivedBytes = 0;
};

TEST_F(ReportResultsTest, KeepTheLegsTheReportWasWrittenFromAndTheSettingsAsTheRunReadThem) {
  ASSERT_EQ(run(), RunOutcome::Done);
  const ReportResults& results = session.results;
  EXPECT_TRUE(results.done);
  EXPECT_EQ(results.legs, findLegs(session.store.localPoints(), session.store.pointCount, fields));
  ASSERT_EQ(results.legs.size(), 2U);
  EXPECT_TRUE(results.legs[0].endsInStop);
  EXPECT_EQ(results.unit, tracklog::SpeedUnit::Mph);
  EXPECT_EQ(results.stopPeriodMinutes, 10);
  // The burst in the first leg, not the later points at the same speed.
  EXPECT_EQ(results.maxSpeedPoint, 30U);
}

TEST_F(ReportResultsTest, ALaterRunThatEndsWithoutReportDoneLeavesNoResultsBehind) {
  ASSERT_EQ(run(), RunOutcome::Done);
  fields.set(Field::StartYear, "2011");
  fields.set(Field::EndYear, "2011");
  ASSERT_EQ(run(), RunOutcome::NoMatch);
  EXPECT_FALSE(session.results.done);
  EXPECT_TRUE(session.results.legs.empty());

  fields.set(Field::StartYear, "2010");
  fields.set(Field::EndYear, "2010");
  ASSERT_EQ(run(), RunOutcome::Done);
  fields.set(Field::StopPeriod, "");
  ASSERT_EQ(run(), RunOutcome::Refused);
  EXPECT_FALSE(session.results.done);
}

}  // namespace
}  // namespace tellurix::report
