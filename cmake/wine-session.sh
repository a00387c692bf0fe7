#!/bin/bash
# Shared by the test and demo commands: a private X display, the target's Wine
# prefix with Japanese fonts, and one persistent wineserver for the whole run.
# Source it with BUILD set to the build folder; call wine_session_end when done.
# Wine's own tools run through the 64-bit loader by its path, which the
# package wine64 installs: Debian's `wine` command comes with the package wine,
# which the set-up does not install, and it prefers the 32-bit loader, which on
# a kernel without 32-bit support runs only under an emulator, very slowly.

WINE64=/usr/lib/wine/wine64          # package wine64
WINESERVER=/usr/lib/wine/wineserver # package libwine

# Wine's programs run in the Japanese locale, which makes their ANSI code page
# 932. Nothing else does: the scripts, make, CTest and the compilers keep the
# user's language.
in_japanese() { LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$@"; }
wine64_run() { in_japanese "$WINE64" "$@"; }
wineserver_run() { in_japanese "$WINESERVER" "$@"; }

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

# Window captions draw their buttons in Wine's symbol font Marlett (the close
# button is its letter "r"). Debian ships Wine's marlett.ttf in the package
# fonts-wine, which is unpacked into the build folder rather than installed:
# installed, its bitmap fonts would take the place of the fonts the dialogs'
# Latin text is drawn in. The prefix gets this one font; without apt (offline)
# the captions keep the letter.
wine_prefix_marlett() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" unpacked="$BUILD/fonts-wine"
  [ -f "$fonts/marlett.ttf" ] && return 0
  local font="$unpacked/usr/share/wine/fonts/marlett.ttf"
  if [ ! -f "$font" ]; then
    rm -rf "$unpacked"
    mkdir -p "$unpacked"
    (cd "$unpacked" && apt-get download -qq fonts-wine >/dev/null 2>&1 &&
      dpkg-deb -x fonts-wine_*.deb .) || true
  fi
  if [ -f "$font" ]; then
    mkdir -p "$fonts"
    cp "$font" "$fonts/"
  else
    echo "wine: Marlett not found (apt-get download fonts-wine failed): captions show letters" >&2
  fi
}

# wine_session_start <headless: yes|no> [arch]: the prefix of the x86_64 build
# is <build>/wineprefix; the i686 build (the product) runs in
# <build>/wineprefix32, a 64-bit prefix with its 32-bit side, as 64-bit Windows
# runs a 32-bit mail client. Both are 64-bit prefixes, so Wine's own services
# run natively in both.
wine_session_start() {
  local prefix=wineprefix
  [ "${2:-x86_64}" = i686 ] && prefix=wineprefix32
  export WINEPREFIX="$BUILD/$prefix" WINEARCH=win64 WINELOADER="$WINE64"
  # No Mono, no Gecko, and no menu entries or file types in the user's desktop.
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  wine_display_start "${1:-yes}"
  if [ ! -f "$WINEPREFIX/.tevrix-ready" ]; then
    echo "wine: creating the prefix $WINEPREFIX (once; minutes where 32-bit Wine is emulated)"
    rm -rf "$WINEPREFIX" # what an interrupted creation left
    mkdir -p "$WINEPREFIX"
    in_japanese timeout 900 "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null || true
    in_japanese timeout 300 "$WINESERVER" -w || true
    if [ "$prefix" = wineprefix32 ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
      echo "wine: FAILED: the prefix's 32-bit side was not set up" >&2
      return 1
    fi
    # The Japanese font names map onto the IPA font; the same in both prefixes,
    # so that both targets lay dialogs out alike.
    local fonts
    for fonts in "$BUILD"/{x86_64,i686}/host/prefix_fonts.exe; do
      [ -f "$fonts" ] && wine64_run "$fonts" >/dev/null 2>&1 </dev/null && break
    done
    wineserver_run -w
    touch "$WINEPREFIX/.tevrix-ready"
  fi
  wine_prefix_marlett
  wineserver_run -p 2>/dev/null || true # already running for this prefix is fine
  # Start Wine's own background processes (services, the desktop) now, with
  # their output detached: started by a test they would inherit CTest's pipes
  # and keep the test from ending.
  wine64_run wineboot >/dev/null 2>&1 </dev/null || true
  # A crashing test program prints Wine's backtrace and ends, instead of
  # waiting on a crash dialog that nobody will answer.
  wine64_run reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null || true
  # On the bare Xvfb display no window manager answers, and Wine waits two
  # seconds for one each time a managed window closes: headless runs make
  # their windows unmanaged. A person's display keeps them managed.
  if [ -n "$XVFB_PID" ]; then
    wine64_run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
  else
    wine64_run reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 </dev/null || true
  fi
}

wine_session_end() {
  wineserver_run -k 2>/dev/null || true
  wineserver_run -w 2>/dev/null || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
