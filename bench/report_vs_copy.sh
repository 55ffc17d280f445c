#!/usr/bin/env bash
# A full log's report with every output, without and with --excel, side by side with copying
# the folder it writes (cp -r) on the same file system; prints the medians and both ratios.
# Usage: bench/report_vs_copy.sh [build-dir] [work-dir]   (defaults: build/release, a new temp dir)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
if [ ! -x "$build/tools/cli/tellurix-cli" ]; then
  cmake --preset release -S "$root" >/dev/null
  cmake --build --preset release >/dev/null
fi
work=$(mktemp -d "${2:-${TMPDIR:-/tmp}}/tellurix-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$build/tools/demotrack/tellurix-demo-log" "$work/LOGDATA.BIN" 131071
cli="$build/tools/cli/tellurix-cli"
args=(report --log "$work/LOGDATA.BIN" --start "2000/1/1 0:0:0" --end "2100/1/1 0:0:0"
      --zone "(GMT+08:00) Taipei" --user-id BENCH)
"$cli" "${args[@]}" --out "$work/plain/full" >/dev/null
"$cli" "${args[@]}" --out "$work/excel/full" --excel >/dev/null
echo "file system of $work: $(df --output=fstype "$work" | tail -1)"
echo "report folder: $(du -sh "$work/plain" | cut -f1), with --excel: $(du -sh "$work/excel" | cut -f1)"

hyperfine -N --warmup 2 --runs 21 --export-json "$work/result.json" \
  -n "cp -r" --prepare "rm -rf $work/copy" "cp -r $work/plain $work/copy" \
  -n "report" --prepare "rm -rf $work/run" "$cli ${args[*]@Q} --out $work/run/full" \
  -n "cp -r (excel)" --prepare "rm -rf $work/copy" "cp -r $work/excel $work/copy" \
  -n "report --excel" --prepare "rm -rf $work/run" "$cli ${args[*]@Q} --out $work/run/full --excel" \
  >/dev/null
python3 "$root/bench/hyperfine_medians.py" "$work/result.json"
python3 - "$work/result.json" <<'PY'
import json, sys
m = {r["command"]: r["median"] for r in json.load(open(sys.argv[1]))["results"]}
print(f"report / cp -r:                 {m['report'] / m['cp -r']:.2f}  (goal 3.0)")
print(f"report --excel / cp -r (excel): {m['report --excel'] / m['cp -r (excel)']:.2f}  (goal 3.5)")
PY
