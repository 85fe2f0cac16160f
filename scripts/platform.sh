# Sourced by the scripts (after setup.sh): decides, in this one place, what
# this machine can run, and says so in one line.
#
# Whether 32-bit x86 programs run here is found by running one: a tiny -m32
# program built once into build/probe/. Some kernels and hypervisors run
# without IA-32 emulation; there every 32-bit program fails with "Exec format
# error", and the project builds and tests its 64-bit configurations instead
# (built only for that, never shipped: the logging library is 32-bit).
#
# Sets:
#   CC_RUNS_32BIT       yes or no
#   CC_NATIVE_PRESET    native (-m32) or native64
#   CC_BENCH_PRESET     native-bench or native64-bench
#   CC_WINDOWS_PRESET   the Windows build the demo and the tour run: windows
#                       where 32-bit programs run, else windows64
#   CC_WINE_RUN         the Wine suites to run: "i686 x86_64", or "x86_64";
#                       CC_WINE_ARCHES (i686, x86_64 or both) restricts it
# cc_platform_line WHO  prints the one line; cc_platform_check fails (status
# 1) with one message when a Wine suite asked for cannot run here.
cc_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

cc_probe_32bit() {
  local dir=$cc_root/build/probe out
  mkdir -p "$dir"
  if [ ! -x "$dir/run32" ]; then
    # Built under a name of its own and then moved, so that two scripts
    # starting together never run a half-written probe.
    if ! printf 'int main(void) { return 0; }\n' | gcc -m32 -x c - -o "$dir/run32.$$" 2>"$dir/build.log" ||
       ! mv -f "$dir/run32.$$" "$dir/run32"; then
      rm -f "$dir/run32.$$"
      CC_RUNS_32BIT=no CC_RUNS_32BIT_WHY="32-bit programs cannot be tried here (no -m32 compiler for the probe: g++-multilib)"
      return
    fi
  fi
  if out=$("$dir/run32" 2>&1); then
    CC_RUNS_32BIT=yes CC_RUNS_32BIT_WHY="32-bit programs run here (the -m32 probe ran)"
  else
    out=${out##*: }
    CC_RUNS_32BIT=no CC_RUNS_32BIT_WHY="32-bit programs cannot run here (the -m32 probe: ${out:-failed})"
  fi
}

cc_probe_32bit
if [ "$CC_RUNS_32BIT" = yes ]; then
  CC_NATIVE_PRESET=native CC_BENCH_PRESET=native-bench CC_WINDOWS_PRESET=windows
  cc_wine_can="i686 x86_64"
else
  CC_NATIVE_PRESET=native64 CC_BENCH_PRESET=native64-bench CC_WINDOWS_PRESET=windows64
  cc_wine_can="x86_64"
fi
case "${CC_WINE_ARCHES:-both}" in
  both|"") cc_wine_want="i686 x86_64" ;;
  i686|x86_64) cc_wine_want=$CC_WINE_ARCHES ;;
  *) echo "CC_WINE_ARCHES is i686, x86_64 or both, not '$CC_WINE_ARCHES'" >&2; exit 2 ;;
esac
CC_WINE_RUN="" cc_wine_cannot=""
for cc_arch in $cc_wine_want; do
  case " $cc_wine_can " in
    *" $cc_arch "*) CC_WINE_RUN="${CC_WINE_RUN:+$CC_WINE_RUN }$cc_arch" ;;
    *) cc_wine_cannot="$cc_arch" ;;
  esac
done
# The demo and the tour follow CC_WINE_ARCHES too, where it names one.
[ "$CC_WINE_RUN" = x86_64 ] && CC_WINDOWS_PRESET=windows64
export CC_RUNS_32BIT CC_NATIVE_PRESET CC_BENCH_PRESET CC_WINDOWS_PRESET CC_WINE_RUN

cc_platform_line() {   # cc_platform_line WHO
  local native="native -m32 tests" wine all="i686 x86_64" arch not=""
  [ "$CC_NATIVE_PRESET" = native64 ] && native="native 64-bit tests"
  wine="Wine suite ${CC_WINE_RUN// / and }"
  [ -z "$CC_WINE_RUN" ] && wine="no Wine suite"
  for arch in $all; do
    case " $CC_WINE_RUN " in *" $arch "*) ;; *) not="${not:+$not and }$arch" ;; esac
  done
  if [ -n "$not" ]; then
    if [ -n "$cc_wine_cannot" ]; then not="; Wine $not built, not run"
    else not="; Wine $not built, not run (CC_WINE_ARCHES=$CC_WINE_ARCHES)"; fi
  fi
  echo "$1: $CC_RUNS_32BIT_WHY: $native, $wine$not; the demo and the tour run build/$CC_WINDOWS_PRESET"
}

cc_platform_check() {   # fails when nothing asked for can run here
  if [ -z "$CC_WINE_RUN" ]; then
    echo "CC_WINE_ARCHES=$CC_WINE_ARCHES asks for Wine $cc_wine_cannot, but $CC_RUNS_32BIT_WHY" >&2
    return 1
  fi
}
