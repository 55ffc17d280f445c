#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "report/ReportRun.h"
#include "report/RmcWriter.h"
#include "support/LogBuilder.h"
#include "support/RecordingReportUi.h"
#include "support/TestFiles.h"
#include "tracklog/Errors.h"
#include "tracklog/LogRecord.h"

namespace tellurix::report {
namespace {

namespace fs = std::filesystem;
using testing::fix;
using testing::ShownMessage;
using testing::StatusLine;
using tracklog::Field;
using tracklog::TrackPoint;

class ReportRunTest : public ::testing::Test {
 protected:
  ReportRunTest() {
    setWindow("2010/9/9 0:0:0", "2010/9/10 0:0:0");
    fields.set(Field::StopPeriod, "10");
  }

  void setWindow(const std::string& start, const std::string& end) {
    setTime(start, Field::StartYear);
    setTime(end, Field::EndYear);
  }

  void setTime(const std::string& text, Field first) {
    int y, mo, d, h, mi, s;
    ASSERT_EQ(std::sscanf(text.c_str(), "%d/%d/%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s), 6);
    const int values[] = {y, mo, d, h, mi, s};
    for (int i = 0; i < 6; ++i)
      fields.set(static_cast<Field>(static_cast<int>(first) + i), std::to_string(values[i]));
  }

  void writeLog(const std::vector<TrackPoint>& points) {
    testing::writeLog(logPath(), points);
    receivedBytes = static_cast<std::uint32_t>(points.size() * 16);
  }

  RunOutcome run(std::optional<std::string> outputPath) {
    ui->nextCommand(std::move(outputPath));
    ReportEnvironment environment{logPath(), receivedBytes, userId};
    return ReportRun(session, fields, *ui, environment).run();
  }
  RunOutcome run() { return run(outPath()); }

  [[nodiscard]] std::string logPath() const { return dir.file("LOGDATA.BIN"); }
  [[nodiscard]] std::string outPath() const { return dir.file("out/trip"); }
  [[nodiscard]] fs::path reportFolder(const char* date = "2010-09-09") const {
    return dir.path() / "out" / date;
  }
  [[nodiscard]] std::vector<std::string> rmcLines() const {
    return testing::crlfLines(testing::readFile(reportFolder() / "trip-rmc.txt"));
  }

  testing::TempDir dir;
  tracklog::FixedFields fields;
  ReportSession session;
  // One window for all the commands of a test: its status line carries over.
  std::unique_ptr<testing::RecordingReportUi> ui = std::make_unique<testing::RecordingReportUi>(std::nullopt);
  std::uint32_t receivedBytes = 0;
  std::string userId;
};

// What the status line shows while a run works: "Making Report..." blinking, from black.
const StatusLine kWorking{"Making Report...", StatusColour::Black, true};

// Every file under the folder, by its path relative to the folder.
std::vector<std::string> filesUnder(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) names.push_back(fs::relative(entry.path(), folder).string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<TrackPoint> minutesApart(int hour, std::initializer_list<int> minutes) {
  std::vector<TrackPoint> points;
  double lat = 25.0;
  for (const int m : minutes) {
    points.push_back(fix(lat, 121.5, 30, 2010, 9, 9, hour, m, 0));
    lat += 0.01;
  }
  return points;
}

TEST_F(ReportRunTest, SelectsBothEndsOfTheWindowAndWritesTheirRmcSentences) {
  const auto points = minutesApart(10, {0, 10, 20, 30, 40, 50});
  writeLog(points);
  setWindow("2010/9/9 10:10:0", "2010/9/9 10:40:0");
  ASSERT_EQ(run(), RunOutcome::Done);

  ASSERT_EQ(session.store.pointCount, 4U);
  EXPECT_EQ(session.store.utc(0).minute, 10);
  EXPECT_EQ(session.store.utc(3).minute, 40);
  const std::vector<std::string> expected{rmcSentence(points[1]), rmcSentence(points[2]),
                                          rmcSentence(points[3]), rmcSentence(points[4])};
  EXPECT_EQ(rmcLines(), expected);
  EXPECT_EQ(ui->recordsRead, 6);
}

TEST_F(ReportRunTest, RecordsOutOfOrderAreSelectedEachOnItsOwnAndKeepFileOrder) {
  writeLog(minutesApart(10, {30, 5, 45, 0, 40, 59}));
  setWindow("2010/9/9 10:10:0", "2010/9/9 10:50:0");
  ASSERT_EQ(run(), RunOutcome::Done);
  ASSERT_EQ(session.store.pointCount, 3U);
  EXPECT_EQ(session.store.local(0).minute, 30);
  EXPECT_EQ(session.store.local(1).minute, 45);
  EXPECT_EQ(session.store.local(2).minute, 40);
}

TEST_F(ReportRunTest, TheZoneShiftsSelectionAndStoredLocalTimesButNotRmc) {
  const std::vector<TrackPoint> points{fix(25, 121, 0, 2010, 9, 8, 23, 30, 0),
                                       fix(25.1, 121, 0, 2010, 9, 9, 1, 0, 0)};
  writeLog(points);
  fields.set(Field::TimeZone, "(GMT+08:00) Taipei");
  setWindow("2010/9/9 7:30:0", "2010/9/9 8:59:59");
  ASSERT_EQ(run(), RunOutcome::Done);
  ASSERT_EQ(session.store.pointCount, 1U);
  EXPECT_EQ(tracklog::calendarTimeOf(session.store.local(0)), (tracklog::CalendarTime{2010, 9, 9, 7, 30, 0}));
  EXPECT_EQ(tracklog::calendarTimeOf(session.store.utc(0)), (tracklog::CalendarTime{2010, 9, 8, 23, 30, 0}));
  EXPECT_EQ(rmcLines(), std::vector<std::string>{rmcSentence(points[0])});
  EXPECT_EQ(session.zone.label, "(GMT+8:00)");
}

TEST_F(ReportRunTest, FolderFromTheWindowStartAndKmlNamesFromTheFirstLocalPoint) {
  writeLog({fix(25, 121, 0, 2010, 9, 8, 23, 30, 0)});
  fields.set(Field::TimeZone, "(GMT+08:00) Taipei");
  setWindow("2010/9/8 0:0:0", "2010/9/10 0:0:0");
  userId = "ABC123";
  ASSERT_EQ(run(), RunOutcome::Done);
  const fs::path folder = reportFolder("2010-09-08");
  EXPECT_EQ(session.names.reportFolder, folder.string() + "/");
  EXPECT_EQ(session.names.reportBaseName, "trip");
  EXPECT_EQ(session.names.pointKmlName, "trip-ABC123-2010-09-09_point.kml");
  EXPECT_EQ(session.names.pathKmlName, "trip-ABC123-2010-09-09.kml");
  for (const char* name : {"trip-report.txt", "trip-rmc.txt", "trip-ABC123-2010-09-09_point.kml",
                           "trip-ABC123-2010-09-09.kml"}) {
    EXPECT_TRUE(fs::exists(folder / name)) << name;
  }
}

TEST_F(ReportRunTest, StartMonthTextsNineAndZeroNineNameTheSameFolder) {
  writeLog({fix(25, 121, 0, 2010, 9, 9, 12, 0, 0)});
  fields.set(Field::StartMonth, "09");
  ASSERT_EQ(run(), RunOutcome::Done);
  EXPECT_EQ(session.names.reportFolder, reportFolder().string() + "/");
}

TEST_F(ReportRunTest, ADoneRunBlinksWhileReadingAndEndsOnReportDoneWithItsFiles) {
  writeLog(minutesApart(10, {0, 1, 30}));
  ui->status = {"Report Done", StatusColour::Navy, false};  // an earlier run's
  // Done is what gives the user View Report and Tagging.
  ASSERT_EQ(run(), RunOutcome::Done);
  EXPECT_EQ(ui->settingsSaved, 1);
  EXPECT_EQ(ui->dialogsShown, 1);
  EXPECT_TRUE(ui->shown.empty());
  // Drawn before the first record and once per record of the log.
  ASSERT_EQ(ui->recordsRead, 3);
  ASSERT_GE(ui->drawn.size(), 4U);
  EXPECT_EQ(std::vector<StatusLine>(ui->drawn.begin(), ui->drawn.begin() + 4),
            std::vector<StatusLine>(4, kWorking));
  // A blink left running would write "Making Report..." over the result.
  EXPECT_EQ(ui->status, (StatusLine{"Report Done", StatusColour::Navy, false}));
  // One leg ending in the stop after 10:01, the final leg of the point at 10:30.
  EXPECT_EQ(filesUnder(dir.path() / "out"),
            (std::vector<std::string>{
                "2010-09-09/stop1-2010-09-09_10-01.kml", "2010-09-09/stop2-2010-09-09_10-30.kml",
                "2010-09-09/trip-2010-09-09.kml", "2010-09-09/trip-2010-09-09_point.kml",
                "2010-09-09/trip-report.txt", "2010-09-09/trip-rmc.txt", "2010-09-09/trip-track.gpx"}));
}

TEST_F(ReportRunTest, NoMatchWritesNothingAndLeavesTheNamesOfTheLastRun) {
  writeLog(minutesApart(10, {0, 1}));
  ASSERT_EQ(run(), RunOutcome::Done);
  const ReportNames before = session.names;

  setWindow("2011/1/1 0:0:0", "2011/1/2 0:0:0");
  fields.setExcelReports(true);
  ASSERT_EQ(run(), RunOutcome::NoMatch);
  EXPECT_EQ(session.store.pointCount, 0U);
  EXPECT_EQ(ui->shown, (std::vector<ShownMessage>{{"|No Match Record !", kWorking}}));
  EXPECT_EQ(ui->status, (StatusLine{"", StatusColour::Red, false}));
  EXPECT_FALSE(fs::exists(reportFolder("2011-01-01")));
  EXPECT_EQ(session.names.reportFolder, before.reportFolder);
  EXPECT_EQ(session.names.pointKmlName, before.pointKmlName);
}

TEST_F(ReportRunTest, StartEqualToEndIsRefusedAfterTheSaveDialog) {
  writeLog(minutesApart(10, {0}));
  setWindow("2010/9/9 10:0:0", "2010/9/9 10:0:0");
  ASSERT_EQ(run(), RunOutcome::Refused);
  EXPECT_EQ(ui->settingsSaved, 1);
  EXPECT_EQ(ui->dialogsShown, 1);
  EXPECT_EQ(ui->shown,
            (std::vector<ShownMessage>{
                {"Input Error|Invalid Setting:The \" End Time\" earlier or equal than\" Start Time\".",
                 kWorking}}));
  EXPECT_EQ(ui->status, (StatusLine{"", StatusColour::Black, false}));
  EXPECT_EQ(ui->recordsRead, 0);
  EXPECT_FALSE(fs::exists(dir.path() / "out"));
}

TEST_F(ReportRunTest, AFailedCheckHasSavedTheSettingsAndResetTheRun) {
  writeLog(minutesApart(10, {0, 1}));
  ASSERT_EQ(run(), RunOutcome::Done);
  fields.set(Field::StartMonth, "13");
  ASSERT_EQ(run(), RunOutcome::Refused);
  EXPECT_EQ(ui->settingsSaved, 1);
  EXPECT_EQ(ui->dialogsShown, 0);
  // The earlier "Report Done" is gone before the message comes up.
  const StatusLine cleared{"", StatusColour::Navy, false};
  EXPECT_EQ(ui->shown, (std::vector<ShownMessage>{{"Date Error|The Month from 1 To 12", cleared}}));
  EXPECT_EQ(ui->status, cleared);
  EXPECT_EQ(session.store.pointCount, 0U);
  EXPECT_EQ(rmcLines().size(), 2U);  // the earlier run's files are untouched
}

TEST_F(ReportRunTest, CancellingTheSaveDialogEndsTheCommand) {
  writeLog(minutesApart(10, {0}));
  ASSERT_EQ(run(std::nullopt), RunOutcome::Cancelled);
  EXPECT_EQ(ui->dialogsShown, 1);
  EXPECT_TRUE(ui->shown.empty());
  EXPECT_TRUE(ui->drawn.empty()) << "the run started working";
  EXPECT_EQ(ui->status, StatusLine{});
  EXPECT_EQ(ui->recordsRead, 0);
  EXPECT_FALSE(fs::exists(dir.path() / "out"));
}

TEST_F(ReportRunTest, AVanishedLogFileIsFatal) {
  receivedBytes = 16;
  try {
    run();
    FAIL() << "no fatal error";
  } catch (const tracklog::FatalError& e) {
    EXPECT_STREQ(e.what(), "bin file read open error in Quorvel");
    EXPECT_EQ(e.exitCode(), 1);
  }
  // Neither the blink nor its text outlive the run.
  EXPECT_EQ(ui->status, (StatusLine{"", StatusColour::Black, false}));
}

struct OpenFailureCase {
  const char* name;
  const char* blocked;  // made a folder inside the report folder, so it cannot be opened as a file
  const char* message;
};
void PrintTo(const OpenFailureCase& c, std::ostream* os) {
  *os << c.name;
}

class OutputOpenFailureTest : public ReportRunTest, public ::testing::WithParamInterface<OpenFailureCase> {};

TEST_P(OutputOpenFailureTest, ShowsTheRolesMessageAndEndsWithExitCodeOne) {
  writeLog(minutesApart(10, {0, 1}));
  fs::create_directories(reportFolder() / GetParam().blocked);
  try {
    run();
    FAIL() << "no fatal error";
  } catch (const tracklog::FatalError& e) {
    EXPECT_STREQ(e.what(), GetParam().message);
    EXPECT_EQ(e.exitCode(), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, OutputOpenFailureTest,
    ::testing::Values(OpenFailureCase{"report_text", "trip-report.txt", "Report_File file read open error"},
                      OpenFailureCase{"rmc", "trip-rmc.txt", "GPRMC_File file write open error"},
                      OpenFailureCase{"point_kml", "trip-2010-09-09_point.kml", "file write open error"},
                      OpenFailureCase{"path_kml", "trip-2010-09-09.kml",
                                      "KML_Path_File file write open error"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReportRunTest, AFolderThatCannotBeMadeShowsThroughTheReportTextsOpen) {
  writeLog(minutesApart(10, {0}));
  testing::writeFile(dir.path() / "out", "a file where the folder should be");
  EXPECT_THROW(run(), tracklog::FatalError);
}

TEST_F(ReportRunTest, PointsBeyondTheStoresCapacityAreNotSelected) {
  const auto points =
      testing::straightDrive(fix(25, 121, 0, 2010, 9, 9, 0, 0, 0), tracklog::TrackStore::kCapacity + 5, 0, 0);
  writeLog(points);
  setWindow("2010/9/9 0:0:0", "2010/9/11 0:0:0");
  ASSERT_EQ(run(), RunOutcome::Done);
  EXPECT_EQ(session.store.pointCount, tracklog::TrackStore::kCapacity);
  EXPECT_EQ(rmcLines().size(), tracklog::TrackStore::kCapacity);
}

TEST_F(ReportRunTest, AStopPeriodThatIsNotANumberEndsTheRunWithAConversionError) {
  writeLog(minutesApart(10, {0, 1}));
  fields.set(Field::StopPeriod, " 1O ");
  EXPECT_THROW(run(), tracklog::ConversionError);
  EXPECT_EQ(ui->status, (StatusLine{"", StatusColour::Black, false}));
}

TEST_F(ReportRunTest, ASecondRunStartsFromAnEmptyStore) {
  writeLog(minutesApart(10, {0, 1, 2}));
  ASSERT_EQ(run(), RunOutcome::Done);
  const std::string first = testing::readFile(reportFolder() / "trip-rmc.txt");
  const TravelStats firstStats = session.stats;
  ASSERT_EQ(run(), RunOutcome::Done);
  EXPECT_EQ(session.store.pointCount, 3U);
  EXPECT_EQ(session.stats.speedSum, firstStats.speedSum);
  EXPECT_EQ(session.stats.totalDistance, firstStats.totalDistance);
  EXPECT_EQ(testing::readFile(reportFolder() / "trip-rmc.txt"), first);
}

}  // namespace
}  // namespace tellurix::report
