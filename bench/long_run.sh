#!/usr/bin/env bash
# 50 report runs over a full log (131071 records) in one process through the main window,
# offscreen: the resident set and the heap in use before and after runs 1, 10 and 50.
#   bench/long_run.sh [RUNS] [RECORDS] [--no-excel]      (PRESET=dev to use the dev build)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${PRESET:-release}
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target long_run_bench >/dev/null
QT_QPA_PLATFORM=offscreen "build/$preset/bench/long_run_bench" "${1:-50}" "${2:-131071}" "${@:3}"
