#!/usr/bin/env bash
# Installs what is missing, builds every configuration and runs every test
# this machine can run: the native build with sanitizers (-m32 where 32-bit
# programs run, else 64-bit), then the Windows builds under Wine: both are
# always built, and each runs its suite where its Wine can run
# (scripts/platform.sh decides and says which; CC_WINE_ARCHES=i686, x86_64 or
# both restricts it).
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh || exit 1
source scripts/platform.sh
cc_platform_line test.sh
cc_platform_check || exit 1
source scripts/display.sh
cc_display_check test.sh || exit 1

jobs=$(nproc 2>/dev/null || echo 2)
status=0
cmake --preset "$CC_NATIVE_PRESET" >/dev/null && cmake --build --preset "$CC_NATIVE_PRESET" -j"$jobs" || exit 1
ctest --preset "$CC_NATIVE_PRESET" -j"$jobs" || status=1
for preset in windows windows64; do
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j"$jobs" || exit 1
done

for arch in $CC_WINE_RUN; do
  preset=windows
  [ "$arch" = x86_64 ] && preset=windows64
  prefix=$PWD/build/$preset/wineprefix
  # The prefix made (once), and one Wine server for the whole run: starting
  # it per test costs seconds. A Wine that cannot start says why, once.
  if ! "$PWD/cmake/wine-run.sh" "$prefix" cmd /c exit 0 >/dev/null; then
    echo "test.sh: the $arch Wine cannot start here (see above); its suite was not run" >&2
    exit 1
  fi
  "$PWD/cmake/wine-run.sh" "$prefix" wineserver -p 60 || true
  ctest --preset "$preset" || status=1
done
# Where the 32-bit suite does not run, the release it makes is still checked
# (its manifests read by the 64-bit build's checker).
case " $CC_WINE_RUN " in
  *" i686 "*) ;;
  *) CC_MANIFEST_CHECK_BUILD=$PWD/build/windows64 ctest --preset windows -L host || status=1 ;;
esac
exit $status
