#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "StoredRun.h"
#include "report/ReportRun.h"
#include "report/SummaryReport.h"
#include "support/LogBuilder.h"
#include "support/RecordingReportUi.h"
#include "support/TestFiles.h"

namespace tellurix::report {
namespace {

using testing::fix;
using tracklog::Field;
using tracklog::TrackPoint;

constexpr double kMetresPerDegree = 111215.0;  // of latitude near 25°N

// A hand-built evening drive, in report time (GMT+8), with two stops: a 21-minute stay whose
// tightest 10-minute cluster is 16 minutes long, and a 2 h 20 min stay from 00:10 to 02:30
// around 02:00. Each row: metres north, km/h, day, hour, minute, second.
struct Fix {
  double north;
  float speed;
  int day, hour, minute, second;
};
constexpr Fix kTwoStops[] = {
    {0, 0, 9, 23, 40, 0},    {5, 20, 9, 23, 40, 1},     {17, 45, 9, 23, 40, 2},    {34, 60, 9, 23, 40, 3},
    {90, 100, 9, 23, 40, 5}, {3000, 125, 9, 23, 41, 0}, {6000, 30, 9, 23, 45, 0},  {6008, 0, 9, 23, 45, 1},
    {6002, 0, 9, 23, 50, 0}, {5999, 0, 9, 23, 58, 0},   {6000.5, 0, 10, 0, 5, 0},  {7000, 50, 10, 0, 6, 0},
    {7010, 35, 10, 0, 6, 1}, {11000, 80, 10, 0, 10, 0}, {11003, 0, 10, 0, 10, 30}, {11000, 0, 10, 1, 59, 59},
    {11000, 0, 10, 2, 0, 0}, {11050, 10, 10, 2, 0, 1},  {20000, 65, 10, 2, 30, 0}, {21200, 70, 10, 2, 31, 0}};

TEST(SummaryReportGoldenTest, TwoStopsThroughTheWholeRun) {
  testing::TempDir dir;
  std::vector<TrackPoint> utc;
  for (const Fix& f : kTwoStops) {
    const tracklog::CalendarTime t =
        tracklog::addSeconds({2010, 9, f.day, f.hour, f.minute, f.second}, -8 * 3600);
    utc.push_back(fix(25 + f.north / kMetresPerDegree, 121.5, f.speed, t.year, t.month, t.day, t.hour,
                      t.minute, t.second));
  }
  testing::writeLog(dir.file("LOGDATA.BIN"), utc);

  tracklog::FixedFields fields;
  const char* const window[] = {"2010", "9", "9", "0", "0", "0", "2010", "9", "11", "0", "0", "0"};
  for (int i = 0; i < 12; ++i) fields.set(static_cast<Field>(i), window[i]);
  fields.set(Field::TimeZone, "(GMT+08:00) Taipei");
  fields.set(Field::StopPeriod, " 10 ");
  ReportSession session;
  testing::RecordingReportUi ui(dir.file("out/evening"));
  const ReportEnvironment environment{dir.file("LOGDATA.BIN"), static_cast<std::uint32_t>(utc.size() * 16),
                                      "GT-120"};
  ASSERT_EQ(ReportRun(session, fields, ui, environment).run(), RunOutcome::Done);

  const std::string text = testing::readFile(dir.path() / "out/2010-09-09/evening-report.txt");
  EXPECT_TRUE(testing::matchesGolden("two_stops_report/evening-report.txt", text));
  EXPECT_EQ(session.stats.totalStopSeconds, 960 + 6569);
}

// Writes the head, the given legs and the tail into a string.
std::string reportText(testing::StoredRun& run, const std::vector<Leg>& legs) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* out = open_memstream(&buffer, &size);
  const RunContext context = run.context();
  writeSummaryHead(out, context);
  for (const Leg& leg : legs) writeLegBlock(out, context, leg);
  writeSummaryTail(out, context);
  std::fclose(out);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

std::vector<std::string> reportLines(testing::StoredRun& run, const std::vector<Leg>& legs) {
  return testing::crlfLines(reportText(run, legs));
}

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct UnitCase {
  const char* name;
  const char* unit;
  std::vector<std::string> present;
  std::vector<std::string> absentPrefixes;
};
void PrintTo(const UnitCase& c, std::ostream* os) {
  *os << c.name;
}

class SummaryUnitTest : public ::testing::TestWithParam<UnitCase> {};

// Two points at 45 km/h; 1609 m of travel, all on the one leg.
TEST_P(SummaryUnitTest, WritesTheLinesOfTheUnit) {
  testing::StoredRun run;
  run.select({fix(25, 121, 45, 2010, 9, 9, 10, 0, 0), fix(25.01, 121, 45, 2010, 9, 9, 10, 2, 0)});
  run.stats.totalDistance = 1609;
  run.fields.set(Field::SpeedUnit, GetParam().unit);
  const std::vector<std::string> lines = reportLines(run, {Leg{1, 0, 1, false, 0, 1609}});
  for (const std::string& line : GetParam().present) EXPECT_TRUE(hasLine(lines, line)) << line;
  for (const std::string& prefix : GetParam().absentPrefixes) {
    for (const std::string& line : lines) EXPECT_NE(line.rfind(prefix, 0), 0U) << line;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Units, SummaryUnitTest,
    ::testing::Values(UnitCase{"kph",
                               "KPH",
                               {"      Totally     1.61 km", "     total mileage: 1.6090 km",
                                "Average Speed (Driving Time)                      Avg  45.0KPH",
                                "Average Speed (Total Time)                        Avg  45.0KPH",
                                "Max. Speed                                             45.0KPH"},
                               {}},
                      UnitCase{"mph",
                               "MPH",
                               {"      Totally     1.01 mi", "     total mileage: 1.0056 mi",
                                "Average Speed (Driving Time)                      Avg  28.1MPH",
                                "Average Speed (Total Time)                        Avg  28.1MPH",
                                "Max. Speed                                             28.1MPH"},
                               {}},
                      UnitCase{"another_text_leaves_the_unit_lines_out",
                               "mph",
                               {"Stop (1):", "End"},
                               {"      Totally", "     total mileage", "Average Speed", "Max. Speed"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SummaryReportTest, WithoutAUnitTheTailEndsInTwoDashLines) {
  testing::StoredRun run;
  run.select({fix(25, 121, 45, 2010, 9, 9, 10, 0, 0)});
  run.fields.set(Field::SpeedUnit, "");
  const std::vector<std::string> lines = reportLines(run, {Leg{1, 0, 0, false, 0, 0}});
  ASSERT_GE(lines.size(), 3U);
  EXPECT_EQ(lines[lines.size() - 3], "Extreme Acceleration (1sec change > 15mi[25km]/h) Avg  0.0/day");
  EXPECT_EQ(lines[lines.size() - 2], std::string(62, '-'));
  EXPECT_EQ(lines[lines.size() - 1], std::string(62, '-'));
}

TEST(SummaryReportTest, AnEmptyUserIdStartsTheFileWithAnEmptyLine) {
  testing::StoredRun run;
  run.select({fix(25, 121, 0, 2010, 9, 9, 10, 0, 0)});
  EXPECT_EQ(reportText(run, {}).substr(0, 4), "\r\n--");
  run.userId = "GT-120";
  EXPECT_EQ(reportText(run, {}).substr(0, 8), "GT-120\r\n");
}

TEST(SummaryReportTest, OnePointHasNoTravelTimeAndNoRates) {
  testing::StoredRun run;
  run.select({fix(25, 121, 0, 2010, 9, 9, 10, 0, 0)});
  run.stats.hardBrake = 3;
  const std::vector<std::string> lines = reportLines(run, {Leg{1, 0, 0, false, 0, 0}});
  EXPECT_TRUE(hasLine(lines, "      from 2010-09-09 10:00:00 to 2010-09-09 10:00:00"));
  EXPECT_TRUE(hasLine(lines, "      total travel time 0 days 0 hours 0 minutes 0 seconds"));
  EXPECT_TRUE(hasLine(lines, "Hard Braking         (1sec change <  9mi[15km]/h) Avg  0.0/day"));
  EXPECT_TRUE(hasLine(lines, "Total moving time: 00 days 00 hours 00 minutes 00 seconds"));
}

TEST(SummaryReportTest, MovingTimeIsThePeriodLessTheStops) {
  testing::StoredRun run;
  run.select({fix(25, 121, 0, 2010, 9, 9, 10, 0, 0), fix(25.1, 121, 0, 2010, 9, 10, 12, 3, 4)});
  run.stats.totalStopSeconds = 600;
  const std::vector<std::string> lines =
      reportLines(run, {Leg{1, 0, 0, true, 600, 0}, Leg{2, 1, 1, false, 0, 0}});
  EXPECT_TRUE(hasLine(lines, "      total travel time 1 days 2 hours 3 minutes 4 seconds"));
  EXPECT_TRUE(hasLine(lines, "     stop for: 00 days 00 hours 10 minutes 00 seconds"));
  EXPECT_TRUE(hasLine(lines, "Total moving time: 01 days 01 hours 53 minutes 04 seconds"));
  EXPECT_TRUE(hasLine(lines, "Total stop time: 00 days 00 hours 10 minutes 00 seconds"));
}

TEST(SummaryReportTest, ShareRowsArePaddedTo56AndShowTheCorrectedHundredths) {
  testing::StoredRun run;
  run.select({fix(25, 121, 0, 2010, 9, 9, 10, 0, 0), fix(25, 121, 30, 2010, 9, 9, 10, 0, 2),
              fix(25, 121, 70, 2010, 9, 9, 10, 0, 4)});
  const std::vector<std::string> lines = reportLines(run, {});
  EXPECT_TRUE(hasLine(lines, "Congestion        0mi[  0km] ---> 6mi[ 10km]             33.33"));
  EXPECT_TRUE(hasLine(lines, "Slow              6mi[ 10km] --->37mi[ 60km]             33.33"));
  EXPECT_TRUE(hasLine(lines, "Medium           37mi[ 60km] --->50mi[ 80km]             33.34"));
  EXPECT_TRUE(hasLine(lines, "Excessive        75mi[120km] +                            0.00"));
  EXPECT_TRUE(hasLine(lines, "Thursday                                                100.00"));
  EXPECT_TRUE(hasLine(lines, "Firday                                                    0.00"));
}

}  // namespace
}  // namespace tellurix::report
