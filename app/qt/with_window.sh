#!/bin/sh
# Starts the window on a virtual X display, waits until it shows (at
# QT_SCALE_FACTOR, if set), then runs ACTION (a shell command) with $window
# (its X window id) and $pid (the program's) in its environment, and ends the
# program.
# Exit: ACTION's status, or 1 when the window did not show within 15 s.
# Usage: with_window.sh QILO_BINARY ACTION [ARG ...] (ARGs are ACTION's $1 …)
set -eu
qilo=$1
shift
# The window's size in device pixels, each edge rounded half up.
size=$(awk -v s="${QT_SCALE_FACTOR:-1}" \
  'BEGIN { printf "%dx%d", int(469 * s + 0.5), int(232 * s + 0.5) }')
export size
exec xvfb-run -a -s '-screen 0 800x600x24' sh -c '
  qilo=$1
  action=$2
  shift 2
  "$qilo" &
  pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT
  tries=0
  # Qt also makes a hidden leader window: wait for the one of its size.
  until window=$(xwininfo -root -tree 2>/dev/null |
                 awk "/Qilo.*$size/ {print \$1; exit}") && [ -n "$window" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 150 ] || ! kill -0 "$pid" 2>/dev/null; then
      echo "qilo: the window did not show" >&2
      exit 1
    fi
    sleep 0.1
  done
  sleep 0.5  # mapped; give it time to paint
  export window pid
  sh -c "$action" sh "$@"
' sh "$qilo" "$@"
