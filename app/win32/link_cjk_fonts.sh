#!/bin/sh
# The prefix is an English Windows without Chinese fonts; a Chinese one links
# its Western faces to a CJK face and names SimSun and SimHei. Do the same
# with the WenQuanYi face the Linux build uses.
# Usage: link_cjk_fonts.sh WINE
set -eu
key="HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion"
for face in "MS Sans Serif" "Tahoma" "Microsoft Sans Serif" "Arial Black"; do
  "$1" reg add "$key\\FontLink\\SystemLink" /v "$face" /t REG_MULTI_SZ \
    /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >/dev/null 2>&1
done
for face in "宋体" "黑体" "SimSun" "SimHei"; do
  "$1" reg add "$key\\FontSubstitutes" /v "$face" \
    /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
done
