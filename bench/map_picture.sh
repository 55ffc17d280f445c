#!/usr/bin/env bash
# What `map --png --no-tiles` of a full log at 1200x800 adds to the report it makes: the two
# commands side by side, interleaved by hyperfine. Usage: bench/map_picture.sh [build-dir]
# (default: build/release)
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
options=(--log "$work/LOGDATA.BIN" --out "$work/out/full" --start "2000/1/1 0:0:0" --end "2100/1/1 0:0:0"
         --zone "(GMT+08:00) Taipei")
report=("$build/tools/cli/tellurix-cli" report "${options[@]}")
picture=("$build/tools/cli/tellurix-cli" map "${options[@]}" --png "$work/map.png" --size 1200x800 --no-tiles)
# No display: the picture is drawn offscreen, as on a server.
export -n DISPLAY WAYLAND_DISPLAY 2>/dev/null || true
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

hyperfine --warmup 2 --runs 15 --export-json "$work/result.json" \
  -n report "${report[*]@Q} >/dev/null" \
  -n map-png-no-tiles "${picture[*]@Q} >/dev/null"
python3 "$root/bench/hyperfine_medians.py" "$work/result.json"
