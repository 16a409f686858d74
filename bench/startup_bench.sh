#!/bin/sh
# Start-up of the Qilo window: wall-clock time from launching the program to
# its first painted frame on Qt's offscreen platform, and its resident memory
# (VmRSS) at that moment. The program reports both itself when
# QILO_STARTUP_PROBE is set, then ends.
# Usage: bench/startup_bench.sh [QILO_BINARY]   (RUNS=n, default 15)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
qilo=${1:-}
if [ -z "$qilo" ]; then
  for candidate in "$root/build-release/qilo" "$root/build/qilo"; do
    if [ -x "$candidate" ]; then
      qilo=$candidate
      break
    fi
  done
fi
if [ -z "$qilo" ] || [ ! -x "$qilo" ]; then
  echo "startup_bench: no qilo binary (build build-release/qilo or build/qilo first)" >&2
  exit 1
fi
runs=${RUNS:-15}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT INT TERM

probe() {
  env -u HOMEDRIVE -u HOMEPATH HOME="$home" QT_QPA_PLATFORM=offscreen \
    QILO_STARTUP_PROBE=1 "$qilo" 2>/dev/null
}

# The first start writes the settings file; later starts read it, as a user's do.
probe >/dev/null
results=$(
  i=0
  while [ "$i" -lt "$runs" ]; do
    start=$(date +%s%N)
    out=$(probe)
    frame=$(echo "$out" | sed -n 's/.*first_frame_ns=\([0-9]*\).*/\1/p')
    rss=$(echo "$out" | sed -n 's/.*rss_kb=\([0-9]*\).*/\1/p')
    if [ -z "$frame" ] || [ -z "$rss" ]; then
      echo "startup_bench: $qilo printed no probe line" >&2
      exit 1
    fi
    echo "$(((frame - start) / 1000)) $rss"
    i=$((i + 1))
  done
)
echo "$results" | sort -n | awk -v bin="$qilo" '
  { us[NR] = $1; rss[NR] = $2 }
  END {
    n = NR; mid = int((n + 1) / 2)
    printf "qilo start-up to first frame (%s, offscreen, %d runs): median %.1f ms, min %.1f ms, max %.1f ms\n",
           bin, n, us[mid] / 1000, us[1] / 1000, us[n] / 1000
    # The memory of the median run.
    printf "qilo resident memory after start-up (VmRSS): %.1f MB\n", rss[mid] / 1024
  }'
