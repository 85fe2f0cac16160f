#!/usr/bin/env bash
# tour.sh [--dpi N] BUILD_DIR OUT_DIR
#   Runs the guided tour on the programs of a Windows build: makes a fresh
#   folder BUILD_DIR/tour (BUILD_DIR/tour-dpiN) with the demo log, lets cc-tour start the logger
#   window and CallsignCheck there and work through a lookup, a pattern
#   search, the check window, the hand-over, an AJD and a JCC check and the version box, each
#   checked, and leaves a PNG picture of each window in OUT_DIR (only when
#   every check held). Exit code 0 when all held. With --dpi the programs run
#   at N DPI, in a Wine prefix of that DPI (BUILD_DIR/wineprefix-dpiN).
#   `bash scripts/tour.sh build/windows docs/screenshots` remakes the pictures
#   of the user guides, `bash scripts/tour.sh --dpi 144 build/windows
#   docs/screenshots/144dpi` those at 150 %. The 32-bit build
#   (build/windows) where 32-bit programs run, else the 64-bit one
#   (build/windows64): the pictures are the same.
# tour.sh --prepare BUILD_DIR FOLDER
#   Only makes FOLDER a demo folder: the program, the stand-in library and
#   logger window, and a log with its index and master made from demodata/.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# The demo log: this many QSOs from the generator, always the same ones.
demo_qsos=3000
demo_seed=7
# The pictures the tour makes, each of one window.
shots=(main-lookup main-pattern main-area-lookup check-window logger ajdwaja-dialog ajd-list ajd-map waja-map
       jccjcg-dialog jcc-list jcc-bandgrid jcc-area-qsos jcc-map jcg-map about)

fail() { echo "tour: $*" >&2; exit 1; }

# The DPI the programs run at ("" for the base prefix, 96 DPI).
dpi=""
if [ "${1:-}" = "--dpi" ]; then
  dpi=$2; shift 2
fi
use_build() {   # use_build DIR: the build folder, and the Wine prefix of the DPI in it
  build=$(cd "$1" && pwd) || fail "no build folder $1"
  local arch
  arch=$(cat "$build/wine-arch" 2>/dev/null || echo i686)
  source "$root/scripts/platform.sh"
  if [ "$arch" = i686 ] && [ "$CC_RUNS_32BIT" != yes ]; then
    fail "$build is the 32-bit build, and $CC_RUNS_32BIT_WHY; use build/windows64"
  fi
  echo "tour.sh: $CC_RUNS_32BIT_WHY: the $arch programs of $build"
  prefix=$build/wineprefix${dpi:+-dpi$dpi}
  wine_run=("$root/cmake/wine-run.sh" ${dpi:+--dpi "$dpi"} "$prefix")
}

wine_in() {   # wine_in FOLDER PROGRAM ARGS...: runs a Windows program in FOLDER
  local folder=$1; shift
  (cd "$folder" && "${wine_run[@]}" "$@")
}

prepare() {   # prepare FOLDER
  local folder=$1 f list
  for f in CallsignCheck.exe vireon50.dll loggerwin.exe vireon-tool.exe; do
    [ -f "$build/bin/$f" ] || fail "$build/bin/$f is missing; build the windows preset first"
  done
  rm -rf "$folder" && mkdir -p "$folder" || fail "cannot make $folder"
  cp "$build/bin/CallsignCheck.exe" "$build/bin/vireon50.dll" "$build/bin/loggerwin.exe" "$folder/"
  # JARL publishes its lists in Shift_JIS; the team's demo lists are UTF-8.
  for list in jcc jcg ku; do
    iconv -f UTF-8 -t SHIFT_JIS "$root/demodata/$list-demo.txt" > "$folder/$list-list.txt" \
      || fail "cannot convert demodata/$list-demo.txt"
  done
  wine_in "$folder" "$build/bin/vireon-tool.exe" make-master --jcc jcc-list.txt --jcg jcg-list.txt --ku ku-list.txt \
    > "$folder/make-master.txt" 2>&1 || { cat "$folder/make-master.txt" >&2; fail "make-master failed"; }
  wine_in "$folder" "$build/bin/vireon-tool.exe" generate "$demo_qsos" --seed "$demo_seed" >/dev/null 2>&1 \
    || fail "generate failed"
  rm -f "$folder"/*-list.txt "$folder/make-master.txt"
  [ -s "$folder/vireon.vdb" ] && [ -s "$folder/vireon.dx0" ] && [ -s "$folder/vireon.mst" ] \
    || fail "no log, index or master in $folder"
}

if [ "${1:-}" = "--prepare" ]; then
  [ $# -eq 3 ] || fail "usage: tour.sh --prepare BUILD_DIR FOLDER"
  use_build "$2"
  prepare "$3"
  exit 0
fi
[ $# -eq 2 ] || fail "usage: tour.sh [--dpi N] BUILD_DIR OUT_DIR"
use_build "$1"
out=$2
[ -f "$build/bin/cc-tour.exe" ] || fail "$build/bin/cc-tour.exe is missing; build the windows preset first"
command -v convert >/dev/null && command -v identify >/dev/null || fail "ImageMagick (convert, identify) is missing"
source "$root/scripts/display.sh"

folder=$build/tour${dpi:+-dpi$dpi}
prepare "$folder"
# The tour compares what the windows show with the log as the tool reads it.
wine_in "$folder" "$build/bin/vireon-tool.exe" dump > "$folder/dump.txt" 2>/dev/null || fail "dump failed"

pictures=$(mktemp -d)
# display.sh's trap ends the virtual display it started; this one does that
# too, after Wine has let go of it (so that Wine does not complain).
end() {
  rm -rf "$pictures"
  if [ -n "${CC_XVFB_PID:-}" ]; then
    timeout 15 "$root/cmake/wine-run.sh" "$prefix" wineserver -w 2>/dev/null
    kill "$CC_XVFB_PID" 2>/dev/null
  fi
}
trap end EXIT
timeout -k 5 100 "${wine_run[@]}" "$build/bin/cc-tour.exe" "Z:$folder" "Z:$pictures" \
  | tr -d '\r' | tee "$pictures/tour.log"
status=${PIPESTATUS[0]}

# Each picture: made, of the window's size, and not of one colour only.
for name in "${shots[@]}"; do
  size=$(awk -v n="$name" '$1 == "SHOT" && $2 == n { print $3 "x" $4 }' "$pictures/tour.log")
  if [ -z "$size" ] || [ ! -s "$pictures/$name.bmp" ]; then
    echo "tour: no picture $name" >&2; status=1; continue
  fi
  convert "$pictures/$name.bmp" -strip -define png:exclude-chunks=date,time "$pictures/$name.png" \
    || { echo "tour: cannot convert $name" >&2; status=1; continue; }
  read -r got colours < <(identify -format '%wx%h %k\n' "$pictures/$name.png")
  if [ ! -s "$pictures/$name.png" ] || [ "$got" != "$size" ] || [ "${colours:-0}" -lt 2 ]; then
    echo "tour: $name.png is ${got:-unreadable} with ${colours:-no} colours, the window $size" >&2; status=1
  fi
done

[ "$status" -eq 0 ] || fail "failed; pictures left as they were in $out"
mkdir -p "$out" || fail "cannot make $out"
for name in "${shots[@]}"; do cp "$pictures/$name.png" "$out/$name.png"; done
echo "tour: every check held; pictures of each window in $(cd "$out" && pwd)/"
