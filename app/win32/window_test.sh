#!/bin/sh
# qilo.exe under wine on a virtual X server, what only the real program on a
# real X server shows (win32_test drives the window itself in-process): the
# first frame's start-up time, a screenshot with the per-mille signs and the
# rules, the settings file's bytes and hidden attribute, the mark of an
# amount too long for its field, and the drag strip.
# Usage: window_test.sh QILO_EXE BUILD_DIR WINE
set -eu
exe=$1
build=$2
wine=$3
work=$build/win32_test
rm -rf "$work"
mkdir -p "$work/home"
export WINEDEBUG=-all WINEPREFIX="$build/wineprefix"

exec xvfb-run -a -s "-screen 0 1024x768x24" sh -eu -c '
work=$1 exe=$2 wine=$3 build=$4 here=$5
ws=$(command -v wineserver || echo /usr/lib/wine/wineserver)
fail() { echo "FAIL: $*"; exit 1; }
. "$here/wine_lib.sh"
# However the script ends, its server ends with it.
own_server "$ws"
trap "end_own_server \"$wine\" \"$ws\"" EXIT
# The fonts a Chinese Windows has.
sh "$here/link_cjk_fonts.sh" "$wine"

# Start-up: from the start to the first painted frame (the program ends there).
start=$(date +%s%N)
QILO_STARTUP_PROBE="$(winpath "$work/probe.txt")" \
  timeout 30 "$wine" "$exe" || true
[ -s "$work/probe.txt" ] || fail "no first frame reported"
frame=$(sed -n "s/first_frame_ns=//p" "$work/probe.txt")
echo "startup_ms=$(( (frame - start) / 1000000 ))"
rm -f "$work/home/qilo.ini"

start_window "$wine" "$exe" "$work/home"
sleep 1
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win" || true
sleep 0.5
import -window root "$build/win32.png"
# Points in the window: the three input fields and the calculate button.
buy="247 68" sell="247 106" count="247 144" calc="412 179"
at() { xdotool mousemove --window "$win" "$@"; }
# Clicks into the field at the point and types over its whole text.
type_into() {
  at $1 $2
  xdotool click 1 key End shift+Home
  xdotool type --delay 60 "$3"
}

# Read from the screenshot, at points of the window: where() gives its place.
where() { xdotool getwindowgeometry "$win" | sed -n "s/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p"; }
set -- $(where)
wx=$1 wy=$2
# The darkest grey (0 black, 255 white) in the window region WxH+X+Y.
darkest_at() {
  g=${1%%+*} o=${1#*+}
  convert "$build/win32.png" -crop "$g+$((wx + ${o%%+*}))+$((wy + ${o#*+}))" \
    +repage -colorspace gray -format "%[fx:int(minima*255)]" info:
}
# How many pixels of the region are exactly the colour $2.
count_at() {
  g=${1%%+*} o=${1#*+}
  convert "$build/win32.png" -crop "$g+$((wx + ${o%%+*}))+$((wy + ${o#*+}))" \
    +repage -alpha off -fill black +opaque "$2" -fill white -opaque "$2" \
    -format "%[fx:int(mean*w*h+0.5)]" info:
}
# How many columns the ink darker than 160 spans in the region.
ink_width_at() {
  g=${1%%+*} o=${1#*+}
  convert "$build/win32.png" -crop "$g+$((wx + ${o%%+*}))+$((wy + ${o#*+}))" \
    +repage -colorspace gray -threshold 62.5% -trim -format "%w" info: 2>/dev/null
}
# The per-mille signs: in each of the first three rate rows of the fee panel
# (at 17,45), ink of the "%" (8 x 13 at 104,y) and the whole "。" in the rest
# of its cell right of the "%" (12 x 13 at 110,y+2; 10 columns from 112): its
# ink at least 3 columns wide, not a sliver left by the "%" over it.
for y in 21 57 93; do
  percent=$(darkest_at "8x13+$((17 + 104))+$((45 + y))")
  stop="10x13+$((17 + 112))+$((45 + y + 2))"
  dot=$(darkest_at "$stop") dot_width=$(ink_width_at "$stop")
  echo "per-mille row $y: darkest $percent in the %, $dot right of it, $dot_width columns wide"
  [ "$percent" -lt 160 ] || fail "no % in the rate row at $y"
  [ "$dot" -lt 160 ] && [ "$dot_width" -ge 3 ] || fail "no whole 。 after the % in the rate row at $y"
done
# The radio circles whole: their lowest rows lie over the top of Panel1 (rows 45
# to 48), where the panel must not hide them.
for x in 21 81; do
  low=$(darkest_at "15x4+$x+45")
  echo "radio at $x: darkest $low under row 45"
  [ "$low" -lt 230 ] || fail "the radio circle at $x is cut off at the top of Panel1"
done
# The rules, one pixel row each in their own colour: the teal one closes the
# frame on the last row of the window from column 1 to the right edge (Label16 at
# 1,219, 547 x 13, clipped), with none of it on the rows above; the grey one
# under the fee rates on the bottom row of Label17 (120 x 13 at 1,145).
teal="rgb(0,128,128)"
rule=$(count_at "468x1+1+231" "$teal")
above=$(count_at "468x4+1+227" "$teal")
grey=$(count_at "120x1+$((17 + 1))+$((45 + 157))" "rgb(160,160,164)")
echo "rules: $rule of 468 teal on row 231, $above teal on rows 227-230, $grey of 120 grey on row 202"
[ "$rule" -eq 468 ] && [ "$above" -eq 0 ] || fail "the bottom rule is not one teal line on row 231"
[ "$grey" -eq 120 ] || fail "the rule under the fee rates is not one grey line on row 202"
printf "[cfg]\ncommision=1.7\nstamptax=1\ntransfer=1\notherfee=4\nprecision=2\n" > "$work/ini_want"
cmp "$work/ini_want" "$work/home/qilo.ini" || fail "qilo.ini differs"
attr=$("$wine" cmd /c attrib "$(echo "$work/home/qilo.ini" | sed "s|^|Z:|; s|/|\\\\|g")" | tr -d "\r")
printf "attrib: %s\n" "$attr"
printf "%s\n" "$attr" | grep -q "^ *[A-Z ]*H[A-Z ]*  *[A-Z]:" || fail "qilo.ini is not hidden"

# An amount too long for any font: the smallest font, its leading digits and
# a mark at the cut. Each field is clicked, its text selected and typed over.
type_into $buy 999999
type_into $sell 999999
type_into $count 99999999999
at $calc click 1
# The mark: the buy cost field (62 px wide, its frame at 378,61 in the
# window) has in its last columns the dots low and nothing above them, where
# the digits would otherwise run on.
darkest() {
  convert "$build/win32_cut.png" -crop "$1" +repage -colorspace gray \
    -format "%[fx:int(minima*255)]" info:
}
for i in $(seq 1 20); do
  sleep 0.5
  import -window root "$build/win32_cut.png"
  set -- $(where)
  above=$(darkest "8x7+$(($1 + 378 + 53))+$(($2 + 61 + 1))")
  dots=$(darkest "8x7+$(($1 + 378 + 53))+$(($2 + 61 + 8))")
  [ "$above" -gt 220 ] && [ "$dots" -lt 160 ] && break
done
echo "cut mark: window at $1,$2; darkest $above above the dots, $dots at them"
[ "$above" -gt 220 ] && [ "$dots" -lt 160 ] || fail "no cut mark at the right end"

# The drag strip: press at (100, 10), move by (+50, +30), release.
set -- $(where)
x=$1 y=$2
xdotool mousemove $((x + 100)) $((y + 10)); sleep 0.2
xdotool mousedown 1; sleep 0.2
xdotool mousemove $((x + 125)) $((y + 25)); sleep 0.2
xdotool mousemove $((x + 150)) $((y + 40)); sleep 0.2
xdotool mouseup 1; sleep 0.5
set -- $(where)
echo "drag: from $x,$y to $1,$2"
[ "$1" -eq $((x + 50)) ] && [ "$2" -eq $((y + 30)) ] || fail "the drag strip did not move the window by (50, 30)"

kill $pid 2>/dev/null || true
echo "PASS"
' sh "$work" "$exe" "$wine" "$build" "$(dirname "$0")"
