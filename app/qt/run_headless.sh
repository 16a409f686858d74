#!/bin/sh
# Starts the window on a virtual X display, saves a screenshot of the screen
# once the window is up, then ends it.
# Usage: run_headless.sh QILO_BINARY SCREENSHOT_PNG
set -eu
here=$(cd "$(dirname "$0")" && pwd)
shot=$2
rm -f "$shot"
sh "$here/with_window.sh" "$1" 'import -window root "$1"' "$shot"
echo "qilo: the window ended; screenshot in $shot (headless: build/qilo-cli --help)"
