#!/bin/sh
# On a bare X server (no window manager, so no system move): press in the
# drag strip at (100, 10), move by (+50, +30), release; the window must have
# moved by just that. Usage: drag_test.sh QILO_BINARY
set -eu
here=$(cd "$(dirname "$0")" && pwd)
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME=$home timeout 60 sh "$here/with_window.sh" "$1" '
  where() {
    xwininfo -id "$window" | awk "/Absolute upper-left X/ {x=\$4} /Absolute upper-left Y/ {y=\$4} END {print x, y}"
  }
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
'
