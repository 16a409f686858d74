#!/bin/sh
# Makes the wine prefix the Windows tests share, once, before any of them:
# ends a server an interrupted run left behind (it kept wineboot waiting for
# good), makes the prefix, gives it the fonts of a Chinese Windows, and
# starts the server the tests share. With "end", ends that server after the
# last test, and fails when it had gone.
# A server left to end when idle can end just as the next wine process
# connects, which then fails ("recvmsg: Connection reset by peer"): the one
# the tests share stays up until it is ended. A test that shows windows ends
# it, runs a server of its own on its display, and starts it again.
# Usage: wine_prefix.sh WINE WINESERVER [end]
set -eu
wine=$1 wineserver=$2
if [ "${3:-}" = end ]; then
  # The shared server is still up after the last test, or a test ran
  # against one that could end under it.
  "$wineserver" -k 2>/dev/null && exit 0
  echo "wine_prefix: no shared wine server was running at the end" >&2
  exit 1
fi
"$wineserver" -k 2>/dev/null || true
. "$(dirname "$0")/../app/win32/wine_lib.sh"
"$wine" wineboot --init
# The fonts of a Chinese Windows, so that every test measures and draws text
# in the same faces.
sh "$(dirname "$0")/../app/win32/link_cjk_fonts.sh" "$wine"
"$wineserver" -w
start_shared_server "$wine" "$wineserver"
