#!/bin/bash
# The 32-bit product under test: runs the smoke program of the 32-bit build
# (tests/smoke32), with the release package's DLLs in its Plugins folder, as a
# 32-bit process on 32-bit Wine, in a prefix of its own (<build>/wineprefix32).
#
# This machine's kernel runs no 32-bit programs, so 32-bit Wine runs under
# qemu's user-mode emulator, registered for i386 programs through the kernel's
# binfmt_misc interface. Every emulated Windows process takes a minute or more
# to start. So the prefix is a 64-bit one with its 32-bit side, as 64-bit
# Windows runs a 32-bit mail client: Wine's own services run native, and only
# the program under test (and, once, the setup of the prefix's 32-bit side)
# runs emulated. A 32-bit-only prefix runs every service emulated; creating
# one took over 8 minutes here and outran Wine's own 5-minute boot wait.
#
# Debian's `wine` command runs the 32-bit loader /usr/lib/wine/wine whenever it
# exists, 64-bit programs included; emulated, every 64-bit Wine run on the
# machine would then crawl, and every new 64-bit prefix would set up its 32-bit
# side emulated. So the 32-bit loader is installed under another name (a dpkg
# diversion to /usr/lib/wine/wine32). Wine's 64-bit side starts 32-bit programs
# by the loader's own name, so this script runs its Wine part in a mount
# namespace of its own, where /usr/lib/wine holds the loader under that name.
#
# Usage: cmake/run-smoke32.sh [build-folder]
# (It runs itself again with --wine-part inside the namespace.) Exits 77 with a
# SKIPPED message when the kernel refuses the binfmt entry or the namespace.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = --wine-part ]; then
  wine_part=yes
  shift
fi
BUILD=$(realpath -m "${1:-$root/build}")
SECONDS=${SMOKE32_SECONDS:-0}
started=0
say() { echo "smoke32: $*"; }
elapsed() { echo "$((SECONDS - started)) s"; }
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

WINE32=/usr/lib/wine/wine32
run_dir="$BUILD/smoke32"
# i386 ELF executables and shared objects; F: the kernel opens the emulator
# when the entry is registered, so it works from any mount namespace or root.
I386_ENTRY=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F'

install_packages() {
  local missing=() p
  for p in qemu-user-static wine32:i386; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  # The diversion comes first, so the loader never appears under its own name.
  if ! dpkg-divert --list /usr/lib/wine/wine | grep -q "$WINE32"; then
    $SUDO dpkg-divert --local --rename --divert "$WINE32" --add /usr/lib/wine/wine >/dev/null
  fi
  [ ${#missing[@]} -gt 0 ] || return 0
  say "installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

# Registers the emulator for i386 programs unless an entry for it is there;
# fails when the kernel does not allow it.
register_i386_binfmt() {
  local dir=/proc/sys/fs/binfmt_misc entry
  if [ ! -e "$dir/register" ]; then
    $SUDO mount -t binfmt_misc binfmt_misc "$dir" || return 1
  fi
  for entry in "$dir"/*; do
    if [ -f "$entry" ] && grep -q '^interpreter .*qemu-i386' "$entry"; then
      grep -qx enabled "$entry" || echo 1 | $SUDO tee "$entry" >/dev/null || return 1
      return 0
    fi
  done
  printf '%s' "$I386_ENTRY" | $SUDO tee "$dir/register" >/dev/null || return 1
}

if [ -z "${wine_part:-}" ]; then
  install_packages
  if ! register_i386_binfmt; then
    say "SKIPPED: this kernel refuses the binfmt_misc entry for i386 programs" \
      "(mounting /proc/sys/fs/binfmt_misc or writing its register file failed)," \
      "so 32-bit Wine cannot run here"
    exit 77
  fi
  if ! "$WINE32" --version >/dev/null; then
    say "FAILED: the i386 binfmt entry is there, but $WINE32 does not run"
    exit 1
  fi

  # The program and the product DLLs, all 32-bit, laid out as the host installs them.
  exe="$BUILD/i686/tests/smoke32_test/Quorvan.exe"
  package="$BUILD/i686/Tevrix-1.01-win32.zip"
  rm -rf "$run_dir"
  mkdir -p "$run_dir/Plugins" "$run_dir/package"
  cp "$exe" "$run_dir/"
  (cd "$run_dir/package" && cmake -E tar xf "$package")
  cp "$run_dir/package/Tevrix.dll" "$run_dir/package/Vandry.dll" "$run_dir/Plugins/"
  for file in "$run_dir/Quorvan.exe" "$run_dir/Plugins/Tevrix.dll" "$run_dir/Plugins/Vandry.dll"; do
    if [[ "$(LC_ALL=C i686-w64-mingw32-objdump -f "$file")" != *"file format pei-i386"* ]]; then
      say "FAILED: $file is not a 32-bit Windows program"
      exit 1
    fi
  done

  # The Wine part, in a mount namespace of its own (see above).
  if ! $SUDO unshare --mount true; then
    say "SKIPPED: no mount namespace can be made here (unshare --mount failed)"
    exit 77
  fi
  SMOKE32_SECONDS=$SECONDS exec ${SUDO:+$SUDO --preserve-env=SMOKE32_SECONDS} unshare --mount \
    --propagation private "$0" --wine-part "$BUILD"
fi

loaders="$BUILD/wine-loaders"
rm -rf "$loaders"
mkdir -p "$loaders"
cp -a /usr/lib/wine/. "$loaders/"
cp -a "$WINE32" "$loaders/wine"
mount --bind "$loaders" /usr/lib/wine
WINE32=/usr/lib/wine/wine

source "$root/cmake/wine-session.sh"
export WINEPREFIX="$BUILD/wineprefix32" WINEARCH=win64 WINELOADER="$WINE64"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
smoke_end() {
  "$WINESERVER" -k 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap smoke_end EXIT
wine_display_start yes
if [ ! -f "$WINEPREFIX/.tevrix-ready" ]; then
  say "creating the prefix $WINEPREFIX (once; minutes under the emulator)"
  rm -rf "$WINEPREFIX" # what an interrupted creation left
  mkdir -p "$WINEPREFIX"
  timeout 900 "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null || true
  timeout 300 "$WINESERVER" -w || true
  if [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    say "FAILED: the prefix's 32-bit side was not set up, after $(elapsed)"
    exit 1
  fi
  # No window manager answers on Xvfb: unmanaged windows close without waiting.
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  "$WINESERVER" -w
  touch "$WINEPREFIX/.tevrix-ready"
  say "prefix ready after $(elapsed)"
fi
# One server for the run, and Wine's own processes started now, natively and
# with their output detached.
"$WINESERVER" -p 2>/dev/null || true
"$WINE64" wineboot >/dev/null 2>&1 </dev/null || true

say "running the 32-bit smoke program"
status=0
(cd "$run_dir" && WINELOADER="$WINE32" timeout 600 "$WINE32" Quorvan.exe </dev/null) || status=$?
if [ "$status" -ne 0 ]; then
  say "FAILED (exit code $status) after $(elapsed)"
  exit 1
fi
say "the 32-bit product passed under 32-bit Wine, in $(elapsed)"
