#!/usr/bin/env bash
# Tries the inputs and outputs Tellurix cannot use, through the batch tool and the program,
# and prints what each gave: exit code, message, and whether the log kept its bytes.
#   tools/bad_inputs.sh          (uses the dev build; mounting the small disks needs root)
# Cases that end with a message box in the window (a vanished LOGDATA.BIN, ...) are the
# shell tests' (WindowBadInputTest): a box would wait for a click here.
set -uo pipefail
cd "$(dirname "$0")/.."
build=build/dev
cmake --preset dev >/dev/null
cmake --build --preset dev -j2 --target tellurix-cli tellurix-demo-log tellurix tellurix-logger-sim >/dev/null ||
  exit 1
cli=$PWD/$build/tools/cli/tellurix-cli

work=$(mktemp -d "${TMPDIR:-/tmp}/tellurix-bad-inputs.XXXXXX")
mounts=()
cleanup() {
  for m in "${mounts[@]}"; do umount "$m" 2>/dev/null; done
  [ -n "${simulator:-}" ] && kill "$simulator" 2>/dev/null && wait "$simulator" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$build/tools/demotrack/tellurix-demo-log" "$work/LOGDATA.BIN" 3000
log_sum=$(sha256sum <"$work/LOGDATA.BIN")
window=(--start "2010/9/9 0:0:0" --end "2010/9/11 0:0:0" --zone "(UTC+08:00) Taipei" --excel)

# A tmpfs of SIZE at PATH, read-only with "ro"; false when it cannot be mounted.
small_disk() {
  mkdir -p "$1"
  mount -t tmpfs -o "size=$2${3:+,$3}" tmpfs "$1" 2>/dev/null || return 1
  mounts+=("$1")
}

printf '%-44s | %-4s | %-64s | %s\n' "input" "exit" "message (last line of stderr / shown)" "LOGDATA.BIN"
printf '%s\n' "---------------------------------------------+------+------------------------------------------------------------------+------------"
row() {  # INPUT EXIT MESSAGE
  local kept="kept"
  [ "$(sha256sum <"$work/LOGDATA.BIN")" = "$log_sum" ] || kept="CHANGED"
  printf '%-44s | %-4s | %-64s | %s\n' "$1" "$2" "$(printf '%s\n' "$3" | tail -n 1 | cut -c1-64)" "$kept"
}
report() {  # INPUT OUT [LOG]
  local err status
  err=$("$cli" report --log "${3:-$work/LOGDATA.BIN}" --out "$2" "${window[@]}" 2>&1 >/dev/null)
  status=$?
  row "$1" "$status" "$err"
}

printf 'x' >"$work/not-a-folder"
report "report folder under a regular file" "$work/not-a-folder/trip"

if small_disk "$work/ro" 64k ro; then
  report "report folder on a read-only disk" "$work/ro/trip"
else
  row "report folder on a read-only disk" "-" "skipped: cannot mount a tmpfs"
fi

if small_disk "$work/full" 64k; then
  report "full disk (64 KiB tmpfs, 210 kB of RMC)" "$work/full/trip"
else
  row "full disk (64 KiB tmpfs)" "-" "skipped: cannot mount a tmpfs"
fi

mkdir -p "$work/devfull/2010-09-09"
ln -s /dev/full "$work/devfull/2010-09-09/trip-report.txt"
report "report text whose writes fail (/dev/full)" "$work/devfull/trip"
rm "$work/devfull/2010-09-09/trip-report.txt"
ln -s /dev/full "$work/devfull/2010-09-09/trip-track.gpx"
report "GPX track whose writes fail (/dev/full)" "$work/devfull/trip"

report "LOGDATA.BIN missing" "$work/out/trip" "$work/gone/LOGDATA.BIN"
report "LOGDATA.BIN that is a folder" "$work/out/trip" "$work"

mkdir -p "$work/photo/2010-09-09"
printf 'not a folder' >"$work/photo/2010-09-09/photo"
printf 'x' >"$work/a.jpg"
err=$("$cli" photo-path --log "$work/LOGDATA.BIN" --out "$work/photo/trip" "${window[@]}" --photo "$work/a.jpg" 2>&1 >/dev/null)
row "photo folder that cannot be made" "$?" "$err"

# The program itself, downloading from the simulated logger into a program folder whose
# Tellurix.ini is a folder; TELLURIX_PRINT_DOWNLOAD makes it print its filter and close.
program=$work/program
mkdir -p "$program/Tellurix.ini"
cp "$build/shell/tellurix" "$program/"
"$build/tools/logger-sim/tellurix-logger-sim" --link "$work/ttyLOGGER" --log "$work/LOGDATA.BIN" \
  >"$work/sim.txt" 2>&1 &
simulator=$!
for _ in $(seq 100); do [ -L "$work/ttyLOGGER" ] && break; sleep 0.05; done
shown=$(cd "$program" && TELLURIX_PORT=$work/ttyLOGGER QT_QPA_PLATFORM=offscreen TELLURIX_PRINT_DOWNLOAD=1 \
  timeout 60 ./tellurix 2>&1)
status=$?
zone=$(printf '%s\n' "$shown" | sed -n 's/^cboTimeZone=//p')
records=$(printf '%s\n' "$shown" | sed -n 's/^lblLogShow=//p')
state="still a folder"
[ -d "$program/Tellurix.ini" ] || state="REPLACED"
row "Tellurix.ini that is a folder (program)" "$status" \
  "no box; $records records; zone $zone; ini $state"
