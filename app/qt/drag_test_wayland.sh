#!/bin/sh
# Under a Wayland compositor (weston, nested in a virtual X server so that
# xdotool can press its mouse): press in the drag strip, move by (+50, +30),
# release; the window must have moved by just that. A press beside the strip
# moves nothing. The window's place is read from a screenshot, since Wayland
# tells no client where its window stands.
# Usage: drag_test_wayland.sh QILO_BINARY. Exit 77 (skipped) where weston or
# Qt's Wayland plugin is missing or weston cannot start.
set -eu
qilo=$1
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null ||
          echo /usr/lib/x86_64-linux-gnu/qt6/plugins)
if ! command -v weston >/dev/null; then
  echo "drag_test_wayland: skipped: weston is not installed"; exit 77
fi
if ! ls "$plugins"/platforms/libqwayland-* >/dev/null 2>&1; then
  echo "drag_test_wayland: skipped: Qt's Wayland plugin is not installed"; exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/run" "$work/home"
XDG_RUNTIME_DIR=$work/run HOME=$work/home timeout 90 \
  xvfb-run -a -s '-screen 0 1280x900x24' sh -c '
  qilo=$1 work=$2
  weston --backend=x11-backend.so --use-pixman --width=1024 --height=768 \
    --socket=qilo-test --idle-time=0 >"$work/weston.log" 2>&1 &
  weston=$!
  trap "kill \$qilo_pid \$weston 2>/dev/null || true" EXIT
  qilo_pid=
  tries=0
  until [ -S "$XDG_RUNTIME_DIR/qilo-test" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$weston" 2>/dev/null; then
      echo "drag_test_wayland: skipped: weston did not start:"
      tail -5 "$work/weston.log"
      exit 77
    fi
    sleep 0.1
  done
  WAYLAND_DISPLAY=qilo-test QT_QPA_PLATFORM=wayland "$qilo" &
  qilo_pid=$!
  # The window: the bounding box of its frame line colour, 469x232.
  where() {
    import -window root "$work/shot.png"
    convert "$work/shot.png" -fill black +opaque "#57759F" -trim \
      -format "%X %Y %w %h" info: 2>/dev/null | tr -d +
  }
  tries=0
  until set -- $(where) && [ "$3" = 469 ] && [ "$4" = 232 ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 50 ] || ! kill -0 "$qilo_pid" 2>/dev/null; then
      echo "drag_test_wayland: the window did not show" >&2
      exit 1
    fi
    sleep 0.2
  done
  # Weston follows the X pointer from the moment it enters weston'"'"'s output
  # window (1024x768 at the top left of the X screen): start outside it, then
  # hover the close label until it turns red, so the pointer is known to
  # reach the window before any press.
  xdotool mousemove 1200 850
  sleep 0.2
  set -- $(where)
  xdotool mousemove $(($1 + 452)) $(($2 + 12))
  tries=0
  until import -window root "$work/shot.png" &&
        convert "$work/shot.png" -crop "16x16+$(($1 + 445))+$(($2 + 4))" \
          +repage txt:- | grep -q -E ": \(2[0-9][0-9],[0-9]{1,2},[0-9]{1,2}\)"; do
    tries=$((tries + 1))
    if [ "$tries" -gt 50 ]; then
      echo "drag_test_wayland: the close label never turned red under the pointer" >&2
      exit 1
    fi
    xdotool mousemove_relative -- 0 1 mousemove_relative -- 0 -1
    sleep 0.1
  done
  # press x, press y, the move, and whether the window follows it
  for row in "100 10 50 30 1" "31 10 -50 -30 1" "429 22 -50 30 1" \
             "30 10 50 -30 0" "100 23 50 30 0" "100 1 50 30 0"; do
    set -- $row
    px=$1 py=$2 dx=$3 dy=$4 follows=$5
    set -- $(where)
    x=$1 y=$2
    xdotool mousemove $((x + px)) $((y + py))
    sleep 0.2
    xdotool mousedown 1
    sleep 0.2
    xdotool mousemove $((x + px + dx / 2)) $((y + py + dy / 2))
    sleep 0.2
    xdotool mousemove $((x + px + dx)) $((y + py + dy))
    sleep 0.2
    xdotool mouseup 1
    sleep 0.3
    set -- $(where)
    echo "drag_test_wayland: press at $px,$py: from $x,$y to $1,$2"
    if [ "$1" -ne $((x + dx * follows)) ] || [ "$2" -ne $((y + dy * follows)) ]; then
      echo "drag_test_wayland: expected $((x + dx * follows)),$((y + dy * follows))" >&2
      exit 1
    fi
  done
' sh "$qilo" "$work"
