#!/bin/sh
# Start-up of qilo.exe under wine against its floor, a bare Win32 window of
# the same size with one Chinese label (bench/bare_win32_window.exe): the
# time from the exec of wine to the first painted frame, on a virtual X
# server, with one wine prefix whose server and system processes are kept
# running, so that every run starts as a program does on a running desktop.
# Each program runs once unmeasured (qilo.exe writes its settings file then),
# then RUNS times (default 15), the programs alternating. A run that fails or
# reports no frame fails the benchmark. CONTROLS_EXE, if given, is timed
# alike and reported on stderr: a window with qilo.exe's child windows and
# nothing of its own (bench/controls_win32_window.exe), what any Win32
# program with those controls pays.
# Prints one row for `make bench` on stdout:
#   ROW|figure|qilo median|floor median|unit|goal ratio|qilo min|qilo max|floor
# and the samples and the ratios on stderr.
# Usage: bench/wine_startup_bench.sh QILO_EXE BARE_EXE [CONTROLS_EXE]
#   WINE, WINESERVER: the programs (default Debian's wine64 and wineserver);
#   WINEPREFIX: the prefix to use (default a new one, removed afterwards);
#   CPU: the one CPU everything runs on (default 0), or all.
set -eu
if [ "${1:-}" = --measure ]; then
  runs=$2 work=$3
  shift 3
  probe_unix=$work/probe.txt
  probe=$(echo "$probe_unix" | sed "s|^|Z:|; s|/|\\\\|g")
  export QILO_STARTUP_PROBE="$probe"
  # One run: microseconds from the exec of wine to the first frame.
  sample() {
    rm -f "$probe_unix"
    start=$(date +%s%N)
    if ! timeout 60 "$WINE" "$1" >/dev/null 2>&1 9>&-; then
      echo "wine_startup_bench: $1 failed" >&2
      return 1
    fi
    frame=$(sed -n 's/^first_frame_ns=\([0-9]*\).*/\1/p' "$probe_unix" 2>/dev/null)
    if [ -z "$frame" ]; then
      echo "wine_startup_bench: $1 reported no first frame" >&2
      return 1
    fi
    echo "$(((frame - start) / 1000))"
  }
  # The server, the desktop and the services stay up between runs: a wine
  # process that waits for input on a pipe held open here keeps them, as a
  # running session would.
  "$WINESERVER" -p
  mkfifo "$work/hold"
  "$WINE" cmd /c pause <"$work/hold" >/dev/null 2>&1 &
  holder=$!
  exec 9>"$work/hold"
  status=0
  for exe in "$@"; do sample "$exe" >/dev/null || status=1; done
  i=0
  while [ "$status" -eq 0 ] && [ "$i" -lt "$runs" ]; do
    line=""
    for exe in "$@"; do
      t=$(sample "$exe") || { status=1; break; }
      line="$line $t"
    done
    [ "$status" -eq 0 ] && echo "$line"
    i=$((i + 1))
  done
  kill "$holder" 2>/dev/null || true
  exec 9>&-
  "$WINESERVER" -k 2>/dev/null || true
  exit "$status"
fi

usage="usage: wine_startup_bench.sh QILO_EXE BARE_EXE [CONTROLS_EXE]"
qilo=${1:?$usage}
bare=${2:?$usage}
controls=${3:-}
runs=${RUNS:-15}
# Debian's /usr/bin/wine is a shell script in front of wine64: it is left
# out of the time where wine64 itself can be found.
[ -n "${WINE:-}" ] || WINE=$(ls /usr/lib/wine/wine64 2>/dev/null || command -v wine64 || command -v wine)
[ -n "${WINESERVER:-}" ] || WINESERVER=$(ls /usr/lib/wine/wineserver 2>/dev/null || command -v wineserver)
export WINE WINESERVER WINEDEBUG=-all
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX="$work/prefix"
  "$WINE" wineboot --init >/dev/null 2>&1
  "$WINESERVER" -w
fi
# A Chinese Windows' fonts, and no wait for a window manager that Xvfb lacks
# (all programs alike).
sh "$here/../app/win32/link_cjk_fonts.sh" "$WINE"
for exe in "$qilo" "$bare" $controls; do
  "$WINE" reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$exe")\\X11 Driver" \
    /v Managed /d N /f >/dev/null 2>&1
done
"$WINESERVER" -w
# A program starting under wine makes thousands of round trips to the wine
# server and the X server. Spread over CPUs, each can wait for an idle CPU to
# wake, which in a virtual machine costs far more than on a desktop and
# varies with what else runs (3-4 times the start-up on this project's
# machines): the X server, wine and the programs share one CPU, CPU (default
# 0), unless CPU=all.
pin=""
if [ "${CPU:-0}" != all ] && command -v taskset >/dev/null; then
  pin="taskset -c ${CPU:-0}"
fi
samples=$($pin xvfb-run -a -s '-screen 0 1024x768x24' \
  sh "$0" --measure "$runs" "$work" "$qilo" "$bare" $controls) || exit 1
[ "$(echo "$samples" | wc -l)" -eq "$runs" ] || {
  echo "wine_startup_bench: $(echo "$samples" | wc -l) of $runs runs" >&2
  exit 1
}
echo "$samples" | awk -v q="$(basename "$qilo")" -v c="$(basename "${controls:-none}")" '{
  printf "run %2d: %s %.1f ms, bare %.1f ms", NR, q, $1 / 1000, $2 / 1000
  if (NF > 2) printf ", %s %.1f ms", c, $3 / 1000
  printf "\n" }' >&2
median() { awk -v c="$1" '{ print $c }' | sort -n | awk '{ v[NR] = $1 } END {
  print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
q=$(echo "$samples" | median 1)
b=$(echo "$samples" | median 2)
lo=$(echo "$samples" | awk '{ print $1 }' | sort -n | head -1)
hi=$(echo "$samples" | awk '{ print $1 }' | sort -n | tail -1)
if [ -n "$controls" ]; then
  c=$(echo "$samples" | median 3)
  awk -v c="$c" -v b="$b" -v q="$q" -v name="$(basename "$controls")" 'BEGIN {
    printf "%s %.1f ms: %.2f times the bare window; qilo.exe %.2f times it\n",
           name, c / 1000, c / b, q / c > "/dev/stderr" }'
fi
awk -v q="$q" -v b="$b" -v lo="$lo" -v hi="$hi" -v n="$runs" -v name="$(basename "$qilo")" 'BEGIN {
  printf "%s %.1f ms, bare window %.1f ms, ratio %.2f (goal 1.3), %s %.1f-%.1f ms, %d runs each\n",
         name, q / 1000, b / 1000, q / b, name, lo / 1000, hi / 1000, n > "/dev/stderr"
  printf "ROW|qilo.exe under wine, exec to first frame|%.1f|%.1f|ms|1.3|%.1f|%.1f|bare Win32 window\n",
         q / 1000, b / 1000, lo / 1000, hi / 1000 }'
