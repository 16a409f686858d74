#!/bin/sh
# On an X server at each display scale: the pointer over the contact link
# shows the hand drawn for that scale, pixel for pixel, with its hot spot on
# the finger tip, as the server reports it (CURSOR_PROBE).
# Usage: hand_cursor_test.sh CURSOR_PROBE QILO_BINARY
set -eu
here=$(cd "$(dirname "$0")" && pwd)
probe=$1 qilo=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
status=0
for scale in 1 1.25 1.5 2; do
  # 32 layout pixels square, the hot spot 10 down; device pixels rounded half up.
  want=$(awk -v s="$scale" 'BEGIN {
    n = int(32 * s + 0.5); printf "%dx%d hot 0,%d", n, n, int(10 * s + 0.5) }')
  got=$(QT_SCALE_FACTOR=$scale HOME=$home timeout 60 sh "$here/with_window.sh" "$qilo" '
    probe=$1 scale=$2
    xdotool mousemove 0 0
    sleep 0.2
    arrow=$("$probe")
    set -- $(xwininfo -id "$window" | awk "/Absolute upper-left X/ {x=\$4}
      /Absolute upper-left Y/ {y=\$4} END {print x, y}")
    # The middle of the contact label, at (410, 218) in the layout; the hand
    # comes with the first move over it.
    xdotool mousemove $(awk -v x="$1" -v y="$2" -v s="$scale" \
      "BEGIN { print int(x + 410 * s), int(y + 218 * s) }")
    tries=0
    while [ "$tries" -lt 30 ] && [ "$("$probe")" = "$arrow" ]; do
      xdotool mousemove_relative -- 1 0 mousemove_relative -- -1 0
      sleep 0.1
      tries=$((tries + 1))
    done
    "$probe"
  ' "$probe" "$scale" 2>/dev/null) || got="no window"
  echo "hand_cursor_test: scale $scale: $got (want $want)"
  [ "$got" = "$want" ] || status=1
done
exit "$status"
