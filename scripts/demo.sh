#!/usr/bin/env bash
# Builds CallsignCheck and the stand-in kit and tries them on a demo log.
#
# Makes build/demo/ (the program, the stand-in library and logger window, a
# generated log of a few thousand QSOs with its index and a master made from
# the team's lists in demodata/); a second run reuses the log and master and
# only brings the programs up to date.
# With an X display: starts the logger window and CallsignCheck there under
# Wine and leaves them running for you to use.
# Without one: runs the guided tour (scripts/tour.sh) on a virtual display,
# which checks each step and leaves a picture of each window in
# build/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/setup.sh
# The 32-bit program where 32-bit programs run, else the 64-bit test build.
source scripts/platform.sh
echo "demo.sh: $CC_RUNS_32BIT_WHY: the demo runs build/$CC_WINDOWS_PRESET"
had_display=${DISPLAY:-}

cmake --preset "$CC_WINDOWS_PRESET" >/dev/null
cmake --build --preset "$CC_WINDOWS_PRESET" -j"$(nproc 2>/dev/null || echo 2)" \
  --target CallsignCheck vireon50 vireon-tool loggerwin cc-tour

build=$root/build/$CC_WINDOWS_PRESET
demo=$root/build/demo
if [ -s "$demo/vireon.vdb" ] && [ -s "$demo/vireon.dx0" ] && [ -s "$demo/vireon.mst" ]; then
  # Keep the log (and whatever the program stored beside it); take the programs just built.
  cp "$build/bin/CallsignCheck.exe" "$build/bin/vireon50.dll" "$build/bin/loggerwin.exe" "$demo/"
else
  bash scripts/tour.sh --prepare "$build" "$demo"
fi

if [ -z "$had_display" ]; then
  bash scripts/tour.sh "$build" "$root/build/screenshots"
  exit
fi

# Started in a session of their own, so that they outlive this script.
wine_run() { setsid "$root/cmake/wine-run.sh" "$build/wineprefix" "$@" >/dev/null 2>&1 < /dev/null & }
cd "$demo"
wine_run loggerwin.exe journal.txt
sleep 1   # the logger window first, as the operator's logging program would be
wine_run CallsignCheck.exe
cat <<EOF
CallsignCheck and the stand-in logger window run in $demo.
Type a call sign such as JA1ABC and press Enter; tick "VIREONへ転送" to hand
calls to the logger window, which shows (and writes to journal.txt) what it
receives. The award checks are in the menu "表示". Close the windows to end.
EOF
