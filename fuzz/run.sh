#!/bin/bash
# Builds the fuzz targets natively with clang and runs each one for a bounded
# time, starting from its seed corpus in fuzz/corpus/<target>/. Fails when any
# target finds a crash, a sanitizer report, a leak or a timeout; the input that
# caused it is kept in <build>/fuzz/artifacts/.
# Usage: fuzz/run.sh [seconds per target, default 30; 0 skips fuzzing] [build-folder]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
seconds=${1:-30}
out=$(realpath -m "${2:-$here/../build}")/fuzz
# libFuzzer takes a total time of 0 as "no limit", so 0 means no run at all.
if [ "$seconds" = 0 ]; then
  echo "fuzz: skipped (0 seconds per target)"
  exit 0
fi
mkdir -p "$out"

cmake -S "$here" -B "$out/build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  >/dev/null
cmake --build "$out/build" -j 2

mkdir -p "$out/artifacts"
failed=()
for seeds in "$here"/corpus/*/; do
  target=$(basename "$seeds")
  # New inputs go to a working corpus, so the committed seeds stay as they are.
  work="$out/corpus/$target"
  mkdir -p "$work"
  echo "fuzz: $target for ${seconds}s"
  if ! "$out/build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$out/artifacts/$target-" "$work" "$seeds" \
      >"$out/$target.log" 2>&1; then
    echo "fuzz: $target FAILED (see $out/$target.log)"
    tail -n 30 "$out/$target.log"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in ${failed[*]}"
  exit 1
fi
echo "fuzz: all targets ran ${seconds}s without findings"
