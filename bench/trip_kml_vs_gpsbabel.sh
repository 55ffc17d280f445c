#!/usr/bin/env bash
# The whole report run over a full log, all KML files included (trip path, point file, one file
# per leg), side by side with gpsbabel turning our RMC track into one KML file.
# Usage: bench/trip_kml_vs_gpsbabel.sh [build-dir]   (default: build/release)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
if [ ! -x "$build/tools/cli/tellurix-cli" ]; then
  cmake --preset release -S "$root" >/dev/null
  cmake --build --preset release >/dev/null
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/tools/demotrack/tellurix-demo-log" "$work/LOGDATA.BIN" 131071
report=("$build/tools/cli/tellurix-cli" report --log "$work/LOGDATA.BIN" --out "$work/out/full"
        --start "2000/1/1 0:0:0" --end "2100/1/1 0:0:0" --zone "(GMT+08:00) Taipei" --user-id BENCH)
"${report[@]}" >/dev/null
folder=$(dirname "$(ls "$work"/out/*/full-rmc.txt)")
rmc=$folder/full-rmc.txt
echo "RMC lines: $(wc -l <"$rmc")"
echo "KML files: $(ls "$folder"/*.kml | wc -l) ($(ls "$folder"/stop*.kml | wc -l) legs)," \
     "$(cat "$folder"/*.kml | wc -c) bytes"

hyperfine --warmup 2 --runs 15 --export-json "$work/result.json" \
  -n tellurix-report-with-kml "${report[*]@Q} >/dev/null" \
  -n gpsbabel-nmea-to-kml "gpsbabel -i nmea -f ${rmc@Q} -o kml -F /dev/null"
python3 "$root/bench/hyperfine_medians.py" "$work/result.json"
