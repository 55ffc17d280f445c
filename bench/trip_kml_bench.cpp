// The KML output of a report run over a full log, in process: trip path, point file and one
// file per leg, without the log read and the report text. Run: build/release/bench/trip_kml_bench
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "AllocationCounter.h"
#include "report/TripKml.h"
#include "tools/demotrack/DemoTrack.h"
#include "tracklog/Geodesy.h"

namespace {

namespace fs = std::filesystem;
using tellurix::tracklog::Field;

// A full log as a report run leaves it before the KML output: the store, the statistics
// and the legs.
struct FullRun {
  FullRun() {
    fields.set(Field::TimeZone, "(GMT+08:00) Taipei");
    tellurix::demotrack::DemoTrackOptions options;
    options.records = 131071;
    const auto track = tellurix::demotrack::makeDemoTrack(options);
    for (const auto& utc : track) {
      auto local = utc;
      tellurix::tracklog::ApplyZoneOffset(zone, fields.text(Field::TimeZone), local);
      const auto* previous = store.pointCount > 0 ? &store.local(store.pointCount - 1) : nullptr;
      stats.addPoint(local, previous);
      store.storePoint(store.pointCount, local, utc);
      store.pointCount += 1;
    }
    for (std::uint32_t i = 0; i + 1 < store.pointCount; ++i) {
      const auto& a = store.local(i);
      const auto& b = store.local(i + 1);
      stats.totalDistance +=
          tellurix::tracklog::distanceMetres(a.latitude, a.longitude, b.latitude, b.longitude);
    }
    legs = tellurix::report::findLegs(store.localPoints(), store.pointCount, fields);
    folder = fs::temp_directory_path() / "tellurix-trip-kml-bench";
    fs::create_directories(folder);
    names.reportFolder = folder.string() + "/";
    names.pathKmlName = "trip-BENCH-2010-09-09.kml";
    names.pointKmlName = "trip-BENCH-2010-09-09_point.kml";
  }
  ~FullRun() { fs::remove_all(folder); }
  FullRun(const FullRun&) = delete;
  FullRun& operator=(const FullRun&) = delete;

  tellurix::tracklog::FixedFields fields;
  tellurix::tracklog::ZoneState zone;
  tellurix::tracklog::TrackStore store;
  tellurix::report::TravelStats stats;
  tellurix::report::ReportNames names;
  std::string userId = "BENCH";
  std::vector<tellurix::report::Leg> legs;
  fs::path folder;
};

void BM_TripKml(benchmark::State& state, const char* unit) {
  static const auto run = std::make_unique<FullRun>();
  run->fields.set(Field::SpeedUnit, unit);
  const tellurix::report::RunContext context{run->fields, run->zone,  run->store,
                                             run->stats,  run->names, run->userId};
  std::size_t allocations = 0;
  for (auto _ : state) {
    tellurix::report::ReportOutputs outputs;
    tellurix::tracklog::openOrFail(outputs.pathKml, run->names.reportFolder + run->names.pathKmlName, "path");
    tellurix::tracklog::openOrFail(outputs.pointKml, run->names.reportFolder + run->names.pointKmlName,
                                   "points");
    const std::size_t before = tellurix::bench::allocationCount();
    tellurix::report::writeTripKml(outputs, context, run->legs, [](const tellurix::report::Leg&) {});
    tellurix::report::closeTripKml(outputs, context);
    allocations = tellurix::bench::allocationCount() - before;
  }
  state.counters["points"] = run->store.pointCount;
  state.counters["legs"] = static_cast<double>(run->legs.size());
  state.counters["allocations"] = static_cast<double>(allocations);
}

}  // namespace

BENCHMARK_CAPTURE(BM_TripKml, kph, "KPH")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(BM_TripKml, mph, "MPH")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

BENCHMARK_MAIN();
