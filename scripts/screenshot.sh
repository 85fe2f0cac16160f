#!/usr/bin/env bash
# screenshot.sh "WINDOW TITLE" OUT.png [TIMEOUT_SECONDS]
# Saves a picture of the X window with that title (a window of a program
# under Wine) once it appears on the display.
set -u
title="$1"; out="$2"; timeout="${3:-30}"
for _ in $(seq $((timeout * 5))); do
  id=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\":" | awk '{print $1}' | head -n1)
  if [ -n "$id" ]; then
    sleep 1   # let it finish painting
    import -window "$id" "$out" && exit 0
  fi
  sleep 0.2
done
echo "screenshot: no window \"$title\" within ${timeout}s" >&2
exit 1
