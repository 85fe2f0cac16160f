#!/usr/bin/env bash
# Runs a Windows program under Wine for CTest and the scripts:
#   wine-run.sh PREFIX program.exe [args...]
# The prefix is private to the build folder, made once (under a lock) and
# reused. Without an X display the program runs on a virtual one.
set -u
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
) 9>"$prefix.lock"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
fi
exec wine "$@"
