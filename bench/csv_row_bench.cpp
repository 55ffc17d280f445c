// The CSV rows of a full log formatted by printf and by formatCsvRow, side by side (no I/O).
// Run: build/release/bench/csv_row_bench
#include <benchmark/benchmark.h>

#include <cstdio>

#include "report/CsvRow.h"
#include "tools/demotrack/DemoTrack.h"

namespace {

std::vector<tellurix::report::CsvRowValues> fullLogRows() {
  tellurix::demotrack::DemoTrackOptions options;
  options.records = 131071;
  std::vector<tellurix::report::CsvRowValues> rows;
  for (const auto& p : tellurix::demotrack::makeDemoTrack(options)) {
    rows.push_back({p.year, p.month, p.day, p.hour, p.minute, p.second, p.latitude, p.longitude, p.altitude,
                    p.speed, 123.456, 12.34, 1234.567891});
  }
  return rows;
}

void BM_CsvRowsPrintf(benchmark::State& state) {
  const auto rows = fullLogRows();
  char text[tellurix::report::kCsvRowCapacity];
  for (auto _ : state) {
    for (const auto& v : rows) {
      benchmark::DoNotOptimize(std::snprintf(
          text, sizeof text, "%4d,%02d,%02d,%02d,%02d,%02d,%.7f,%.7f,%.2f,%.2f,%.2f,%.2f,%f\r\n", v.year,
          v.month, v.day, v.hour, v.minute, v.second, v.latitude, v.longitude, v.altitude, v.speed, v.bearing,
          v.distance, v.mileage));
    }
  }
}

void BM_CsvRowsFormatCsvRow(benchmark::State& state) {
  const auto rows = fullLogRows();
  char text[tellurix::report::kCsvRowCapacity];
  for (auto _ : state) {
    for (const auto& v : rows) benchmark::DoNotOptimize(tellurix::report::formatCsvRow(v, text));
  }
}

}  // namespace

BENCHMARK(BM_CsvRowsPrintf)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_CsvRowsFormatCsvRow)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

BENCHMARK_MAIN();
