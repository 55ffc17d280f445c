// Outputs that cannot be written whole: a file that opens but whose writes fail (a full disk),
// a folder the run cannot write, a real small disk filling up. Each ends the run with the
// file's own message, never with "Report Done", and leaves what was written before as it was.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "report/ReportRun.h"
#include "support/FolderContents.h"
#include "support/LogBuilder.h"
#include "support/RecordingReportUi.h"
#include "support/ScratchMount.h"
#include "support/TestFiles.h"
#include "tracklog/Errors.h"

namespace tellurix::report {
namespace {

namespace fs = std::filesystem;
using testing::fix;
using tracklog::Field;

// Two legs: a drive of three minutes, a stop of 27 minutes, three minutes more.
std::vector<tracklog::TrackPoint> twoLegs() {
  std::vector<tracklog::TrackPoint> points;
  double lat = 25.0;
  for (const int minute : {0, 1, 2, 30, 31, 32}) {
    points.push_back(fix(lat, 121.5, 30, 2010, 9, 9, 10, minute, 0));
    lat += 0.01;
  }
  return points;
}

class OutputFailureTest : public ::testing::Test {
 protected:
  OutputFailureTest() {
    const std::pair<Field, const char*> texts[] = {
        {Field::StartYear, "2010"}, {Field::StartMonth, "9"}, {Field::StartDay, "9"},
        {Field::StartHour, "0"},    {Field::StartMin, "0"},   {Field::StartSec, "0"},
        {Field::EndYear, "2010"},   {Field::EndMonth, "9"},   {Field::EndDay, "10"},
        {Field::EndHour, "0"},      {Field::EndMin, "0"},     {Field::EndSec, "0"},
        {Field::SpeedUnit, "KPH"},  {Field::OverSpeed, "90"}, {Field::StopPeriod, "10"}};
    for (const auto& [field, text] : texts) fields.set(field, text);
    fields.setExcelReports(true);
    writeLog(twoLegs());
  }

  void writeLog(const std::vector<tracklog::TrackPoint>& points) {
    testing::writeLog(logPath(), points);
    receivedBytes = static_cast<std::uint32_t>(points.size() * 16);
  }

  RunOutcome run(const std::string& outputPath) {
    ui = std::make_unique<testing::RecordingReportUi>(outputPath);
    return ReportRun(session, fields, *ui, ReportEnvironment{logPath(), receivedBytes, ""}).run();
  }
  // The run's fatal error, or "" when it ended without one.
  std::string fatalMessage(const std::string& outputPath) {
    try {
      run(outputPath);
    } catch (const tracklog::FatalError& e) {
      EXPECT_EQ(e.exitCode(), 1);
      return e.what();
    }
    return "";
  }
  [[nodiscard]] bool reportedDone() const {
    return std::find(ui->events.begin(), ui->events.end(), "status Report Done") != ui->events.end();
  }

  [[nodiscard]] std::string logPath() const { return dir.file("LOGDATA.BIN"); }
  [[nodiscard]] std::string outPath() const { return dir.file("out/trip"); }
  [[nodiscard]] fs::path folder() const { return dir.path() / "out" / "2010-09-09"; }

  testing::TempDir dir;
  tracklog::FixedFields fields;
  ReportSession session;
  std::unique_ptr<testing::RecordingReportUi> ui;
  std::uint32_t receivedBytes = 0;
};

struct FullFileCase {
  const char* name;
  const char* file;     // replaced by /dev/full: it opens, and every write to it fails
  const char* message;  // the fatal error, or for the extras the message of a finished run
  bool fatal;
};
void PrintTo(const FullFileCase& c, std::ostream* os) {
  *os << c.name;
}

class FullFileTest : public OutputFailureTest, public ::testing::WithParamInterface<FullFileCase> {};

TEST_P(FullFileTest, EndsWithTheFilesOwnMessage) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const FullFileCase& c = GetParam();
  ASSERT_EQ(run(outPath()), RunOutcome::Done);
  const testing::FolderContents whole = testing::folderContents(folder());
  ASSERT_EQ(whole.count(c.file), 1U) << "the run does not write " << c.file;
  const std::string log = testing::readFile(logPath());

  fs::remove(folder() / c.file);
  fs::create_symlink("/dev/full", folder() / c.file);
  if (c.fatal) {
    EXPECT_EQ(fatalMessage(outPath()), c.message);
    EXPECT_FALSE(reportedDone());
  } else {
    // The extras are reported and the run finishes every other file as before.
    ASSERT_EQ(run(outPath()), RunOutcome::Done);
    EXPECT_EQ(ui->messages(), std::vector<std::string>{std::string("|") + c.message});
    testing::FolderContents others = testing::folderContents(folder());
    testing::FolderContents expected = whole;
    others.erase(c.file);
    expected.erase(c.file);
    EXPECT_TRUE(testing::sameFolders(expected, others));
  }
  EXPECT_EQ(testing::readFile(logPath()), log);
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, FullFileTest,
    ::testing::Values(
        FullFileCase{"report_text", "trip-report.txt", "Report_File file read open error", true},
        FullFileCase{"rmc", "trip-rmc.txt", "GPRMC_File file write open error", true},
        FullFileCase{"point_kml", "trip-2010-09-09_point.kml", "file write open error", true},
        FullFileCase{"path_kml", "trip-2010-09-09.kml", "KML_Path_File file write open error", true},
        FullFileCase{"first_leg_kml", "stop1-2010-09-09_10-02.kml",
                     "(1)stop_point_file file write open error", true},
        FullFileCase{"last_leg_kml", "stop2-2010-09-09_10-32.kml", "(1)stop_point_file file write open error",
                     true},
        FullFileCase{"csv", "trip-1.csv", "csv file read open error in Quorvel", true},
        FullFileCase{"workbook", "trip-SpeedChart.xls", "excel file read open error", false},
        FullFileCase{"gpx", "trip-track.gpx", "GPX file write open error", false}),
    [](const auto& info) { return std::string(info.param.name); });

struct SeveralCase {
  const char* name;
  std::vector<const char*> files;     // replaced by /dev/full, all in the same run
  std::vector<std::string> messages;  // shown before the end
  const char* fatal;                  // the error the run ends with
};
void PrintTo(const SeveralCase& c, std::ostream* os) {
  *os << c.name;
}

class SeveralFailuresTest : public OutputFailureTest, public ::testing::WithParamInterface<SeveralCase> {};

// The outputs are written side by side, each by its own job; the run still ends as if they
// were written one after the other: the first failure in that order with its own message, the
// extras' messages met before it, nothing of the outputs after it.
TEST_P(SeveralFailuresTest, EndWithTheFirstInTheOrderOfTheOutputs) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const SeveralCase& c = GetParam();
  ASSERT_EQ(run(outPath()), RunOutcome::Done);
  for (const char* file : c.files) {
    fs::remove(folder() / file);
    fs::create_symlink("/dev/full", folder() / file);
  }
  for (const unsigned threads : {1U, 4U}) {
    ui = std::make_unique<testing::RecordingReportUi>(outPath());
    std::string fatal;
    try {
      ReportRun(session, fields, *ui, ReportEnvironment{logPath(), receivedBytes, "", threads}).run();
    } catch (const tracklog::FatalError& e) {
      fatal = e.what();
    }
    EXPECT_EQ(fatal, c.fatal) << threads << " threads";
    EXPECT_EQ(ui->messages(), c.messages) << threads << " threads";
    EXPECT_FALSE(reportedDone());
  }
}

INSTANTIATE_TEST_SUITE_P(Outputs, SeveralFailuresTest,
                         ::testing::Values(SeveralCase{"point_kml_before_gpx",
                                                       {"trip-track.gpx", "trip-2010-09-09_point.kml"},
                                                       {},
                                                       "file write open error"},
                                           SeveralCase{"workbook_message_then_path_kml",
                                                       {"trip-2010-09-09.kml", "trip-SpeedChart.xls"},
                                                       {"|excel file read open error"},
                                                       "KML_Path_File file write open error"},
                                           SeveralCase{
                                               "report_text_before_workbook_and_gpx",
                                               {"trip-track.gpx", "trip-SpeedChart.xls", "trip-report.txt"},
                                               {},
                                               "Report_File file read open error"},
                                           SeveralCase{"rmc_before_everything",
                                                       {"stop2-2010-09-09_10-32.kml", "trip-track.gpx",
                                                        "trip-1.csv", "trip-rmc.txt"},
                                                       {},
                                                       "GPRMC_File file write open error"},
                                           SeveralCase{"csv_before_leg_file",
                                                       {"stop1-2010-09-09_10-02.kml", "trip-1.csv"},
                                                       {},
                                                       "csv file read open error in Quorvel"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OutputFailureTest, AFullDiskEndsTheRunAndKeepsTheEarlierReport) {
  testing::ScratchMount disk(128 * 1024);
  if (!disk.mounted()) GTEST_SKIP() << disk.failure();
  const std::string earlier = (disk.path() / "earlier" / "trip").string();
  ASSERT_EQ(run(earlier), RunOutcome::Done);
  const testing::FolderContents before = testing::folderContents(disk.path() / "earlier");

  // About 280 kB of RMC sentences, more than the disk holds.
  writeLog(testing::straightDrive(fix(25, 121.5, 40, 2010, 9, 9, 10, 0, 0), 4000, 11, 40));
  EXPECT_EQ(fatalMessage((disk.path() / "later" / "trip").string()), "GPRMC_File file write open error");
  EXPECT_FALSE(reportedDone());
  EXPECT_TRUE(testing::sameFolders(before, testing::folderContents(disk.path() / "earlier")));
}

struct UnwritableCase {
  const char* name;
  enum class Kind { UnderAFile, ReadOnlyDisk, FolderWithoutWrite } kind;
};
void PrintTo(const UnwritableCase& c, std::ostream* os) {
  *os << c.name;
}

class UnwritableFolderTest : public OutputFailureTest,
                             public ::testing::WithParamInterface<UnwritableCase> {};

// The folder cannot be made or written: the first open, the report text's, says so.
TEST_P(UnwritableFolderTest, EndsWithTheReportTextsMessage) {
  std::unique_ptr<testing::ScratchMount> disk;
  std::string outputPath;
  switch (GetParam().kind) {
    case UnwritableCase::Kind::UnderAFile:
      testing::writeFile(dir.path() / "out", "a file where the folder should be");
      outputPath = outPath();
      break;
    case UnwritableCase::Kind::ReadOnlyDisk:
      disk = std::make_unique<testing::ScratchMount>(64 * 1024, true);
      if (!disk->mounted()) GTEST_SKIP() << disk->failure();
      outputPath = (disk->path() / "trip").string();
      break;
    case UnwritableCase::Kind::FolderWithoutWrite:
      if (::geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
      fs::create_directories(folder());
      fs::permissions(folder(), fs::perms::owner_read | fs::perms::owner_exec);
      outputPath = outPath();
      break;
  }
  EXPECT_EQ(fatalMessage(outputPath), "Report_File file read open error");
  EXPECT_FALSE(reportedDone());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, UnwritableFolderTest,
    ::testing::Values(UnwritableCase{"under_a_file", UnwritableCase::Kind::UnderAFile},
                      UnwritableCase{"read_only_disk", UnwritableCase::Kind::ReadOnlyDisk},
                      UnwritableCase{"folder_without_write", UnwritableCase::Kind::FolderWithoutWrite}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tellurix::report
