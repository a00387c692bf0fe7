#!/bin/bash
# The test command: set up the machine, build both targets, check that every
# command our scripts call comes from the set-up's packages
# (cmake/check-commands.sh, on a full run), run every test program under
# 64-bit Wine, then (on a full run) the fuzz targets of the byte parsers
# natively (fuzz/run.sh; TEVRIX_FUZZ_SECONDS per target, 0 leaves them out) and
# the 32-bit smoke program under 32-bit Wine (cmake/run-smoke32.sh;
# TEVRIX_SMOKE32=no leaves it out). It closes with one line counting all of
# them.
# Extra arguments go to ctest (e.g. -R plugin) and leave the command check,
# fuzzing and smoke out.
# Usage: cmake/run-tests.sh [build-folder] [ctest args...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$root/build}")
shift || true
"$root/cmake/setup-machine.sh"
"$root/cmake/build.sh" "$BUILD"
# After the build, which tags its folder as one for the check to skip; a
# failure is counted at the end.
commands=0
[ $# -gt 0 ] || "$root/cmake/check-commands.sh" || commands=$?
source "$root/cmake/wine-session.sh"
trap wine_session_end EXIT
wine_session_start yes

passed=0 failed=0 skipped=0
count() { # count <exit code>: 0 passed, 77 skipped, anything else failed
  case "$1" in
    0) passed=$((passed + 1)) ;;
    77) skipped=$((skipped + 1)) ;;
    *) failed=$((failed + 1)) ;;
  esac
}

log="$BUILD/ctest.log"
status=0
(cd "$BUILD/x86_64" && ctest --output-on-failure "$@") | tee "$log" || status=$?
total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n 1)
broken=$(sed -n 's/.*, \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -n 1)
if [ -n "$total" ]; then
  passed=$((total - broken))
  failed=$broken
elif [ "$status" -ne 0 ]; then
  failed=1
fi

if [ $# -eq 0 ]; then
  count "$commands"
  fuzz_seconds=${TEVRIX_FUZZ_SECONDS:-30}
  if [ "$fuzz_seconds" != 0 ]; then
    code=0
    "$root/fuzz/run.sh" "$fuzz_seconds" || code=$?
    count "$code"
  fi
  if [[ "${TEVRIX_ARCHES:-i686}" == *i686* ]] && [ "${TEVRIX_SMOKE32:-yes}" != no ]; then
    code=0
    "$root/cmake/run-smoke32.sh" "$BUILD" || code=$?
    count "$code"
  fi
fi

summary="tests: $passed passed, $failed failed"
[ "$skipped" -gt 0 ] && summary="$summary, $skipped skipped"
echo "$summary"
[ "$failed" -eq 0 ] && [ "$status" -eq 0 ]
