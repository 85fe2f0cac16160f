#!/usr/bin/env bash
# Builds the optimised native build and the Windows builds and runs every
# benchmark executable (*-bench) natively and under each Wine that runs here
# (scripts/platform.sh decides: -m32 and 32-bit Wine where 32-bit programs
# run; the 64-bit builds everywhere). Every line a benchmark prints is
# labelled with its configuration: [native -m32], [native 64-bit],
# [Wine 32-bit], [Wine 64-bit].
# Optional: bench.sh NAME... runs only those benchmarks.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/setup.sh || exit 1
source scripts/platform.sh
cc_platform_line bench.sh
cc_platform_check || exit 1
source scripts/display.sh
cc_display_check bench.sh || exit 1
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset "$CC_BENCH_PRESET" >/dev/null && cmake --build --preset "$CC_BENCH_PRESET" -j"$jobs" || exit 1
wanted=("$@")
pick() { [ ${#wanted[@]} -eq 0 ] && return 0; for w in "${wanted[@]}"; do [[ "$1" == *"$w"* ]] && return 0; done; return 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${CC_XVFB_PID:-}" ] && kill "$CC_XVFB_PID" 2>/dev/null' EXIT
label() { sed -u "s/^/[$1] /"; }
native_label="native -m32"
[ "$CC_BENCH_PRESET" = native64-bench ] && native_label="native 64-bit"
for b in build/$CC_BENCH_PRESET/bin/*-bench build/$CC_BENCH_PRESET/tests/*-bench; do
  [ -x "$b" ] || continue; pick "$b" || continue
  echo "== $native_label: $(basename "$b")"
  (cd "$work" && "$root/$b") 2>&1 | label "$native_label"
done
for arch in $CC_WINE_RUN; do
  preset=windows wine_label="Wine 32-bit"
  [ "$arch" = x86_64 ] && preset=windows64 wine_label="Wine 64-bit"
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j"$jobs" || exit 1
  for b in build/$preset/bin/*-bench.exe build/$preset/tests/*-bench.exe; do
    [ -f "$b" ] || continue; pick "$b" || continue
    echo "== $wine_label: $(basename "$b")"
    (cd "$work" && "$root/cmake/wine-run.sh" "$root/build/$preset/wineprefix" "$root/$b") 2>&1 | tr -d '\r' | label "$wine_label"
  done
done
