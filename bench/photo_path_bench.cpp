// Make Photo Path over a full log, in process, beside the report's own trip KML output of the
// same run: the walk, the point placemarks and the photos. Run: build/release/bench/photo_path_bench
//
// BM_PhotoPathCopies: 200 placed photos with camera-sized copies (2 to 5 MB) in the photo
// folder, without (write:0) and with (write:1) the positions written into them. Side by side:
//   photo_path_bench --benchmark_filter=Copies --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "BenchPhotos.h"
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
  // With `copyNames` they are named as writeBenchPhotos names the copies.
  void loadPhotos(tellurix::tagging::PhotoList& list, int count, bool copyNames = false) const {
    const auto& store = session.store;
    for (int i = count - 1; i >= 0; --i) {
      const auto at = static_cast<std::uint32_t>(std::int64_t{i} * (store.pointCount - 1) / count);
      char name[32];
      if (copyNames) {
        std::snprintf(name, sizeof name, "P%04d.jpg", i);
      } else {
        std::snprintf(name, sizeof name, "P%d.JPG", i);
      }
      list.append(name, tellurix::tagging::dateTimeText(tellurix::tracklog::calendarTimeOf(store.local(at))));
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

// The copies P0000.jpg ... as Load leaves them in the photo folder; written once per program run.
int photoCopies(const FullRun& run, int count) {
  static const int written = [&] {
    tellurix::bench::writeBenchPhotos(run.session.names.reportFolder + "photo", count, 9);
    return count;
  }();
  return written;
}

void BM_PhotoPathCopies(benchmark::State& state) {
  FullRun& run = fullRun();
  IdleUi ui;
  const int count = photoCopies(run, 200);
  const auto positions = state.range(0) != 0 ? tellurix::tagging::PhotoPositions::Write
                                             : tellurix::tagging::PhotoPositions::Leave;
  std::size_t placed = 0;
  std::size_t notTagged = 0;
  for (auto _ : state) {
    state.PauseTiming();
    tellurix::tagging::PhotoList list;
    run.loadPhotos(list, count, true);
    state.ResumeTiming();
    const auto result = tellurix::tagging::makePhotoPath(list, run.session, run.fields, ui, positions);
    placed = result.placements.size();
    notTagged = result.notTagged.size();
  }
  state.counters["placed"] = static_cast<double>(placed);
  state.counters["not_tagged"] = static_cast<double>(notTagged);
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
// Later runs rewrite positions written by earlier ones: the same reading and writing of every copy.
BENCHMARK(BM_PhotoPathCopies)
    ->ArgName("write")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly();
BENCHMARK(BM_TripKml)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly();

BENCHMARK_MAIN();
