#!/usr/bin/env bash
# What the chart workbook adds to a report run.
#  1. The workbook written alone, in process (chart_bench).
#  2. Full-log report runs without and with "Excel Reports", interleaved in one process.
#  3. One-shot batch-tool runs without and with --excel (a fresh process each time, as a user's
#     first report after start), side by side under hyperfine.
# --excel also writes the CSV tables, so 2 and 3 include them once they are built.
# Usage: bench/chart_workbook.sh [build-dir]   (default: build/dev)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/dev}
cmake --build "$build" --target chart_bench report_bench tellurix-cli tellurix-demo-log >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bench/chart_bench" --benchmark_report_aggregates_only=true
"$build/bench/report_bench" --benchmark_filter='BM_Report/131071|BM_ReportWithExcel/131071' \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true

"$build/tools/demotrack/tellurix-demo-log" "$work/LOGDATA.BIN" 1000
report="${build}/tools/cli/tellurix-cli report --log $work/LOGDATA.BIN --out $work/out/trip"
report+=" --start '2000/1/1 0:0:0' --end '2100/1/1 0:0:0' --zone '(GMT+08:00) Taipei'"
hyperfine --warmup 3 --runs 40 --export-json "$work/result.json" \
  -n report "$report >/dev/null" \
  -n report-with-excel "$report --excel >/dev/null"
python3 "$root/bench/hyperfine_medians.py" "$work/result.json"
