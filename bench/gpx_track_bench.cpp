// What the GPX track adds to a full-log report run, in process:
//  - BM_ReportRun/with_gpx: the whole Make Report command as it runs;
//  - BM_ReportRun/without_gpx: the same run with a folder where the GPX file would go, so the
//    track stops at its failed open (one fopen and a message to a quiet window);
//  - BM_GpxTrack: the GPX of the same points and legs alone.
// Run: build/dev/bench/gpx_track_bench --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "report/GpxTrack.h"
#include "report/Legs.h"
#include "report/ReportRun.h"
#include "tools/demotrack/DemoTrack.h"

namespace {

namespace fs = std::filesystem;
using tellurix::tracklog::Field;

constexpr std::uint32_t kFullLog = 131071;

class QuietUi final : public tellurix::report::ReportUi {
 public:
  explicit QuietUi(std::string path) : path_(std::move(path)) {}
  void saveSettings() override {}
  std::optional<std::string> chooseOutputPath() override { return path_; }
  void showMessage(std::string_view, std::string_view) override { ++messages; }
  void setStatusText(std::string_view) override {}
  void setStatusColour(tellurix::report::StatusColour) override {}
  void startBlink() override {}
  void stopBlink() override {}
  void repaint() override {}
  void recordRead() override {}

  int messages = 0;

 private:
  std::string path_;
};

// A full demo log, selected whole, in a folder of its own.
struct FullLogRun {
  explicit FullLogRun(const std::string& name)
      : folder(fs::temp_directory_path() / ("tellurix-gpx-bench-" + name)),
        ui((folder / "out" / "bench").string()) {
    fs::create_directories(folder);
    log = (folder / "LOGDATA.BIN").string();
    tellurix::demotrack::DemoTrackOptions options;
    options.records = kFullLog;
    tellurix::demotrack::writeLogFile(log, tellurix::demotrack::makeDemoTrack(options));
    fields.set(Field::StartYear, "2000");
    fields.set(Field::EndYear, "2100");
    fields.set(Field::TimeZone, "(GMT+08:00) Taipei");
  }
  ~FullLogRun() { fs::remove_all(folder); }
  FullLogRun(const FullLogRun&) = delete;
  FullLogRun& operator=(const FullLogRun&) = delete;

  bool run() {
    const tellurix::report::ReportEnvironment environment{log, kFullLog * 16, "BENCH"};
    return tellurix::report::ReportRun(session, fields, ui, environment).run() ==
           tellurix::report::RunOutcome::Done;
  }

  fs::path folder;
  std::string log;
  tellurix::report::ReportSession session;
  tellurix::tracklog::FixedFields fields;
  QuietUi ui;
};

// One prepared log and session per benchmark, kept across its interleaved repetitions; the
// first run has made the report folder.
FullLogRun& prepared(const std::string& name) {
  static std::map<std::string, std::unique_ptr<FullLogRun>> runs;
  std::unique_ptr<FullLogRun>& full = runs[name];
  if (!full) {
    full = std::make_unique<FullLogRun>(name);
    full->run();
  }
  return *full;
}

void BM_ReportRun(benchmark::State& state, bool withGpx) {
  FullLogRun& full = prepared(withGpx ? "with" : "without");
  const std::string gpx = tellurix::report::gpxTrackPath(full.session.names);
  if (!withGpx && !fs::is_directory(gpx)) {
    fs::remove(gpx);
    fs::create_directory(gpx);
  }
  for (auto _ : state) {
    if (!full.run()) state.SkipWithError("report not done");
  }
  state.counters["points"] = full.session.store.pointCount;
  state.counters["gpx_bytes"] = withGpx ? static_cast<double>(fs::file_size(gpx)) : 0.0;
  if ((full.ui.messages == 0) == !withGpx) state.SkipWithError("the GPX did not go the intended way");
  full.ui.messages = 0;
}

void BM_GpxTrack(benchmark::State& state) {
  FullLogRun& full = prepared("alone");
  const auto& store = full.session.store;
  const auto legs = tellurix::report::findLegs(store.localPoints(), store.pointCount, full.fields);
  const std::string path = (full.folder / "alone.gpx").string();
  for (auto _ : state) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    const bool written = out != nullptr && tellurix::report::writeGpxTrack(out, store, legs, "bench");
    if (out == nullptr || std::fclose(out) != 0 || !written) state.SkipWithError("GPX not written");
  }
  state.counters["points"] = store.pointCount;
  state.counters["legs"] = static_cast<double>(legs.size());
}

}  // namespace

BENCHMARK_CAPTURE(BM_ReportRun, with_gpx, true)->Unit(benchmark::kMillisecond)->Repetitions(11);
BENCHMARK_CAPTURE(BM_ReportRun, without_gpx, false)->Unit(benchmark::kMillisecond)->Repetitions(11);
BENCHMARK(BM_GpxTrack)->Unit(benchmark::kMillisecond)->Repetitions(11);

BENCHMARK_MAIN();
