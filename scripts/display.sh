# Sourced by the scripts: gives them an X display. With none, a virtual one
# (Xvfb, large enough for the windows at 200 %)
# is started for the script's lifetime.
if [ -z "${DISPLAY:-}" ]; then
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
