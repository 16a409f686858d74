#!/bin/sh
# Runs a Windows program under wine on a virtual X server of its own, with
# the fonts a Chinese Windows has, and a wine server of its own on that
# display in place of the one the tests share (wine_lib.sh: own_server).
# With QILO_TEST_DPI set, the prefix's dots per inch are that for the run and
# what they were afterwards.
# Usage: run_on_x.sh WINE PROGRAM [ARGUMENT ...]
set -eu
here=$(dirname "$0")
export here
exec xvfb-run -a -s "-screen 0 1024x768x24" sh -eu -c '
ws=$(command -v wineserver || echo /usr/lib/wine/wineserver)
desktop="HKCU\\Control Panel\\Desktop"
. "$here/wine_lib.sh"
own_server "$ws"
restore=""
if [ -n "${QILO_TEST_DPI:-}" ]; then
  restore=$(dpi_restore "$1")
  "$1" reg add "$desktop" /v LogPixels /t REG_DWORD /d "$QILO_TEST_DPI" /f >/dev/null 2>&1
fi
trap "${restore:+$restore >/dev/null 2>&1;} end_own_server \"$1\" \"$ws\"" EXIT
sh "$here/link_cjk_fonts.sh" "$1"
# The virtual server has no window manager: wine is told, for this program
# only, not to wait for one to take its windows (2 s each time one goes).
"$1" reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$2")\\X11 Driver" \
  /v Managed /d N /f >/dev/null 2>&1
"$@"
' sh "$@"
