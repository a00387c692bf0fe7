#!/bin/bash
# Runs one target's CTest suite under Wine: the x86_64 build's under 64-bit
# Wine, the i686 build's (the product) under 32-bit Wine in a 64-bit prefix
# (cmake/wine-session.sh). Its output is kept in <build>/ctest-<arch>.log.
# Where 32-bit Wine runs emulated, its loader is installed under another name
# (cmake/setup-wine32.sh): the i686 suite then runs in a mount namespace of its
# own, where /usr/lib/wine holds the loader under its own name. There every
# program takes one to two minutes, and the whole suite would take over an
# hour: it runs the programs labelled "emulated" (tests/CMakeLists.txt), unless
# TEVRIX_EMULATED_SUITE=whole.
# Usage: cmake/run-suite.sh <build-folder> <x86_64|i686> [ctest args...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "$1")
arch=$2
shift 2
if [ "$arch" = i686 ] && [ ! -e /usr/lib/wine/wine ] && [ -z "${TEVRIX_LOADERS:-}" ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  exec $SUDO env TEVRIX_LOADERS="$BUILD/wine-loaders" TEVRIX_EMULATED_SUITE="${TEVRIX_EMULATED_SUITE:-}" \
    unshare --mount --propagation private "$0" "$BUILD" "$arch" "$@"
fi
if [ -n "${TEVRIX_LOADERS:-}" ]; then
  rm -rf "$TEVRIX_LOADERS"
  mkdir -p "$TEVRIX_LOADERS"
  cp -a /usr/lib/wine/. "$TEVRIX_LOADERS/"
  cp -a /usr/lib/wine/wine32 "$TEVRIX_LOADERS/wine"
  mount --bind "$TEVRIX_LOADERS" /usr/lib/wine
  if [ "${TEVRIX_EMULATED_SUITE:-}" != whole ]; then
    echo "i686: 32-bit Wine runs emulated here: the programs labelled emulated run"
    set -- -L emulated "$@"
  fi
  # An emulated 32-bit Wine process cannot start another, and one whose test
  # skips itself crashes on its way out under qemu: the launcher's tests that
  # run a copied host (and the part that runs only in the copy) stay out.
  export GTEST_FILTER="-SettingsLauncherAsHost.*:SettingsLauncherHostFolders.*OfAnyName"
fi

source "$root/cmake/wine-session.sh"
trap wine_session_end EXIT
wine_session_start yes "$arch"
cd "$BUILD/$arch"
ctest --output-on-failure "$@" | tee "$BUILD/ctest-$arch.log"
