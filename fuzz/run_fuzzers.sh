#!/bin/sh
# Runs every fuzzer for SECONDS on a copy of its seed corpus and prints a
# table: harness, executions, coverage, findings. Exit 1 when any harness
# found something (its inputs are kept under BUILD_DIR/findings/).
# Usage: run_fuzzers.sh SECONDS BUILD_DIR
set -u
seconds=$1
build=$2
here=$(cd "$(dirname "$0")" && pwd)
found_any=0
printf '%-16s %14s %10s %9s\n' harness executions coverage findings
for name in number_fuzz gbk_fuzz url_fuzz ini_fuzz link_feed_fuzz http_fuzz; do
  corpus=$build/corpus/$name
  findings=$build/findings/$name
  mkdir -p "$corpus" "$findings"
  cp "$here/corpus/$name"/* "$corpus"/ 2>/dev/null || true
  log=$build/$name.log
  "$build/fuzz/$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" > "$log" 2>&1
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  count=$(ls "$findings" | wc -l)
  [ "$count" -gt 0 ] && found_any=1
  printf '%-16s %14s %10s %9s\n' "$name" "${runs:-?}" "${cov:-?}" "$count"
done
[ "$found_any" -eq 0 ] || echo "findings: see $build/findings/ and the *.log files" >&2
exit "$found_any"
