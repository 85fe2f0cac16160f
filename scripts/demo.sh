#!/usr/bin/env bash
# Builds CallsignCheck and starts it under Wine in a demo folder.
# With an X display the window appears there and stays open for use;
# without one it runs on a virtual display and leaves a screenshot of the
# main window in build/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/setup.sh
had_display=${DISPLAY:-}
source scripts/display.sh

cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target CallsignCheck

bin=$root/build/windows/bin
demo=$root/build/demo
shots=$root/build/screenshots
mkdir -p "$demo" "$shots"
cp "$bin/CallsignCheck.exe" "$demo/"
[ -f "$bin/vireon50.dll" ] && cp "$bin/vireon50.dll" "$demo/"
wine_run() { "$root/cmake/wine-run.sh" "$root/build/windows/wineprefix" "$@"; }

cd "$demo"
if [ -n "$had_display" ]; then
  wine_run CallsignCheck.exe >/dev/null 2>&1 &
  echo "CallsignCheck runs in $demo (close its window to end it)."
  exit 0
fi

wine_run CallsignCheck.exe >/dev/null 2>&1 &
app=$!
"$root/scripts/screenshot.sh" "CallsignCheck Ver 1.0.0" "$shots/main-window.png" 60
WINEPREFIX="$root/build/windows/wineprefix" wineserver -k 2>/dev/null || true
wait $app 2>/dev/null || true
echo "Screenshot of the main window: $shots/main-window.png"
