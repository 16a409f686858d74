#!/bin/sh
# Start-up of the Qilo window against its floor, a bare Qt Widgets window of
# the same size (bench/bare_qt_window): the time from starting each program
# to its first painted frame, on Qt's offscreen platform and on an X server
# (Xvfb), and the resident memory at that frame. Runs alternate between the
# two programs; it prints rows of the bench table (bench/table.sh): medians
# and Qilo's spread (min-max). The programs report their first frame
# themselves when QILO_STARTUP_PROBE is set; a run that reports none fails the
# benchmark. FONTS_WINDOW, if given, is timed alike and reported on stderr:
# the bare window with a label in each font of Qilo's first frame
# (bench/fonts_qt_window), what loading those fonts costs any Qt program.
# Usage: bench/startup_bench.sh QILO BARE_WINDOW [FONTS_WINDOW]  (RUNS=n, 15)
set -eu
if [ "${1:-}" = --measure ]; then
  platform=$2 runs=$3 qilo=$4 bare=$5 fonts=${6:-}
  # One run: microseconds from the start to the first frame, and the memory.
  # The environment is set once, so nothing else is started before the clock.
  sample() {
    start=$(date +%s%N)
    out=$("$1" 2>/dev/null) || { echo "startup_bench: $1 failed" >&2; return 1; }
    frame=$(echo "$out" | sed -n 's/.*first_frame_ns=\([0-9]*\).*/\1/p')
    rss=$(echo "$out" | sed -n 's/.*rss_kb=\([0-9]*\).*/\1/p')
    if [ -z "$frame" ] || [ -z "$rss" ]; then
      echo "startup_bench: $1 reported no first frame" >&2
      return 1
    fi
    echo "$(((frame - start) / 1000)) $rss"
  }
  export QT_QPA_PLATFORM=$platform QILO_STARTUP_PROBE=1
  # The first start writes the settings file; later ones read it, as a
  # user's do.
  sample "$qilo" >/dev/null
  i=0
  while [ "$i" -lt "$runs" ]; do
    q=$(sample "$qilo") || exit 1
    b=$(sample "$bare") || exit 1
    f=""
    if [ -n "$fonts" ]; then f=$(sample "$fonts") || exit 1; fi
    echo "$q $b $f"
    i=$((i + 1))
  done
  exit 0
fi

usage="usage: startup_bench.sh QILO BARE_WINDOW [FONTS_WINDOW]"
qilo=${1:?$usage}
bare=${2:?$usage}
fonts=${3:-}
runs=${RUNS:-15}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT INT TERM
export HOME="$home"
unset HOMEDRIVE HOMEPATH
offscreen=$(sh "$0" --measure offscreen "$runs" "$qilo" "$bare" "$fonts")
x=$(xvfb-run -a -s '-screen 0 1024x768x24' \
  sh "$0" --measure xcb "$runs" "$qilo" "$bare" "$fonts")

# Median of column $1 of the lines on stdin, and its min and max.
stats() { awk -v c="$1" '{ print $c }' | sort -n | awk '
  { v[NR] = $1 } END { printf "%s %s %s\n", v[int((NR + 1) / 2)], v[1], v[NR] }'; }
# A row of the bench table (bench/table.sh): figure, samples, Qilo's
# column, the floor's, divisor, unit, goal.
row() {
  q=$(echo "$2" | stats "$3")
  f=$(echo "$2" | stats "$4")
  echo "$q|$f" | awk -F'|' -v figure="$1" -v d="$5" -v unit="$6" -v goal="$7" '{
    split($1, q, " "); split($2, f, " ")
    printf "ROW|%s|%.1f|%.1f|%s|%s|%.1f|%.1f|bare Qt window\n", figure,
           q[1] / d, f[1] / d, unit, goal, q[2] / d, q[3] / d }'
}
row "Qt window, exec to first frame, offscreen" "$offscreen" 1 3 1000 ms 1.2
row "the same on an X server" "$x" 1 3 1000 ms 1.2
row "resident memory at first frame, X" "$x" 2 4 1024 MB 1.1
if [ -n "$fonts" ]; then
  # Qilo against the window with its fonts alone, on stderr.
  for platform in offscreen x; do
    eval "samples=\$$platform"
    q=$(echo "$samples" | stats 1)
    f=$(echo "$samples" | stats 5)
    echo "$q|$f" | awk -F'|' -v p="$platform" '{ split($1, q, " ");
      split($2, f, " "); printf "%s: fonts window %.1f ms, qilo %.2f times it\n",
      p, f[1] / 1000, q[1] / f[1] }' >&2
  done
  q=$(echo "$x" | stats 2)
  f=$(echo "$x" | stats 6)
  echo "$q|$f" | awk -F'|' '{ split($1, q, " "); split($2, f, " ")
    printf "x: fonts window %.1f MB at its first frame, qilo %.2f times it\n",
      f[1] / 1024, q[1] / f[1] }' >&2
fi
