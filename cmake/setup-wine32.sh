#!/bin/bash
# Installs 32-bit Wine, with which `make test` runs the i686 build's suite (the
# product) as 64-bit Windows runs a 32-bit mail client: 32-bit programs in a
# 64-bit prefix (cmake/run-suite.sh).
#
# It first asks the kernel to run one small static i386 program
# (tests/smoke32/native_probe.c). Where the kernel runs it, 32-bit Wine runs
# natively: the script installs the packages of the step "wine32" in
# cmake/packages.txt (with the i386 architecture) and changes nothing else.
#
# Where the kernel runs no 32-bit programs, 32-bit Wine runs under qemu's
# user-mode emulator, registered for i386 programs through the kernel's
# binfmt_misc interface, and the script installs the step "wine32-emulator" as
# well. Every emulated Windows process takes a minute or more to start, so
# Wine's own services stay native (the 64-bit side of the prefix) and only the
# programs under test run emulated. Debian's `wine` command runs the 32-bit
# loader /usr/lib/wine/wine whenever it exists, 64-bit programs included, and a
# new 64-bit prefix sets up its 32-bit side with it; emulated, all of that would
# crawl. So with the emulator the 32-bit loader is installed under another name
# (a dpkg diversion to /usr/lib/wine/wine32), and cmake/run-suite.sh gives it
# its own name back only inside a mount namespace of its own.
#
# Usage: cmake/setup-wine32.sh [build-folder]. Exits 77 with a message when the
# kernel refuses the binfmt entry, so that 32-bit Wine cannot run here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$root/build}")
say() { echo "wine32: $*"; }
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

LOADER=/usr/lib/wine/wine # the 32-bit loader, package wine32:i386
DIVERTED_LOADER=/usr/lib/wine/wine32
# i386 ELF executables and shared objects; F: the kernel opens the emulator
# when the entry is registered, so it works from any mount namespace or root.
I386_ENTRY=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F'

# Whether the kernel itself runs i386 programs (see tests/smoke32/native_probe.c).
kernel_runs_i386() {
  local probe="$BUILD/wine32-probe/native_probe"
  mkdir -p "$BUILD/wine32-probe"
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
  local missing=() p
  for p in $(sed -n "s/^\([^#[:space:]]\{1,\}\)[[:space:]]\{1,\}\($1\|${2:-$1}\)[[:space:]]*\$/\1/p" \
    "$root/cmake/packages.txt"); do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
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

if kernel_runs_i386; then
  say "the kernel runs 32-bit programs: 32-bit Wine runs natively"
  install_packages wine32
else
  say "the kernel runs no 32-bit programs: 32-bit Wine runs under qemu"
  # The diversion comes first, so the loader never appears under its own name.
  if ! loader_diverted; then
    $SUDO dpkg-divert --local --rename --divert "$DIVERTED_LOADER" --add "$LOADER" >/dev/null
  fi
  install_packages wine32 wine32-emulator
  if ! register_i386_binfmt; then
    say "SKIPPED: this kernel refuses the binfmt_misc entry for i386 programs" \
      "(mounting /proc/sys/fs/binfmt_misc or writing its register file failed)," \
      "so 32-bit Wine cannot run here"
    exit 77
  fi
  if ! $SUDO unshare --mount true; then
    say "SKIPPED: no mount namespace can be made here (unshare --mount failed)"
    exit 77
  fi
fi
installed_loader=$LOADER
loader_diverted && installed_loader=$DIVERTED_LOADER
if ! "$installed_loader" --version >/dev/null; then
  say "FAILED: $installed_loader does not run"
  exit 1
fi
