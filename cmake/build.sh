#!/bin/bash
# Configures and builds both targets: build/i686 (the 32-bit product and its
# release ZIP) and build/x86_64 (the same under 64-bit Wine).
# Usage: cmake/build.sh [build-folder] [cmake target...]
# TEVRIX_ARCHES="x86_64" builds one target; named cmake targets build only
# those (the demo's), without the ZIP.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build}")
shift || true
arches=${TEVRIX_ARCHES:-"i686 x86_64"}
targets=()
[ $# -eq 0 ] || targets=(--target "$@")
# Marks the folder as made by the build, for tools that skip such folders
# (backup programs among them): https://bford.info/cachedir/
mkdir -p "$build"
if [ ! -f "$build/CACHEDIR.TAG" ]; then
  printf '%s\n' "Signature: 8a477f597d28d172789f06886806bc55" \
    "# The build folder of Tevrix (cmake/build.sh): all of it is made by the build." \
    >"$build/CACHEDIR.TAG"
fi
for arch in $arches; do
  if [ ! -f "$build/$arch/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build/$arch" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch.cmake" >/dev/null
  fi
  cmake --build "$build/$arch" -j "$(nproc)" "${targets[@]}"
  if [ "$arch" = i686 ] && [ $# -eq 0 ]; then
    (cd "$build/$arch" && cpack -G ZIP >/dev/null)
  fi
done
