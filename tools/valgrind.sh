#!/usr/bin/env bash
# Runs the core test suites under valgrind's memcheck: a memory error or a definite leak in any
# of them, or in a tellurix-cli the suites start, fails the run.
#   tools/valgrind.sh [SUITE...]     suites: tracklog kml report logger tagging charts cli
# Uses the dev build (built here if needed). Prints a line per suite and the total time; the
# full memcheck logs stay in the folder it names.
set -euo pipefail
cd "$(dirname "$0")/.."

suites=("$@")
[ ${#suites[@]} -gt 0 ] || suites=(tracklog kml report logger tagging charts cli)

cmake --preset dev >/dev/null
targets=()
for s in "${suites[@]}"; do targets+=("${s}_tests"); done
cmake --build --preset dev -j2 --target "${targets[@]}" tellurix-cli tellurix-logger-sim >/dev/null

logs=$(mktemp -d "${TMPDIR:-/tmp}/tellurix-valgrind.XXXXXX")
memcheck=(valgrind --tool=memcheck --error-exitcode=99 --leak-check=full
          --errors-for-leak-kinds=definite --show-leak-kinds=definite
          --suppressions="$PWD/tools/valgrind.supp" --num-callers=30)
# The tests' own environment (tests/CMakeLists.txt); the batch tool they start runs under
# memcheck too, each process with a log of its own.
export TZ=UTC LC_ALL=C
export TELLURIX_TOOL_WRAPPER="${memcheck[*]} --log-file=$logs/tellurix-cli.%p.log"

failed=0
all_start=$(date +%s)
printf '%-10s %-7s %8s  %s\n' suite result seconds "memcheck"
for s in "${suites[@]}"; do
  start=$(date +%s)
  status=0
  "${memcheck[@]}" --log-file="$logs/$s.log" "build/dev/tests/$s/${s}_tests" --gtest_brief=1 \
    >"$logs/$s.out" 2>&1 || status=$?
  summary=$(grep -h "ERROR SUMMARY" "$logs/$s.log" | tail -n 1 | sed 's/^==[0-9]*== //')
  case $status in
    0) result=clean ;;
    99) result=ERRORS; failed=1 ;;
    *) result="tests($status)"; failed=1 ;;
  esac
  printf '%-10s %-7s %8d  %s\n' "$s" "$result" $(($(date +%s) - start)) "$summary"
done

# The batch tool's runs: every log must end with no error.
children=$(find "$logs" -name 'tellurix-cli.*.log' | wc -l)
dirty=$(grep -L "ERROR SUMMARY: 0 errors" "$logs"/tellurix-cli.*.log 2>/dev/null | wc -l || true)
printf '%-10s %-7s %8s  %s runs of tellurix-cli, %s with errors\n' tellurix-cli \
  "$([ "$dirty" = 0 ] && echo clean || echo ERRORS)" - "$children" "$dirty"
[ "$dirty" = 0 ] || failed=1

echo "total $(($(date +%s) - all_start)) s; logs in $logs"
exit $failed
