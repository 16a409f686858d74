#!/bin/sh
# Makes the wine prefix the Windows tests share, once, before any of them:
# ends a server an interrupted run left behind (it kept wineboot waiting for
# good), makes the prefix, and gives it the fonts of a Chinese Windows.
# Usage: wine_prefix.sh WINE WINESERVER
set -eu
wine=$1 wineserver=$2
"$wineserver" -k 2>/dev/null || true
"$wine" wineboot --init
# The fonts of a Chinese Windows, so that every test measures and draws text
# in the same faces.
sh "$(dirname "$0")/../app/win32/link_cjk_fonts.sh" "$wine"
# The tests that show windows start their own server on their display.
"$wineserver" -w
