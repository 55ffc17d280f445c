// Report runs one after another in one process keep the heap where the first runs left it.
#include <gtest/gtest.h>
#include <malloc.h>

#include <filesystem>

#include "report/ReportRun.h"
#include "support/RecordingReportUi.h"
#include "support/TestFiles.h"
#include "tools/demotrack/DemoTrack.h"

namespace tellurix::report {
namespace {

using tracklog::Field;

std::size_t heapInUse() {
  return mallinfo2().uordblks;
}

TEST(ReportMemoryTest, RepeatedRunsDoNotGrowTheHeap) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator does not report through mallinfo2";
#endif
  testing::TempDir dir;
  demotrack::DemoTrackOptions options;
  options.records = 3000;
  const auto points = demotrack::makeDemoTrack(options);
  demotrack::writeLogFile(dir.file("LOGDATA.BIN"), points);

  tracklog::FixedFields fields;
  const std::pair<Field, const char*> texts[] = {{Field::StartYear, "2010"},
                                                 {Field::StartMonth, "9"},
                                                 {Field::StartDay, "9"},
                                                 {Field::StartHour, "0"},
                                                 {Field::StartMin, "0"},
                                                 {Field::StartSec, "0"},
                                                 {Field::EndYear, "2010"},
                                                 {Field::EndMonth, "9"},
                                                 {Field::EndDay, "11"},
                                                 {Field::EndHour, "0"},
                                                 {Field::EndMin, "0"},
                                                 {Field::EndSec, "0"},
                                                 {Field::TimeZone, "(UTC+08:00) Taipei"},
                                                 {Field::SpeedUnit, "KPH"},
                                                 {Field::OverSpeed, "50"},
                                                 {Field::StopPeriod, "10"}};
  for (const auto& [field, text] : texts) fields.set(field, text);
  fields.setExcelReports(true);  // the workbook and the CSV files too

  ReportSession session;
  const ReportEnvironment environment{dir.file("LOGDATA.BIN"), static_cast<std::uint32_t>(points.size() * 16),
                                      "ABC123"};
  auto run = [&] {
    testing::RecordingReportUi ui(dir.file("out/trip"));
    ASSERT_EQ(ReportRun(session, fields, ui, environment).run(), RunOutcome::Done);
  };
  // The first runs settle what lives as long as the program (caches of the C library, the
  // zone's text).
  run();
  run();
  const std::size_t settled = heapInUse();
  for (int i = 0; i < 6; ++i) run();
  const std::size_t after = heapInUse();
  RecordProperty("heap_growth_bytes",
                 std::to_string(static_cast<long long>(after) - static_cast<long long>(settled)));
  // Six runs keep a few kilobytes more at most (buffers the C library sizes as it goes); an
  // output file left open by every run (a 4 kB buffer each) adds up past the slack.
  constexpr std::size_t kSlack = 32 * 1024;
  EXPECT_LE(after, settled + kSlack) << "the heap grew from " << settled << " to " << after
                                     << " bytes over six runs";
}

}  // namespace
}  // namespace tellurix::report
