#!/bin/bash
# The 32-bit product under test: runs the smoke program of the 32-bit build
# (tests/smoke32), with the release package's DLLs in its Plugins folder, as a
# 32-bit process on 32-bit Wine, in a prefix of its own (<build>/wineprefix32).
#
# It first asks the kernel to run one small static i386 program
# (tests/smoke32/native_probe.c). Where the kernel runs it, 32-bit Wine runs
# natively: the script installs the packages of the step "smoke32" in
# cmake/packages.txt (with the i386 architecture) and changes nothing else.
#
# Where the kernel runs no 32-bit programs (as on the machine this was written
# on), 32-bit Wine runs under qemu's user-mode emulator, registered for i386
# programs through the kernel's binfmt_misc interface, and the script installs
# the step "smoke32-emulator" as well. Every emulated Windows process takes a
# minute or more to start. So the prefix is a 64-bit one with its 32-bit side,
# as 64-bit Windows runs a 32-bit mail client: Wine's own services run native,
# and only the program under test (and, once, the setup of the prefix's 32-bit
# side) runs emulated. A 32-bit-only prefix runs every service emulated;
# creating one took over 8 minutes here and outran Wine's own 5-minute boot
# wait.
#
# Debian's `wine` command runs the 32-bit loader /usr/lib/wine/wine whenever it
# exists, 64-bit programs included, and a new 64-bit prefix sets up its 32-bit
# side with it; emulated, all of that would crawl. So with the emulator the
# 32-bit loader is installed under another name (a dpkg diversion to
# /usr/lib/wine/wine32). Wine's 64-bit side starts 32-bit programs by the
# loader's own name, so the script then runs its Wine part in a mount namespace
# of its own, where /usr/lib/wine holds the loader under that name.
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

LOADER=/usr/lib/wine/wine         # the 32-bit loader, package wine32:i386
DIVERTED_LOADER=/usr/lib/wine/wine32
run_dir="$BUILD/smoke32"
# i386 ELF executables and shared objects; F: the kernel opens the emulator
# when the entry is registered, so it works from any mount namespace or root.
I386_ENTRY=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F'

# The packages of one step in cmake/packages.txt.
packages_of() {
  sed -n "s/^\([^#[:space:]]\{1,\}\)[[:space:]]\{1,\}$1[[:space:]]*\$/\1/p" "$root/cmake/packages.txt"
}

# Whether the kernel itself runs i386 programs (see tests/smoke32/native_probe.c).
kernel_runs_i386() {
  local probe="$BUILD/smoke32-probe/native_probe"
  mkdir -p "$BUILD/smoke32-probe"
  # Called as a condition, so errors do not end the script by themselves.
  if ! clang --target=i386-linux-gnu -ffreestanding -nostdlib -static -O2 -fno-stack-protector \
    -o "$probe" "$root/tests/smoke32/native_probe.c"; then
    say "FAILED: the i386 probe program does not build"
    exit 1
  fi
  timeout 60 "$probe" 2>/dev/null
}

loader_diverted() {
  dpkg-divert --list "$LOADER" | grep -q "$DIVERTED_LOADER"
}

# install_packages <step>...: installs what is missing of those steps.
install_packages() {
  local missing=() p step
  for step in "$@"; do
    for p in $(packages_of "$step"); do
      dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
  done
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
    # register and status are the interface's own files, not entries.
    case "${entry##*/}" in register | status) continue ;; esac
    if [ -f "$entry" ] && grep -q '^interpreter .*qemu-i386' "$entry"; then
      grep -qx enabled "$entry" || echo 1 | $SUDO tee "$entry" >/dev/null || return 1
      return 0
    fi
  done
  printf '%s' "$I386_ENTRY" | $SUDO tee "$dir/register" >/dev/null || return 1
}

if [ -z "${wine_part:-}" ]; then
  if kernel_runs_i386; then
    say "the kernel runs 32-bit programs: 32-bit Wine runs natively"
    install_packages smoke32
  else
    say "the kernel runs no 32-bit programs: 32-bit Wine runs under qemu"
    # The diversion comes first, so the loader never appears under its own name.
    if ! loader_diverted; then
      $SUDO dpkg-divert --local --rename --divert "$DIVERTED_LOADER" --add "$LOADER" >/dev/null
    fi
    install_packages smoke32 smoke32-emulator
    if ! register_i386_binfmt; then
      say "SKIPPED: this kernel refuses the binfmt_misc entry for i386 programs" \
        "(mounting /proc/sys/fs/binfmt_misc or writing its register file failed)," \
        "so 32-bit Wine cannot run here"
      exit 77
    fi
  fi
  installed_loader=$LOADER
  loader_diverted && installed_loader=$DIVERTED_LOADER
  if ! "$installed_loader" --version >/dev/null; then
    say "FAILED: $installed_loader does not run"
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

  # A diverted loader: the Wine part runs in a mount namespace of its own (see above).
  if loader_diverted; then
    if ! $SUDO unshare --mount true; then
      say "SKIPPED: no mount namespace can be made here (unshare --mount failed)"
      exit 77
    fi
    if [ -n "$SUDO" ]; then
      SMOKE32_SECONDS=$SECONDS exec sudo --preserve-env=SMOKE32_SECONDS unshare --mount \
        --propagation private "$0" --wine-part "$BUILD"
    fi
    SMOKE32_SECONDS=$SECONDS exec unshare --mount --propagation private "$0" --wine-part "$BUILD"
  fi
fi

if [ -n "${wine_part:-}" ]; then
  loaders="$BUILD/wine-loaders"
  rm -rf "$loaders"
  mkdir -p "$loaders"
  cp -a /usr/lib/wine/. "$loaders/"
  cp -a "$DIVERTED_LOADER" "$loaders/wine"
  mount --bind "$loaders" /usr/lib/wine
fi

source "$root/cmake/wine-session.sh"
export WINEPREFIX="$BUILD/wineprefix32" WINEARCH=win64 WINELOADER="$WINE64"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
smoke_end() {
  wineserver_run -k 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
trap smoke_end EXIT
wine_display_start yes
if [ ! -f "$WINEPREFIX/.tevrix-ready" ]; then
  say "creating the prefix $WINEPREFIX (once; minutes under the emulator)"
  rm -rf "$WINEPREFIX" # what an interrupted creation left
  mkdir -p "$WINEPREFIX"
  timeout 900 env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null || true
  timeout 300 env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$WINESERVER" -w || true
  if [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
    say "FAILED: the prefix's 32-bit side was not set up, after $(elapsed)"
    exit 1
  fi
  # No window manager answers on Xvfb: unmanaged windows close without waiting.
  wine64_run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  wineserver_run -w
  touch "$WINEPREFIX/.tevrix-ready"
  say "prefix ready after $(elapsed)"
fi
# One server for the run, and Wine's own processes started now, natively and
# with their output detached.
wineserver_run -p 2>/dev/null || true
wine64_run wineboot >/dev/null 2>&1 </dev/null || true

say "running the 32-bit smoke program"
status=0
(cd "$run_dir" && timeout 600 env LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINELOADER="$LOADER" \
  "$LOADER" Quorvan.exe </dev/null) || status=$?
if [ "$status" -ne 0 ]; then
  say "FAILED (exit code $status) after $(elapsed)"
  exit 1
fi
say "the 32-bit product passed under 32-bit Wine, in $(elapsed)"
