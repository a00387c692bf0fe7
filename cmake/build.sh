#!/bin/bash
# Configures and builds both targets: build/i686 (the 32-bit product) and
# build/x86_64 (what the tests run under 64-bit Wine).
# Usage: cmake/build.sh [build-folder]   (TEVRIX_ARCHES="x86_64" builds one)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")
arches=${TEVRIX_ARCHES:-"i686 x86_64"}
jobs=$(nproc)
# Marks the folder as made by the build, for tools that skip such folders (the
# command check among them): https://bford.info/cachedir/
mkdir -p "$build"
if [ ! -f "$build/CACHEDIR.TAG" ]; then
  printf '%s\n' "Signature: 8a477f597d28d172789f06886806bc55" \
    "# The build folder of Tevrix (cmake/build.sh): all of it is made by the build." \
    >"$build/CACHEDIR.TAG"
fi
for arch in $arches; do
  if [ ! -f "$build/$arch/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build/$arch" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" \
      -DTEVRIX_WINEPREFIX="$build/wineprefix" >/dev/null
  fi
  cmake --build "$build/$arch" -j "$jobs"
  if [ "$arch" = i686 ]; then
    # The release ZIP of the 32-bit DLLs.
    (cd "$build/$arch" && cpack -G ZIP >/dev/null)
  fi
done
