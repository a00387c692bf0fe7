#!/bin/bash
# The demo command: set up the machine, build what the demo runs (the x86_64
# DLLs, the demo host and the prefix's font set-up), lay out the demo
# host with the plug-in in <build>/demo and run it. With a display it opens the
# compose window for a person; without one (or with --headless) it runs on its
# own under Xvfb, prints the compose menu and saves compose-menu.png.
# Usage: cmake/run-demo.sh [build-folder] [--headless]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(realpath -m "${1:-$root/build}")
shift || true
headless=no
for arg in "$@"; do
  [ "$arg" = --headless ] && headless=yes
done
[ -n "${DISPLAY:-}" ] || headless=yes

"$root/cmake/setup-machine.sh"
TEVRIX_ARCHES=x86_64 "$root/cmake/build.sh" "$BUILD" tevrix_plugin vandry quorvan_demo prefix_fonts

demo="$BUILD/demo"
mkdir -p "$demo/Plugins"
cp "$BUILD/x86_64/host/demo/Quorvan.exe" "$demo/"
cp "$BUILD/x86_64/plugin/Tevrix.dll" "$demo/Plugins/"
cp "$BUILD/x86_64/settings/Vandry.dll" "$demo/Plugins/"
rm -rf "$demo/sample-mailbox"
cp -r "$root/host/demo/sample-mailbox" "$demo/"

source "$root/cmake/wine-session.sh"
trap wine_session_end EXIT
wine_session_start "$headless"
cd "$demo"
demo_args=(--sample-store-if-empty)
[ "$headless" = yes ] && demo_args+=(--headless)
wine64_run Quorvan.exe "${demo_args[@]}"
if [ "$headless" = yes ]; then
  echo "demo: screenshot in $demo/compose-menu.png"
fi
