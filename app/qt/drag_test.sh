#!/bin/sh
# On a bare X server (no window manager, so no system move): press in the
# drag strip at (100, 10), move by (+50, +30), release; the window must have
# moved by just that. Usage: drag_test.sh QILO_BINARY
set -eu
qilo=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME=$home timeout 60 xvfb-run -a -s '-screen 0 800x600x24' sh -c '
  "$1" &
  pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT
  where() {
    xwininfo -id "$id" | awk "/Absolute upper-left X/ {x=\$4} /Absolute upper-left Y/ {y=\$4} END {print x, y}"
  }
  tries=0
  until id=$(xwininfo -root -tree 2>/dev/null | awk "/Qilo.*469x232/ {print \$1; exit}") && [ -n "$id" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 150 ] || ! kill -0 "$pid" 2>/dev/null; then
      echo "drag_test: the window did not show" >&2
      exit 1
    fi
    sleep 0.1
  done
  sleep 0.5
  set -- $(where)
  x=$1 y=$2
  xdotool mousemove $((x + 100)) $((y + 10))
  sleep 0.2
  xdotool mousedown 1
  sleep 0.2
  xdotool mousemove $((x + 125)) $((y + 25))
  sleep 0.2
  xdotool mousemove $((x + 150)) $((y + 40))
  sleep 0.2
  xdotool mouseup 1
  sleep 0.3
  set -- $(where)
  echo "drag_test: from $x,$y to $1,$2"
  if [ "$1" -ne $((x + 50)) ] || [ "$2" -ne $((y + 30)) ]; then
    echo "drag_test: expected $((x + 50)),$((y + 30))" >&2
    exit 1
  fi
' sh "$qilo"
