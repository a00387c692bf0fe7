#!/bin/bash
# The test command: set up the machine, build both targets, run every test
# under Wine, then (on a full run of both targets) the 32-bit smoke program
# under 32-bit Wine (cmake/run-smoke32.sh; TEVRIX_SMOKE32=no leaves it out).
# Extra arguments go to ctest (e.g. -R plugin) and leave the smoke run out.
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
if [ $# -eq 0 ] && [[ "${TEVRIX_ARCHES:-i686}" == *i686* ]] && [ "${TEVRIX_SMOKE32:-yes}" != no ]; then
  "$root/cmake/run-smoke32.sh" "$BUILD"
fi
