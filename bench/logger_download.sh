#!/usr/bin/env bash
# Downloads a full logger memory (131071 records, 2,158,317 bytes on the line) from the
# simulated logger pacing at 921600 baud, RUNS times, and prints the medians of the transfer
# time, its ratio to the line time (23.419 s) and the reader thread's share of one core.
#   bench/logger_download.sh [RUNS] [RECORDS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
records=${2:-131071}

cmake --preset release >/dev/null
cmake --build --preset release --target logger_download_bench >/dev/null

out=$(mktemp)
trap 'rm -f "$out"' EXIT
for ((i = 1; i <= runs; i++)); do
  build/release/bench/logger_download_bench "$records" 2>>"$out.sim" | tee -a "$out"
done
grep '^transfer:' "$out.sim" || true
rm -f "$out.sim"

python3 - "$out" <<'PY'
import statistics, sys
rows = [dict(kv.split("=") for kv in line.split()) for line in open(sys.argv[1]) if line.strip()]
def median(key): return statistics.median(float(r[key]) for r in rows)
print(f"runs {len(rows)}: transfer median {median('transfer_s'):.3f} s, line time {float(rows[0]['wire_s']):.3f} s, "
      f"ratio median {median('ratio'):.4f}, reader CPU median {median('reader_cpu_pct'):.2f} % of one core, "
      f"every byte written in all runs: {all(r['all_bytes'] == 'yes' for r in rows)}")
PY
