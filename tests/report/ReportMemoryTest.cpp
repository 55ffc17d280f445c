// Report runs one after another in one process leave no file open and keep the heap where the
// first runs left it.
#include <gtest/gtest.h>
#include <malloc.h>

#include <filesystem>
#include <map>
#include <string>

#include "DemoRequest.h"
#include "report/ReportRun.h"
#include "support/RecordingReportUi.h"
#include "support/TestFiles.h"
#include "tools/demotrack/DemoTrack.h"

namespace tellurix::report {
namespace {

namespace fs = std::filesystem;

std::size_t heapInUse() {
  return mallinfo2().uordblks;
}

// The descriptors this process holds open, by number, and what each one names.
std::map<int, std::string> openDescriptors() {
  std::map<int, std::string> open;
  const fs::path self = fs::canonical("/proc/self");  // the listing's own descriptor is not ours
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const fs::path target = fs::read_symlink(entry.path(), error);
    if (target == self / "fd") continue;
    open[std::stoi(entry.path().filename().string())] = error ? "?" : target.string();
  }
  return open;
}

std::string describe(const std::map<int, std::string>& descriptors) {
  std::string text;
  for (const auto& [fd, target] : descriptors) text += "\n  " + std::to_string(fd) + " -> " + target;
  return text;
}

class ReportMemoryTest : public ::testing::Test {
 protected:
  ReportMemoryTest() {
    demotrack::DemoTrackOptions options;
    options.records = 3000;
    const auto points = demotrack::makeDemoTrack(options);
    demotrack::writeLogFile(dir.file("LOGDATA.BIN"), points);
    receivedBytes = static_cast<std::uint32_t>(points.size() * 16);

    for (const auto& [field, text] : testing::demoWindowTexts("(UTC+08:00) Taipei")) fields.set(field, text);
    fields.setExcelReports(true);  // every output: the workbook and the CSV files too
  }

  void run() {
    testing::RecordingReportUi ui(dir.file("out/trip"));
    const ReportEnvironment environment{dir.file("LOGDATA.BIN"), receivedBytes, "ABC123"};
    ASSERT_EQ(ReportRun(session, fields, ui, environment).run(), RunOutcome::Done);
  }

  testing::TempDir dir;
  tracklog::FixedFields fields;
  ReportSession session;
  std::uint32_t receivedBytes = 0;
};

TEST_F(ReportMemoryTest, RepeatedRunsLeaveNoFileOpen) {
  run();  // whatever the C library opens once and keeps (the zone database) is open by now
  const auto before = openDescriptors();
  for (int i = 0; i < 3; ++i) run();
  const auto after = openDescriptors();
  EXPECT_EQ(after, before) << "open before the runs:" << describe(before)
                           << "\nopen after three runs:" << describe(after);
}

TEST_F(ReportMemoryTest, RepeatedRunsDoNotGrowTheHeap) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's allocator does not report through mallinfo2";
#endif
  // The first runs settle what lives as long as the program (caches of the C library, the
  // zone's text).
  run();
  run();
  const std::size_t settled = heapInUse();
  for (int i = 0; i < 6; ++i) run();
  const std::size_t after = heapInUse();
  RecordProperty("heap_growth_bytes",
                 std::to_string(static_cast<long long>(after) - static_cast<long long>(settled)));
  // Six runs keep a few kilobytes more at most (buffers the C library sizes as it goes).
  constexpr std::size_t kSlack = 32 * 1024;
  EXPECT_LE(after, settled + kSlack) << "the heap grew from " << settled << " to " << after
                                     << " bytes over six runs";
}

}  // namespace
}  // namespace tellurix::report
