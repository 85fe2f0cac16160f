#!/usr/bin/env bash
# Builds the optimised native build and the Windows build and runs every
# benchmark executable (*-bench) natively and under Wine, printing figures.
# Optional: bench.sh NAME... runs only those benchmarks.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/setup.sh || exit 1
source scripts/display.sh
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset native-bench >/dev/null && cmake --build --preset native-bench -j"$jobs" || exit 1
cmake --preset windows >/dev/null && cmake --build --preset windows -j"$jobs" || exit 1
wanted=("$@")
pick() { [ ${#wanted[@]} -eq 0 ] && return 0; for w in "${wanted[@]}"; do [[ "$1" == *"$w"* ]] && return 0; done; return 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for b in build/native-bench/bin/*-bench build/native-bench/tests/*-bench; do
  [ -x "$b" ] || continue; pick "$b" || continue
  echo "== native: $(basename "$b")"
  (cd "$work" && "$root/$b")
done
for b in build/windows/bin/*-bench.exe build/windows/tests/*-bench.exe; do
  [ -f "$b" ] || continue; pick "$b" || continue
  echo "== wine: $(basename "$b")"
  (cd "$work" && "$root/cmake/wine-run.sh" "$root/build/windows/wineprefix" "$root/$b")
done
