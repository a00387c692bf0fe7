#!/bin/bash
# The test command: set up the machine, build both targets, run every test
# under Wine. Extra arguments go to ctest (e.g. -R plugin).
# Usage: cmake/run-tests.sh [build-folder] [ctest args...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$root/build}")
shift || true
"$root/cmake/setup-machine.sh"
"$root/cmake/build.sh" "$BUILD"
source "$root/cmake/wine-session.sh"
trap wine_session_end EXIT
wine_session_start yes
cd "$BUILD/x86_64"
ctest --output-on-failure "$@"
"$root/fuzz/run.sh" "${TEVRIX_FUZZ_SECONDS:-30}"
