#!/bin/sh
# qilo.exe under wine on a virtual X server with the prefix set to DPI dots
# per inch (and set back afterwards): the window's size on the screen is the
# layout's times DPI/96, and the screenshot (BUILD_DIR/win32_DPI.png) has the
# per-mille signs, the radio circles and the bottom rule at their scaled
# places.
# Usage: window_dpi_test.sh QILO_EXE BUILD_DIR WINE DPI
set -eu
exe=$1 build=$2 wine=$3 dpi=$4
work=$build/win32_dpi_test
rm -rf "$work"
mkdir -p "$work/home"
export WINEDEBUG=-all WINEPREFIX="$build/wineprefix" here="$(dirname "$0")"

exec xvfb-run -a -s "-screen 0 1280x1024x24" sh -eu -c '
work=$1 exe=$2 wine=$3 build=$4 dpi=$5
ws=$(command -v wineserver || echo /usr/lib/wine/wineserver)
fail() { echo "FAIL: $*"; exit 1; }
. "$here/wine_lib.sh"
desktop="HKCU\\Control Panel\\Desktop"
own_server "$ws"
restore=$(dpi_restore "$wine")
trap "$restore >/dev/null 2>&1; end_own_server \"$wine\" \"$ws\"" EXIT
"$wine" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
sh "$here/link_cjk_fonts.sh" "$wine"

start_window "$wine" "$exe" "$work/home"
sleep 1.5
shot="$build/win32_$dpi.png"
import -window root "$shot"
set -- $(xdotool getwindowgeometry "$win" | tr "x," "  " |
  sed -n "s/.*Position: *\([0-9]*\) *\([0-9]*\).*/\1 \2/p;s/.*Geometry: *\([0-9]*\) *\([0-9]*\).*/\1 \2/p")
wx=$1 wy=$2 w=$3 h=$4
echo "window at $wx,$wy: $w x $h at $dpi dpi"
# Within a pixel of 469 x 232 times the scale.
near() { [ $(( $1 * 96 - $2 * dpi )) -le 96 ] && [ $(( $2 * dpi - $1 * 96 )) -le 96 ]; }
near "$w" 469 && near "$h" 232 || fail "the window is $w x $h, not 469 x 232 times $dpi/96"
# A layout position at the scale, rounded half up as the window does.
px() { echo $(( ($1 * dpi + 48) / 96 )); }
region() { echo "$(( $(px $3) - $(px $1) ))x$(( $(px $4) - $(px $2) ))+$((wx + $(px $1)))+$((wy + $(px $2)))"; }
darkest() {
  convert "$shot" -crop "$(region "$@")" +repage -colorspace gray \
    -format "%[fx:int(minima*255)]" info:
}
ink_width() {
  convert "$shot" -crop "$(region "$@")" +repage -colorspace gray \
    -threshold 62.5% -trim -format "%w" info: 2>/dev/null
}
count() {
  convert "$shot" -crop "$(region "$1" "$2" "$3" "$4")" +repage -alpha off \
    -fill black +opaque "$5" -fill white -opaque "$5" \
    -format "%[fx:int(mean*w*h+0.5)]" info:
}
# The per-mille signs in the fee panel (at 17,45): the "%" (8 x 13 at 104,y)
# and the whole "。" right of it (from 112,y+2), three layout pixels wide.
for y in 21 57 93; do
  percent=$(darkest $((17 + 104)) $((45 + y)) $((17 + 112)) $((45 + y + 13)))
  dot=$(darkest $((17 + 112)) $((45 + y + 2)) $((17 + 122)) $((45 + y + 15)))
  dot_width=$(ink_width $((17 + 112)) $((45 + y + 2)) $((17 + 122)) $((45 + y + 15)))
  echo "per-mille row $y: darkest $percent in the %, $dot right of it, $dot_width columns wide"
  [ "$percent" -lt 160 ] || fail "no % in the rate row at $y"
  [ "$dot" -lt 160 ] && [ "$dot_width" -ge "$(px 3)" ] || fail "no whole 。 after the % in the rate row at $y"
done
# The radio circles whole: their lowest rows lie over the top of Panel1 (layout
# rows 45 to 48), where the panel must not hide them.
for x in 21 81; do
  low=$(darkest $x 45 $((x + 15)) 49)
  echo "radio at $x: darkest $low under row 45"
  [ "$low" -lt 230 ] || fail "the radio circle at $x is cut off at the top of Panel1"
done
# The bottom rule: the last layout row teal from column 1 to the right edge.
teal="rgb(0,128,128)"
rule=$(count 1 231 469 232 "$teal")
want=$(( ($(px 469) - $(px 1)) * ($(px 232) - $(px 231)) ))
above=$(count 1 227 469 231 "$teal")
echo "bottom rule: $rule of $want teal, $above above it"
[ "$rule" -eq "$want" ] && [ "$above" -eq 0 ] || fail "the bottom rule is not one teal line on the last row"
kill $pid 2>/dev/null || true
echo "PASS"
' sh "$work" "$exe" "$wine" "$build" "$dpi"
