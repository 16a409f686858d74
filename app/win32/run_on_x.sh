#!/bin/sh
# Runs a Windows program under wine on a virtual X server of its own, then
# ends the prefix's wine server: one left running with its display gone makes
# the next wine start wait for good.
# Usage: run_on_x.sh WINE PROGRAM [ARGUMENT ...]
set -eu
exec xvfb-run -a -s "-screen 0 1024x768x24" sh -eu -c '
ws=$(command -v wineserver || echo /usr/lib/wine/wineserver)
trap "\"$ws\" -k 2>/dev/null || true" EXIT
# The virtual server has no window manager: wine is told, for this program
# only, not to wait for one to take its windows (2 s each time one goes).
"$1" reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$2")\\X11 Driver" \
  /v Managed /d N /f >/dev/null 2>&1
"$@"
' sh "$@"
