// The same request made again in the same process writes the same bytes into every file,
// whatever run came in between: nothing of one run may leak into the next.
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "DemoRequest.h"
#include "report/ReportRun.h"
#include "support/FolderContents.h"
#include "support/RecordingReportUi.h"
#include "support/TestFiles.h"
#include "tools/demotrack/DemoTrack.h"

namespace tellurix::report {
namespace {

namespace fs = std::filesystem;
using tracklog::Field;

struct Request {
  std::vector<std::pair<Field, std::string>> texts;
  bool excel = true;
  std::string userId = "ABC123";
};

// The request every case repeats: the demo drive with its stops, over-speed points and a
// workbook, in a zone whose offset is not whole hours.
Request baseRequest() {
  return {testing::demoWindowTexts("(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi")};
}

struct BetweenCase {
  const char* name;
  std::vector<std::pair<Field, std::string>> changes;  // on top of the base request
  bool excel = true;
  std::string userId = "ABC123";
  RunOutcome outcome = RunOutcome::Done;
};
void PrintTo(const BetweenCase& c, std::ostream* os) {
  *os << c.name;
}

class ReportDeterminismTest : public ::testing::TestWithParam<BetweenCase> {
 protected:
  ReportDeterminismTest() {
    demotrack::DemoTrackOptions options;
    options.records = 12000;
    const auto points = demotrack::makeDemoTrack(options);
    demotrack::writeLogFile(logPath(), points);
    receivedBytes = static_cast<std::uint32_t>(points.size() * 16);
  }

  // One run into a fresh output folder; what it wrote.
  RunOutcome run(const Request& request) {
    fs::remove_all(dir.path() / "out");
    tracklog::FixedFields fields;
    for (const auto& [field, text] : request.texts) fields.set(field, text);
    fields.setExcelReports(request.excel);
    testing::RecordingReportUi ui(dir.file("out/trip"));
    return ReportRun(session, fields, ui, ReportEnvironment{logPath(), receivedBytes, request.userId}).run();
  }
  [[nodiscard]] testing::FolderContents written() const {
    return testing::folderContents(dir.path() / "out");
  }
  [[nodiscard]] std::string logPath() const { return dir.file("LOGDATA.BIN"); }

  testing::TempDir dir;
  ReportSession session;
  std::uint32_t receivedBytes = 0;
};

TEST_P(ReportDeterminismTest, TheRepeatedRequestWritesTheSameBytes) {
  const BetweenCase& between = GetParam();
  ASSERT_EQ(run(baseRequest()), RunOutcome::Done);
  const testing::FolderContents first = written();
  ASSERT_GE(first.size(), 10U);  // report, RMC, CSV, workbook, GPX, trip and three leg KML files
  ASSERT_EQ(first.count("2010-09-09/trip-SpeedChart.xls"), 1U);

  Request other = baseRequest();
  for (const auto& [field, text] : between.changes) {
    for (auto& [f, t] : other.texts) {
      if (f == field) t = text;
    }
  }
  other.excel = between.excel;
  other.userId = between.userId;
  ASSERT_EQ(run(other), between.outcome);

  ASSERT_EQ(run(baseRequest()), RunOutcome::Done);
  EXPECT_TRUE(testing::sameFolders(first, written()));
}

INSTANTIATE_TEST_SUITE_P(
    RunsInBetween, ReportDeterminismTest,
    ::testing::Values(
        BetweenCase{"none", {}},
        BetweenCase{"zone_behind_utc",
                    {{Field::TimeZone, "(UTC-05:00) Bogota, Lima, Quito"}, {Field::StartDay, "8"}}},
        BetweenCase{"zone_that_is_not_listed", {{Field::TimeZone, "(GMT+09:00) Typed"}}},
        BetweenCase{"miles", {{Field::SpeedUnit, "MPH"}}},
        BetweenCase{"unit_of_neither_kind", {{Field::SpeedUnit, "KMH"}}},
        BetweenCase{
            "shorter_window",
            {{Field::StartHour, "8"}, {Field::EndDay, "9"}, {Field::EndHour, "8"}, {Field::EndMin, "30"}}},
        BetweenCase{"other_limit_and_stop_period", {{Field::OverSpeed, "120"}, {Field::StopPeriod, "2"}}},
        BetweenCase{"no_excel_reports", {}, false}, BetweenCase{"no_user_id", {}, true, ""},
        BetweenCase{"window_matching_nothing",
                    {{Field::StartYear, "2011"}, {Field::EndYear, "2011"}},
                    true,
                    "ABC123",
                    RunOutcome::NoMatch},
        BetweenCase{"refused_window", {{Field::EndDay, "9"}}, true, "ABC123", RunOutcome::Refused}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tellurix::report
