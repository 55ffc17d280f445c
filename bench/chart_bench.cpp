// What the chart workbook adds to a report run: writing it alone, from shares of a full log.
// Run: build/dev/bench/chart_bench, or bench/chart_workbook.sh for the report runs beside it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "charts/ChartWorkbook.h"

namespace {

namespace fs = std::filesystem;

tellurix::charts::ChartTables fullLogShares() {
  tellurix::charts::ChartTables tables;
  constexpr float points = 131071;
  for (std::size_t i = 0; i < tables.speed.size(); ++i)
    tables.speed[i] = static_cast<float>(1000 * i + 7) / points;
  for (std::size_t i = 0; i < tables.timeOfDay.size(); ++i)
    tables.timeOfDay[i] = static_cast<float>(20000 + i) / points;
  for (std::size_t i = 0; i < tables.weekday.size(); ++i)
    tables.weekday[i] = static_cast<float>(18000 + i) / points;
  return tables;
}

void BM_ChartWorkbook(benchmark::State& state) {
  const fs::path folder = fs::temp_directory_path() / "tellurix-chart-bench";
  fs::create_directories(folder);
  const std::string path = (folder / "bench-SpeedChart.xls").string();
  const tellurix::charts::ChartTables tables = fullLogShares();
  for (auto _ : state) {
    if (!tellurix::charts::WriteChartWorkbook(tables, "KPH", path))
      state.SkipWithError("workbook not written");
  }
  fs::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_ChartWorkbook)->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly();

BENCHMARK_MAIN();
