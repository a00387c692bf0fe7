#!/bin/bash
# The benchmark: builds the x86_64 target and runs tests/bench's program under
# 64-bit Wine, which prints a table of median timings. Not part of the tests.
# Usage: cmake/run-bench.sh [build-folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$root/build}")
"$root/cmake/setup-machine.sh"
TEVRIX_ARCHES=x86_64 "$root/cmake/build.sh" "$BUILD"
source "$root/cmake/wine-session.sh"
trap wine_session_end EXIT
wine_session_start yes
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(wine64_run --version)"
cd "$BUILD/x86_64/tests/bench"
wine64_run ./Quorvan.exe
