#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest and the scripts:
#   wine-run.sh [--dpi N] PREFIX program.exe [args...]
# The prefix is private to the build folder, made once (under a lock) and
# reused. Without an X display the program runs on a virtual one.
# --dpi N sets the prefix's system DPI (Wine's LogPixels; the tests use one
# prefix per DPI) and tells the program so in CC_TEST_DPI, so that a test can
# check that it runs at the DPI it was meant for.
# "wine-run.sh PREFIX wineserver ARGS..." runs the prefix's Wine server instead
# (-p SECONDS keeps one up for a run of tests, -w waits for it to end).
# Which Wine runs the program is the build's: the file wine-arch beside the
# prefix (written by CMake) says i686 (32-bit Wine, a win32 prefix) or x86_64
# (64-bit Wine, a win64 prefix); without it, i686.
set -u
dpi=""
if [ "${1:-}" = "--dpi" ]; then
  dpi=$2; shift 2
  case "$dpi" in ''|*[!0-9]*) echo "wine-run.sh: --dpi wants a number, not '$dpi'" >&2; exit 2 ;; esac
fi
prefix="$1"; shift
arch=$(cat "$(dirname "$prefix")/wine-arch" 2>/dev/null || echo i686)
case "$arch" in
  x86_64) wine=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64 winearch=win64 package=wine64 ;;
  *)      wine=/usr/lib/wine/wine server=/usr/lib/wine/wineserver32 winearch=win32 package=wine32:i386 ;;
esac
# A 32-bit Wine may be served by the 64-bit server where both are installed.
[ -x "$server" ] || server=/usr/lib/wine/wineserver64
missing() {
  echo "wine-run.sh: $*" >&2
  exit 127
}
[ -x "$wine" ] || missing "no $arch Wine ($wine); install Debian's $package (bash scripts/setup.sh)"
export WINEPREFIX="$prefix" WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 WINEARCH=$winearch
export WINELOADER=$wine WINESERVER=$server
export WINEDLLOVERRIDES="mscoree,mshtml=d"
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.callsigncheck-ready" ]; then
    out=$("$wine" wineboot -i 2>&1) || true
    "$server" -w 2>/dev/null
    if [ ! -f "$prefix/system.reg" ]; then
      echo "$out" | tail -3 >&2
      missing "the $arch Wine could not make its prefix $prefix (see above)"
    fi
    # No window manager on the virtual display: unmanaged windows keep their
    # maximised state and placement.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$server" -w
    touch "$prefix/.callsigncheck-ready"
  fi
  if [ -n "$dpi" ] && [ "$(cat "$prefix/.callsigncheck-dpi" 2>/dev/null)" != "$dpi" ]; then
    # Read by each program as it starts.
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    "$server" -w
    echo "$dpi" > "$prefix/.callsigncheck-dpi"
  fi
) 9>"$prefix.lock" || exit $?
[ "${1:-}" = wineserver ] && { shift; exec "$server" "$@"; }
[ -n "$dpi" ] && export CC_TEST_DPI="$dpi"
# The virtual screen is large enough for the windows at 200 % (192 DPI).
if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || missing "no X display and no xvfb-run; install Debian's xvfb and xauth (bash scripts/setup.sh)"
  exec xvfb-run -a -s "-screen 0 2560x1600x24" "$wine" "$@"
fi
exec "$wine" "$@"
