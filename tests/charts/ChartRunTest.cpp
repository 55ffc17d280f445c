#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "WorkbookXml.h"
#include "report/ReportRun.h"
#include "support/LogBuilder.h"
#include "support/RecordingReportUi.h"
#include "support/TestFiles.h"

namespace tellurix::report {
namespace {

namespace fs = std::filesystem;
using testing::fix;
using tracklog::Field;

// Four points of Thursday 2010-09-09 morning: speed buckets 0, 1, 1 and 12; one Morning point
// (10:00:00 closes that bucket), three at Noon.
class ChartRunTest : public ::testing::Test {
 protected:
  ChartRunTest() {
    const std::pair<Field, const char*> texts[] = {
        {Field::StartYear, "2010"}, {Field::StartMonth, "9"}, {Field::StartDay, "9"},
        {Field::StartHour, "0"},    {Field::StartMin, "0"},   {Field::StartSec, "0"},
        {Field::EndYear, "2010"},   {Field::EndMonth, "9"},   {Field::EndDay, "10"},
        {Field::EndHour, "0"},      {Field::EndMin, "0"},     {Field::EndSec, "0"},
        {Field::StopPeriod, "10"},  {Field::OverSpeed, "90"}, {Field::SpeedUnit, "MPH"}};
    for (const auto& [field, text] : texts) fields.set(field, text);
    fields.setExcelReports(true);
    testing::writeLog(
        dir.file("LOGDATA.BIN"),
        {fix(25.00, 121.5, 5, 2010, 9, 9, 10, 0, 0), fix(25.01, 121.5, 15, 2010, 9, 9, 10, 1, 0),
         fix(25.02, 121.5, 15, 2010, 9, 9, 10, 2, 0), fix(25.03, 121.5, 125, 2010, 9, 9, 10, 3, 0)});
  }

  RunOutcome run() {
    ui = std::make_unique<testing::RecordingReportUi>(dir.file("out/trip"));
    return ReportRun(session, fields, *ui, ReportEnvironment{dir.file("LOGDATA.BIN"), 4 * 16, ""}).run();
  }
  [[nodiscard]] fs::path folder() const { return dir.path() / "out" / "2010-09-09"; }
  [[nodiscard]] std::string workbookPath() const { return (folder() / "trip-SpeedChart.xls").string(); }

  testing::TempDir dir;
  tracklog::FixedFields fields;
  ReportSession session;
  std::unique_ptr<testing::RecordingReportUi> ui;
};

TEST_F(ChartRunTest, ExcelReportsWriteTheRunsSharesInTheWindowsUnit) {
  ASSERT_EQ(run(), RunOutcome::Done);
  const testing::WorkbookXml workbook(workbookPath());
  const auto speed = workbook.cells(1);
  EXPECT_EQ(speed.at("B1").text, "0~6");
  const std::pair<const char*, const char*> expected[] = {
      {"B2", "0.25"}, {"C2", "0.5"}, {"D2", "0"}, {"N2", "0.25"}};
  for (const auto& [reference, text] : expected) EXPECT_EQ(speed.at(reference).text, text) << reference;
  EXPECT_EQ(workbook.cells(2).at("C2").text, "0.25");  // Morning
  EXPECT_EQ(workbook.cells(2).at("D2").text, "0.75");  // Noon
  EXPECT_EQ(workbook.cells(3).at("F2").text, "1");     // Thursday
  EXPECT_TRUE(ui->messages().empty());
}

TEST_F(ChartRunTest, NoWorkbookWithoutExcelReports) {
  fields.setExcelReports(false);
  ASSERT_EQ(run(), RunOutcome::Done);
  EXPECT_TRUE(fs::exists(folder() / "trip-report.txt"));
  EXPECT_FALSE(fs::exists(workbookPath()));
}

TEST_F(ChartRunTest, AWorkbookThatCannotBeWrittenIsReportedAndTheRunFinishes) {
  fs::create_directories(workbookPath());
  ASSERT_EQ(run(), RunOutcome::Done);
  EXPECT_EQ(ui->messages(), std::vector<std::string>{"|excel file read open error"});
  const auto message = std::find(ui->events.begin(), ui->events.end(), "message |excel file read open error");
  const auto done = std::find(ui->events.begin(), ui->events.end(), "status Report Done");
  EXPECT_LT(message, done);
  EXPECT_TRUE(fs::exists(folder() / "trip-report.txt"));
}

}  // namespace
}  // namespace tellurix::report
