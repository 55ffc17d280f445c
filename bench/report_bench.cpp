// The Make Report command over a full log, in process. Run: build/release/bench/report_bench
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "AllocationCounter.h"
#include "report/ReportRun.h"
#include "tools/demotrack/DemoTrack.h"

namespace {

namespace fs = std::filesystem;
using tellurix::tracklog::Field;

class QuietUi final : public tellurix::report::ReportUi {
 public:
  explicit QuietUi(std::string path) : path_(std::move(path)) {}
  void saveSettings() override {}
  std::optional<std::string> chooseOutputPath() override { return path_; }
  void showMessage(std::string_view, std::string_view) override {}
  void setStatusText(std::string_view) override {}
  void setStatusColour(tellurix::report::StatusColour) override {}
  void startBlink() override {}
  void stopBlink() override {}
  void repaint() override {}
  void recordRead() override {}

 private:
  std::string path_;
};

struct BenchLog {
  fs::path folder;
  std::string log;
  std::uint32_t bytes;
};

BenchLog makeLog(std::uint32_t records) {
  BenchLog b;
  b.folder = fs::temp_directory_path() / ("tellurix-bench-" + std::to_string(records));
  fs::create_directories(b.folder);
  b.log = (b.folder / "LOGDATA.BIN").string();
  tellurix::demotrack::DemoTrackOptions options;
  options.records = records;
  tellurix::demotrack::writeLogFile(b.log, tellurix::demotrack::makeDemoTrack(options));
  b.bytes = records * 16;
  return b;
}

tellurix::tracklog::FixedFields wholeLogFields(bool excel) {
  tellurix::tracklog::FixedFields fields;
  fields.set(Field::StartYear, "2000");
  fields.set(Field::EndYear, "2100");
  fields.set(Field::TimeZone, "(GMT+08:00) Taipei");
  fields.setExcelReports(excel);
  return fields;
}

void runReport(benchmark::State& state, bool excel) {
  const auto records = static_cast<std::uint32_t>(state.range(0));
  const BenchLog log = makeLog(records);
  tellurix::report::ReportSession session;
  tellurix::tracklog::FixedFields fields = wholeLogFields(excel);
  QuietUi ui((log.folder / "out" / "bench").string());
  const tellurix::report::ReportEnvironment environment{log.log, log.bytes, "BENCH"};
  std::size_t allocations = 0;
  for (auto _ : state) {
    const std::size_t before = tellurix::bench::allocationCount();
    const auto outcome = tellurix::report::ReportRun(session, fields, ui, environment).run();
    allocations = tellurix::bench::allocationCount() - before;
    if (outcome != tellurix::report::RunOutcome::Done) state.SkipWithError("report not done");
  }
  state.counters["points"] = session.store.pointCount;
  state.counters["allocations"] = static_cast<double>(allocations);
  fs::remove_all(log.folder);
}

void BM_Report(benchmark::State& state) {
  runReport(state, false);
}
void BM_ReportWithExcel(benchmark::State& state) {
  runReport(state, true);
}

}  // namespace

// Allocation counts at 1000 and 131071 records show whether anything allocates per record.
BENCHMARK(BM_Report)
    ->Arg(1000)
    ->Arg(131071)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_ReportWithExcel)
    ->Arg(131071)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

BENCHMARK_MAIN();
