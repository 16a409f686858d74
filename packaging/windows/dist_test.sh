#!/bin/sh
# The Windows download: exactly the two programs, stripped, the guide and the
# licence, both naming the release; the guide as Notepad reads it; and both
# programs start from an unpacked copy in a folder named in Chinese.
# Usage: dist_test.sh ZIP VERSION WINE PYTHON3
set -eu
zip=$1 version=$2 wine=$3 python=$4
fail() { echo "dist_test: $*" >&2; exit 1; }
[ "$(basename "$zip")" = "qilo-$version-win64.zip" ] || fail "named $(basename "$zip")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unpacked="$work/下载/qilo"
"$python" - "$zip" "$unpacked" "$version" <<'PY' || exit 1
import re, struct, sys, zipfile
zip_path, dest, version = sys.argv[1], sys.argv[2], sys.argv[3]
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
    # Both texts name the release; a placeholder left unfilled shows as
    # nothing at all in a configured file, or as @NAME@.
    licence = z.read("LICENSE.txt").decode("utf-8")
    titles = {guide: (body.lstrip("\ufeff").split("\r\n", 1)[0],
                      "Qilo股票计算器 %s（Windows 64 位）" % version),
              "LICENSE.txt": (licence.split("\r\n", 1)[0], "Qilo " + version)}
    for name, (title, want) in titles.items():
        if title != want:
            sys.exit("dist_test: %s begins %r, not %r" % (name, title, want))
    for name, words in ((guide, body), ("LICENSE.txt", licence)):
        if re.search(r"@[A-Z_]+@", words):
            sys.exit("dist_test: %s keeps a placeholder" % name)
    # Shipped stripped: no COFF symbol table and no debugging sections.
    for exe in ("qilo.exe", "qilo-cli.exe"):
        image = z.read(exe)
        header = struct.unpack_from("<I", image, 0x3C)[0] + 4
        sections, = struct.unpack_from("<H", image, header + 2)
        symbols, count = struct.unpack_from("<II", image, header + 8)
        optional, = struct.unpack_from("<H", image, header + 16)
        table = header + 20 + optional
        names = [image[table + 40 * i:table + 40 * i + 8].rstrip(b"\0")
                 for i in range(sections)]
        if symbols or count or any(n.startswith(b"/") or n.startswith(b".debug")
                                   for n in names):
            sys.exit("dist_test: %s is not stripped (%d symbols)" % (exe, count))
    z.extractall(dest)
PY
export WINEDEBUG=-all
# Every wine process of the run sees the same display, on a server of its
# own: one started without it leaves the prefix's desktop process where no
# window can show.
timeout 90 xvfb-run -a sh -eu -c '
  wine=$1 unpacked=$2 version=$3 work=$4
  ws=$(command -v wineserver || echo /usr/lib/wine/wineserver)
  . "$5"
  own_server "$ws"
  trap "end_own_server \"$wine\" \"$ws\"" EXIT
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
' sh "$wine" "$unpacked" "$version" "$work" \
  "$(dirname "$0")/../../app/win32/wine_lib.sh"
echo "dist_test: $(basename "$zip"): both programs start"
