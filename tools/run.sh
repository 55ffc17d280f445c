#!/usr/bin/env bash
# Builds Tellurix and starts it.
#
# With a logger attached (a tty of the USB-to-serial bridge's pl2303 driver, or TELLURIX_PORT
# naming a port) Tellurix downloads from the logger. Without one, tellurix-logger-sim plays the
# logger with its demo day on a pseudo-terminal, at the real line rate, and is stopped when
# Tellurix ends.
#
#   tools/run.sh [--simulate] [SIMULATOR OPTIONS]
#     --simulate   use the simulated logger even when a logger is attached
#     e.g. tools/run.sh --records 131071     a full memory (see tellurix-logger-sim --help)
#
# Run ./tools/install-deps.sh once before, on a fresh machine.
set -euo pipefail
cd "$(dirname "$0")/.."

simulate=0
if [ "${1:-}" = --simulate ]; then
  simulate=1
  shift
fi

build=build/release
cmake --preset release >/dev/null
cmake --build --preset release --target tellurix tellurix-logger-sim

logger_attached() {
  [ -n "${TELLURIX_PORT:-}" ] && return 0
  local driver
  for driver in /sys/class/tty/*/device/driver; do
    [ "$(basename "$(readlink -f "$driver")")" = pl2303 ] && return 0
  done
  return 1
}

if [ "$simulate" = 0 ] && logger_attached; then
  exec "$build/shell/tellurix"
fi

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/tellurix-run.XXXXXX")
simulator=""
stop_simulator() {
  if [ -n "$simulator" ]; then
    kill "$simulator" 2>/dev/null || true
    wait "$simulator" 2>/dev/null || true
  fi
  rm -rf "$run_dir"
}
trap stop_simulator EXIT
trap 'exit 130' INT TERM

port="$run_dir/ttyLOGGER"
"$build/tools/logger-sim/tellurix-logger-sim" --link "$port" --pace "$@" >"$run_dir/simulator.txt" 2>&1 &
simulator=$!
for _ in $(seq 200); do
  [ -L "$port" ] && break
  if ! kill -0 "$simulator" 2>/dev/null; then
    cat "$run_dir/simulator.txt" >&2
    exit 1
  fi
  sleep 0.05
done
echo "tellurix: no logger attached; downloading from the simulated logger at $port"

status=0
TELLURIX_PORT="$port" "$build/shell/tellurix" || status=$?
exit "$status"
