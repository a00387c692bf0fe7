#!/bin/bash
# Shared by the test and demo commands: a private X display, the project's Wine
# prefix with Japanese fonts, and one persistent wineserver for the whole run.
# Source it with BUILD set to the build folder; call wine_session_end when done.
# Programs run with "$WINE64" (the 64-bit loader), not Debian's `wine` command:
# once 32-bit Wine is installed (for cmake/run-smoke32.sh) that command prefers
# the 32-bit loader, which here runs only under an emulator, very slowly.

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver # package libwine, with wine64
[ -x "$WINE64" ] || WINE64=$(command -v wine64 || command -v wine)

# A private Xvfb display (XVFB_PID) when headless ($1 = yes) or when there is
# no display.
wine_display_start() {
  XVFB_PID=""
  if [ "$1" = yes ] || [ -z "${DISPLAY:-}" ]; then
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
  fi
}

wine_session_start() {
  export WINEPREFIX="$BUILD/wineprefix" WINEARCH=win64 WINELOADER="$WINE64"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  wine_display_start "${1:-yes}"
  if [ ! -f "$WINEPREFIX/.tevrix-ready" ]; then
    echo "wine: creating the prefix $WINEPREFIX (once)"
    mkdir -p "$WINEPREFIX"
    "$WINE64" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w
    local fonts="$BUILD/x86_64/host/prefix_fonts.exe"
    if [ -f "$fonts" ]; then
      "$WINE64" "$fonts" >/dev/null 2>&1 || true
      "$WINESERVER" -w
    fi
    touch "$WINEPREFIX/.tevrix-ready"
  fi
  "$WINESERVER" -p 2>/dev/null || true # already running for this prefix is fine
  # Start Wine's own background processes (services, the desktop) now, with
  # their output detached: started by a test they would inherit CTest's pipes
  # and keep the test from ending.
  "$WINE64" wineboot >/dev/null 2>&1 </dev/null || true
  # A crashing test program prints Wine's backtrace and ends, instead of
  # waiting on a crash dialog that nobody will answer.
  "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null || true
  # On the bare Xvfb display no window manager answers, and Wine waits two
  # seconds for one each time a managed window closes: headless runs make
  # their windows unmanaged. A person's display keeps them managed.
  if [ -n "$XVFB_PID" ]; then
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
  else
    "$WINE64" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 </dev/null || true
  fi
}

wine_session_end() {
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
