#!/bin/sh
# Makes the wine prefix the Windows tests share, once, before any of them:
# ends a server an interrupted run left behind (it kept wineboot waiting for
# good), makes the prefix, and gives it the fonts of a Chinese Windows.
# Usage: wine_prefix.sh WINE WINESERVER
set -eu
wine=$1 wineserver=$2
"$wineserver" -k 2>/dev/null || true
"$wine" wineboot --init
# The prefix is an English Windows without Chinese fonts; a Chinese one links
# its Western faces to a CJK face and names SimSun and SimHei. Do the same
# with the WenQuanYi face the Linux build uses, so that every test measures
# and draws text in the same faces.
key="HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion"
for face in "MS Sans Serif" "Tahoma" "Microsoft Sans Serif" "Arial Black"; do
  "$wine" reg add "$key\\FontLink\\SystemLink" /v "$face" /t REG_MULTI_SZ \
    /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >/dev/null
done
for face in "宋体" "黑体" "SimSun" "SimHei"; do
  "$wine" reg add "$key\\FontSubstitutes" /v "$face" \
    /d "WenQuanYi Micro Hei" /f >/dev/null
done
# The tests that show windows start their own server on their display.
"$wineserver" -w
