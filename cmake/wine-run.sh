#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest and the scripts:
#   wine-run.sh [--dpi N] PREFIX program.exe [args...]
# The prefix is private to the build folder, made once (under a lock) and
# reused. Without an X display the program runs on a virtual one.
# --dpi N sets the prefix's system DPI (Wine's LogPixels; the tests use one
# prefix per DPI) and tells the program so in CC_TEST_DPI, so that a test can
# check that it runs at the DPI it was meant for.
set -u
dpi=""
if [ "${1:-}" = "--dpi" ]; then
  dpi=$2; shift 2
  case "$dpi" in ''|*[!0-9]*) echo "wine-run.sh: --dpi wants a number, not '$dpi'" >&2; exit 2 ;; esac
fi
prefix="$1"; shift
export WINEPREFIX="$prefix" WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=d"
mkdir -p "$(dirname "$prefix")"
(
  flock 9
  if [ ! -f "$prefix/.callsigncheck-ready" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
    # No window manager on the virtual display: unmanaged windows keep their
    # maximised state and placement.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$prefix/.callsigncheck-ready"
  fi
  if [ -n "$dpi" ] && [ "$(cat "$prefix/.callsigncheck-dpi" 2>/dev/null)" != "$dpi" ]; then
    # Read by each program as it starts.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -w
    echo "$dpi" > "$prefix/.callsigncheck-dpi"
  fi
) 9>"$prefix.lock"
[ -n "$dpi" ] && export CC_TEST_DPI="$dpi"
# The virtual screen is large enough for the windows at 200 % (192 DPI).
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 2560x1600x24" wine "$@"
fi
exec wine "$@"
