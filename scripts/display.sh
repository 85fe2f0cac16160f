# Sourced by the scripts: gives them an X display. With none, a virtual one
# (Xvfb, large enough for the windows at 200 %)
# is started for the script's lifetime. cc_display_check then fails with one
# message when no display could be had.
if [ -z "${DISPLAY:-}" ] && command -v Xvfb >/dev/null; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 &
    CC_XVFB_PID=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    export DISPLAY=":$n"
    trap 'kill $CC_XVFB_PID 2>/dev/null' EXIT
    break
  done
fi

cc_display_check() {   # cc_display_check WHO
  if [ -z "${DISPLAY:-}" ]; then
    echo "$1: no X display, and no virtual one (Xvfb) could be started: install Debian's xvfb and x11-utils (bash scripts/setup.sh, as root)" >&2
    return 1
  fi
  if command -v xdpyinfo >/dev/null && ! xdpyinfo >/dev/null 2>&1; then
    echo "$1: the X display $DISPLAY does not answer: unset DISPLAY to use a virtual one (Debian's xvfb)" >&2
    return 1
  fi
}
