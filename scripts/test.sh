#!/usr/bin/env bash
# Installs what is missing, builds both configurations and runs every test:
# the native -m32 build with sanitizers, then the Windows build under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh || exit 1
source scripts/display.sh

jobs=$(nproc 2>/dev/null || echo 2)
status=0
cmake --preset native >/dev/null && cmake --build --preset native -j"$jobs" || exit 1
ctest --preset native -j"$jobs" || status=1
cmake --preset windows >/dev/null && cmake --build --preset windows -j"$jobs" || exit 1
# One Wine server for the whole run: starting it per test costs seconds.
"$PWD/cmake/wine-run.sh" "$PWD/build/windows/wineprefix" cmd /c exit 0 >/dev/null 2>&1
WINEPREFIX="$PWD/build/windows/wineprefix" wineserver -p 60 2>/dev/null || true
ctest --preset windows || status=1
exit $status
