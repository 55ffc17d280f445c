// The stop search on a full log, beside the plain rescan it must match.
// Run: build/release/bench/stop_search_bench
//
// Layouts of 131071 fixes one second apart:
//   parked:    a GPS-like wander within 90 m of one place, then a far last fix; stop period
//              2200 minutes, longer than the 36-hour stay. The plain search rescans to the end
//              from every anchor.
//   scattered: the same, but each fix anywhere within 95 m, so no run of fixes is compact.
//   demo:      the realistic demo log (drives, parked stops, gaps), stop period 10.
#include <benchmark/benchmark.h>

#include <random>

#include "report/Legs.h"
#include "tests/report/PlainLegSearch.h"
#include "tools/demotrack/DemoTrack.h"
#include "tracklog/Calendar.h"

namespace {

using tellurix::report::Leg;
using tellurix::tracklog::Field;
using tellurix::tracklog::TrackPoint;

constexpr std::uint32_t kPoints = 131071;
constexpr double kMetresPerDegree = 111215.0;

enum class Layout { Parked, Scattered, Demo };

std::vector<TrackPoint> makeLayout(Layout layout) {
  if (layout == Layout::Demo) {
    tellurix::demotrack::DemoTrackOptions options;
    options.records = kPoints;
    return tellurix::demotrack::makeDemoTrack(options);
  }
  std::mt19937 random(20100909);
  std::uniform_real_distribution<double> unit(-1, 1);
  std::vector<TrackPoint> points(kPoints);
  tellurix::tracklog::CalendarTime time{2010, 9, 9, 0, 0, 0};
  double north = 0;
  double east = 0;
  for (std::uint32_t i = 0; i < kPoints; ++i) {
    if (i + 1 == kPoints) {
      north = 5000;  // the one fix far away
    } else if (layout == Layout::Parked) {
      north += unit(random) * 3;
      east += unit(random) * 3;
      const double r = std::hypot(north, east);
      if (r > 90) {
        north *= 90 / r;
        east *= 90 / r;
      }
    } else {
      do {
        north = unit(random) * 95;
        east = unit(random) * 95;
      } while (std::hypot(north, east) > 95);
    }
    points[i].latitude = 25 + north / kMetresPerDegree;
    points[i].longitude = 121.5 + east / (kMetresPerDegree * 0.9063);
    tellurix::tracklog::setCalendarTime(points[i], time);
    time = tellurix::tracklog::addSeconds(time, 1);
  }
  return points;
}

const char* stopPeriodOf(Layout layout) {
  return layout == Layout::Demo ? "10" : "2200";
}

template <typename Search>
void runSearch(benchmark::State& state, Layout layout, Search search) {
  const std::vector<TrackPoint> points = makeLayout(layout);
  tellurix::tracklog::FixedFields fields;
  fields.set(Field::StopPeriod, stopPeriodOf(layout));
  std::vector<Leg> legs;
  for (auto _ : state) {
    legs = search(points.data(), kPoints, fields);
    benchmark::DoNotOptimize(legs.data());
  }
  // Both searches must give the same legs.
  if (legs != tellurix::report::findLegs(points.data(), kPoints, fields)) state.SkipWithError("legs differ");
  state.counters["legs"] = static_cast<double>(legs.size());
}

void BM_FindLegs(benchmark::State& state) {
  runSearch(state, static_cast<Layout>(state.range(0)), tellurix::report::findLegs);
}
void BM_PlainFindLegs(benchmark::State& state) {
  runSearch(state, static_cast<Layout>(state.range(0)), tellurix::testing::plainFindLegs);
}

}  // namespace

// Arguments: 0 parked, 1 scattered, 2 demo.
BENCHMARK(BM_FindLegs)
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
// One pass of the plain search over an adversarial layout takes about two minutes.
BENCHMARK(BM_PlainFindLegs)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1);

BENCHMARK_MAIN();
