#!/usr/bin/env bash
# Builds the libFuzzer programs (preset "fuzz": clang, -fsanitize=fuzzer,address,undefined,
# in build/fuzz) and runs each fuzz target for a given time, one after another, on one core.
#
#   tools/fuzz.sh [SECONDS] [TARGET...]
#
#   SECONDS  run time per target, default 600 (10 minutes)
#   TARGET   packet_reassembly, capture_time, settings_file, report_run (default: all four)
#
# Each run starts from the checked-in corpus tests/fuzz/corpus/<target>/ and writes the new
# inputs it finds into the scratch corpus build/fuzz/corpus/<target>/, which later runs start
# from as well; the checked-in corpus is only read. A crash, hang (10 s) or leak stops the run
# and leaves its input as build/fuzz/finds/<target>/crash-*, timeout-* or leak-*; the log of
# each run is build/fuzz/logs/<target>.log, its last lines the executions and coverage. One
# fuzzing process per target, no -jobs/-workers forks: it keeps to one core.
#
# A find, once fixed in the code, goes into the checked-in corpus minimised:
#   build/fuzz/tests/fuzz/fuzz_<target> -minimize_crash=1 -runs=20000 -exact_artifact_path=m <find>
#   cp m tests/fuzz/corpus/<target>/<what-it-shows>
# and the replay test fuzz_replay.<target> of the ordinary builds exercises it from then on.
# To move the scratch corpus's best inputs over (keep the checked-in one small):
#   build/fuzz/tests/fuzz/fuzz_<target> -merge=1 tests/fuzz/corpus/<target> build/fuzz/corpus/<target>
#
# FUZZ_FLAGS adds libFuzzer flags, e.g. FUZZ_FLAGS=-max_len=20000. Two of these scripts may run
# side by side on different targets; more would only share the same cores.
set -euo pipefail

cd "$(dirname "$0")/.."
# The targets write their scratch files for every input: in memory when the system has it.
if [[ -z ${TMPDIR:-} && -d /dev/shm && -w /dev/shm ]]; then export TMPDIR=/dev/shm; fi
seconds=${1:-600}
shift || true
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(packet_reassembly capture_time settings_file report_run)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2

# Largest input per target: enough for several packets, a photo header, a settings file, a
# log of about a hundred records. The capture-time input can ask for a long run of filler.
max_len() {
  case $1 in
    packet_reassembly) echo 8192 ;;
    capture_time) echo 4096 ;;
    settings_file) echo 2048 ;;
    report_run) echo 2048 ;;
    *) echo "unknown target $1" >&2; exit 2 ;;
  esac
}

status=0
for target in "${targets[@]}"; do
  len=$(max_len "$target")
  scratch=build/fuzz/corpus/$target
  finds=build/fuzz/finds/$target
  log=build/fuzz/logs/$target.log
  mkdir -p "$scratch" "$finds" "$(dirname "$log")"
  echo "== $target: ${seconds}s, log $log"
  # shellcheck disable=SC2086
  if ! build/fuzz/tests/fuzz/fuzz_"$target" -max_total_time="$seconds" -max_len="$len" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$finds/" \
      ${FUZZ_FLAGS:-} "$scratch" tests/fuzz/corpus/"$target" >"$log" 2>&1; then
    echo "   $target stopped on a find:" && ls "$finds"
    status=1
  fi
  grep -E '^#[0-9]+' "$log" | tail -1
done
exit $status
