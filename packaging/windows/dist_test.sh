#!/bin/sh
# The Windows download: exactly the two programs, the guide and the licence;
# the guide as Notepad reads it; and both programs start from an unpacked
# copy in a folder named in Chinese.
# Usage: dist_test.sh ZIP VERSION WINE PYTHON3
set -eu
zip=$1 version=$2 wine=$3 python=$4
fail() { echo "dist_test: $*" >&2; exit 1; }
[ "$(basename "$zip")" = "qilo-$version-win64.zip" ] || fail "named $(basename "$zip")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unpacked="$work/下载/qilo"
"$python" - "$zip" "$unpacked" <<'PY' || exit 1
import sys, zipfile
zip_path, dest = sys.argv[1], sys.argv[2]
guide = "使用说明.txt"
with zipfile.ZipFile(zip_path) as z:
    names = sorted(i.filename for i in z.infolist())
    want = sorted(["qilo.exe", "qilo-cli.exe", guide, "LICENSE.txt"])
    if names != want:
        sys.exit("dist_test: the zip holds %s, not %s" % (names, want))
    # Explorer shows a Chinese name right only when the zip marks it UTF-8.
    if not z.getinfo(guide).flag_bits & 0x800:
        sys.exit("dist_test: the guide's name is not marked UTF-8")
    text = z.read(guide)
    if not text.startswith(b"\xef\xbb\xbf"):
        sys.exit("dist_test: the guide has no byte order mark")
    if text.count(b"\n") != text.count(b"\r\n") or text.count(b"\n") < 10:
        sys.exit("dist_test: the guide's lines do not all end in CRLF")
    body = text.decode("utf-8")
    for word in ("qilo.exe", "qilo-cli.exe", "qilo.ini", "qiloinfo.ini", "卸载"):
        if word not in body:
            sys.exit("dist_test: the guide does not mention " + word)
    z.extractall(dest)
PY
export WINEDEBUG=-all
# Every wine process of the run sees the same display: one started without it
# leaves the prefix's desktop process where no window can show.
timeout 90 xvfb-run -a sh -eu -c '
  wine=$1 unpacked=$2 version=$3 work=$4
  cli=$("$wine" "$unpacked/qilo-cli.exe" --version | tr -d "\r")
  if [ "$cli" != "$version" ]; then
    echo "dist_test: qilo-cli.exe --version says \"$cli\"" >&2
    exit 1
  fi
  # Asked for a start-up report, the window ends once its first frame shows.
  probe=$(echo "$work/probe.txt" | sed "s|^|Z:|; s|/|\\\\|g")
  QILO_STARTUP_PROBE="$probe" "$wine" "$unpacked/qilo.exe" || true
  if ! grep -q "first_frame_ns=" "$work/probe.txt" 2>/dev/null; then
    echo "dist_test: qilo.exe showed no window" >&2
    exit 1
  fi
' sh "$wine" "$unpacked" "$version" "$work"
echo "dist_test: $(basename "$zip"): both programs start"
