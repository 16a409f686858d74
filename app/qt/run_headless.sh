#!/bin/sh
# Starts the window on a virtual X display, saves a screenshot of the screen
# once the window is up, then ends it.
# Usage: run_headless.sh QILO_BINARY SCREENSHOT_PNG
set -eu
qilo=$1
shot=$2
rm -f "$shot"
xvfb-run -a -s '-screen 0 800x600x24' sh -c '
  "$1" &
  pid=$!
  tries=0
  until xwininfo -root -tree 2>/dev/null | grep -q "Qilo.*469x232"; do
    tries=$((tries + 1))
    if [ "$tries" -gt 150 ] || ! kill -0 "$pid" 2>/dev/null; then
      echo "qilo: the window did not show" >&2
      kill "$pid" 2>/dev/null || true
      exit 1
    fi
    sleep 0.1
  done
  sleep 0.5  # mapped; give it time to paint
  import -window root "$2"
  kill "$pid"
  wait "$pid" 2>/dev/null || true
' sh "$qilo" "$shot"
echo "qilo: the window ended; screenshot in $shot (headless: build/qilo-cli --help)"
