// Make Photo Path over a full log, in process, beside the report's own trip KML output of the
// same run: the walk, the point placemarks and the photos. Run: build/release/bench/photo_path_bench
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "report/TripKml.h"
#include "tagging/DateTimeText.h"
#include "tagging/PhotoPath.h"
#include "tools/demotrack/DemoTrack.h"
#include "tracklog/Geodesy.h"

namespace {

namespace fs = std::filesystem;
using tellurix::tracklog::Field;

// A window that has nothing to do between points.
class IdleUi final : public tellurix::tagging::TaggingUi {
 public:
  void processEvents() override {}
  void setStatusText(std::string_view /*text*/) override {}
  void showOkCancel(std::string_view /*text*/, std::string_view /*caption*/) override {}
};

// A full log as a report run leaves it: the store, the statistics and the names.
struct FullRun {
  FullRun() {
    fields.set(Field::TimeZone, "(GMT+08:00) Taipei");
    tellurix::demotrack::DemoTrackOptions options;
    options.records = 131071;
    const auto track = tellurix::demotrack::makeDemoTrack(options);
    auto& store = session.store;
    for (const auto& utc : track) {
      auto local = utc;
      tellurix::tracklog::ApplyZoneOffset(session.zone, fields.text(Field::TimeZone), local);
      const auto* previous = store.pointCount > 0 ? &store.local(store.pointCount - 1) : nullptr;
      session.stats.addPoint(local, previous);
      store.storePoint(store.pointCount, local, utc);
      store.pointCount += 1;
    }
    for (std::uint32_t i = 0; i + 1 < store.pointCount; ++i) {
      const auto& a = store.local(i);
      const auto& b = store.local(i + 1);
      session.stats.totalDistance +=
          tellurix::tracklog::distanceMetres(a.latitude, a.longitude, b.latitude, b.longitude);
    }
    folder = fs::temp_directory_path() / "tellurix-photo-path-bench";
    fs::create_directories(folder);
    session.names.reportFolder = folder.string() + "/";
    session.names.pathKmlName = "trip-BENCH-2010-09-09.kml";
    session.names.pointKmlName = "trip-BENCH-2010-09-09_point.kml";
  }
  ~FullRun() { fs::remove_all(folder); }
  FullRun(const FullRun&) = delete;
  FullRun& operator=(const FullRun&) = delete;

  // `count` photos taken at even steps over the track, listed in reverse so the command sorts them.
  void loadPhotos(tellurix::tagging::PhotoList& list, int count) const {
    const auto& store = session.store;
    for (int i = count - 1; i >= 0; --i) {
      const auto at = static_cast<std::uint32_t>(std::int64_t{i} * (store.pointCount - 1) / count);
      list.append("P" + std::to_string(i) + ".JPG",
                  tellurix::tagging::dateTimeText(tellurix::tracklog::calendarTimeOf(store.local(at))));
    }
  }

  tellurix::tracklog::FixedFields fields;
  tellurix::report::ReportSession session;
  fs::path folder;
};

FullRun& fullRun() {
  static const auto run = std::make_unique<FullRun>();
  return *run;
}

void BM_PhotoPath(benchmark::State& state) {
  FullRun& run = fullRun();
  IdleUi ui;
  std::size_t placed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    tellurix::tagging::PhotoList list;
    run.loadPhotos(list, static_cast<int>(state.range(0)));
    state.ResumeTiming();
    placed = tellurix::tagging::makePhotoPath(list, run.session, run.fields, ui).placements.size();
  }
  state.counters["points"] = run.session.store.pointCount;
  state.counters["placed"] = static_cast<double>(placed);
}

// The report's trip path, point and leg files of the same run, for scale.
void BM_TripKml(benchmark::State& state) {
  FullRun& run = fullRun();
  const std::string userId = "BENCH";
  const tellurix::report::RunContext context{run.fields,        run.session.zone,  run.session.store,
                                             run.session.stats, run.session.names, userId};
  const auto legs =
      tellurix::report::findLegs(run.session.store.localPoints(), run.session.store.pointCount, run.fields);
  for (auto _ : state) {
    tellurix::report::ReportOutputs outputs;
    tellurix::tracklog::openOrFail(outputs.pathKml, run.session.names.reportFolder + "path.kml", "path");
    tellurix::tracklog::openOrFail(outputs.pointKml, run.session.names.reportFolder + "point.kml", "points");
    tellurix::report::writeTripKml(outputs, context, legs, [](const tellurix::report::Leg&) {});
    tellurix::report::closeTripKml(outputs, context);
  }
}

}  // namespace

BENCHMARK(BM_PhotoPath)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly();
BENCHMARK(BM_TripKml)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly();

BENCHMARK_MAIN();
