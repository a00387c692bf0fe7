#!/bin/bash
# The test command: set up the machine with 32-bit Wine (cmake/setup-wine32.sh),
# build both targets, run each target's whole suite under Wine
# (cmake/run-suite.sh): x86_64 under 64-bit Wine, i686, the product, under
# 32-bit Wine in a 64-bit prefix. Then, on a full run, the fuzz targets of the
# byte parsers natively (fuzz/run.sh; TEVRIX_FUZZ_SECONDS per target, 0 leaves
# them out). It closes with one line counting the programs of both targets and
# the fuzzing, after a line for each.
# Extra arguments go to ctest (e.g. -R plugin) and leave fuzzing out;
# TEVRIX_ARCHES="x86_64" runs one target.
# Usage: cmake/run-tests.sh [build-folder] [ctest args...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$root/build}")
shift || true
arches=${TEVRIX_ARCHES:-"i686 x86_64"}
"$root/cmake/setup-machine.sh"
wine32=0
[[ "$arches" != *i686* ]] || "$root/cmake/setup-wine32.sh" "$BUILD" || wine32=$?
"$root/cmake/build.sh" "$BUILD"

passed=0 failed=0 skipped=0
status=0
for arch in x86_64 i686; do
  [[ "$arches" == *$arch* ]] || continue
  if [ "$arch" = i686 ] && [ "$wine32" -ne 0 ]; then
    echo "i686: not run (cmake/setup-wine32.sh ended with $wine32)"
    if [ "$wine32" -eq 77 ]; then skipped=$((skipped + 1)); else failed=$((failed + 1)); fi
    continue
  fi
  code=0
  "$root/cmake/run-suite.sh" "$BUILD" "$arch" "$@" || code=$?
  log="$BUILD/ctest-$arch.log"
  total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n 1)
  broken=$(sed -n 's/.*, \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -n 1)
  if [ -z "$total" ]; then # the suite did not get to run
    total=1 broken=1
  fi
  [ "$code" -eq 0 ] || status=$code
  echo "$arch suite: $((total - broken)) of $total programs passed"
  passed=$((passed + total - broken)) failed=$((failed + broken))
done

fuzz_seconds=${TEVRIX_FUZZ_SECONDS:-30}
if [ $# -eq 0 ] && [ "$fuzz_seconds" != 0 ]; then
  if "$root/fuzz/run.sh" "$fuzz_seconds" "$BUILD"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
fi

summary="tests: $passed passed, $failed failed"
[ "$skipped" -gt 0 ] && summary="$summary, $skipped skipped"
echo "$summary"
[ "$failed" -eq 0 ] && [ "$status" -eq 0 ]
