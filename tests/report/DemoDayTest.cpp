// The demo day of the simulated logger is what a newcomer's first report and the screenshots
// show: its braking and acceleration have to read like a person's driving.
#include <gtest/gtest.h>

#include <string>

#include "DemoRequest.h"
#include "report/ReportRun.h"
#include "support/RecordingReportUi.h"
#include "support/TestFiles.h"
#include "tools/demotrack/DemoTrack.h"

namespace tellurix::report {
namespace {

class DemoDayTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(DemoDayTest, BrakesAndAcceleratesHardAlikeAFewDozenTimesADay) {
  testing::TempDir dir;
  demotrack::DemoTrackOptions options;
  options.records = 28800;  // the simulator's day: eight hours at one fix a second
  options.seed = GetParam();
  const auto points = demotrack::makeDemoTrack(options);
  ASSERT_TRUE(demotrack::writeLogFile(dir.file("LOGDATA.BIN"), points));

  tracklog::FixedFields fields;
  for (const auto& [field, text] : testing::demoWindowTexts("(UTC+08:00) Taipei")) fields.set(field, text);
  ReportSession session;
  testing::RecordingReportUi ui(dir.file("out/monday"));
  const ReportEnvironment environment{dir.file("LOGDATA.BIN"), static_cast<std::uint32_t>(points.size() * 16),
                                      ""};
  ASSERT_EQ(ReportRun(session, fields, ui, environment).run(), RunOutcome::Done);
  ASSERT_EQ(session.store.pointCount, points.size());

  const TravelFigures figures = travelFigures(session.stats, session.store);
  EXPECT_GE(figures.hardBrakePerDay, 3);
  EXPECT_LE(figures.hardBrakePerDay, 60);
  EXPECT_GE(figures.hardAccelPerDay, 3);
  EXPECT_LE(figures.hardAccelPerDay, 60);
  EXPECT_LE(figures.hardBrakePerDay, 2 * figures.hardAccelPerDay);
  EXPECT_LE(figures.hardAccelPerDay, 2 * figures.hardBrakePerDay);
  // Extreme changes (25 km/h in a second) are a rare emergency, not a habit.
  EXPECT_LE(figures.extremeBrakePerDay, figures.hardBrakePerDay / 4);
  EXPECT_LE(figures.extremeAccelPerDay, figures.hardAccelPerDay / 4);
}

// The simulator's own day first, then days of other seeds (its --seed option).
INSTANTIATE_TEST_SUITE_P(Seeds, DemoDayTest, ::testing::Values(20100909U, 1U, 7U));

}  // namespace
}  // namespace tellurix::report
