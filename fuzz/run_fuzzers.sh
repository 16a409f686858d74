#!/bin/sh
# Runs every fuzzer for SECONDS on a copy of its seed corpus, JOBS at a time
# (default: one per core), and prints a table: harness, executions, coverage,
# findings. Exit 1 when any harness found something (its inputs are kept under
# BUILD_DIR/findings/). FUZZERS (names, blank-separated) runs only those.
# Usage: run_fuzzers.sh SECONDS BUILD_DIR [JOBS]
set -u
seconds=$1
build=$2
jobs=${3:-$(nproc 2>/dev/null || echo 1)}
here=$(cd "$(dirname "$0")" && pwd)
# Paired so that each slow harness shares the machine with a fast one.
harnesses=${FUZZERS:-tools_fuzz number_fuzz statement_fuzz link_feed_fuzz trade_inputs_fuzz gbk_fuzz ini_fuzz url_fuzz http_fuzz}

run_one() {
  name=$1
  corpus=$build/corpus/$name
  mkdir -p "$corpus" "$build/findings/$name"
  cp "$here/corpus/$name"/* "$corpus"/ 2>/dev/null || true
  # A trade input is a field's text: a few dozen bytes, not pages.
  case $name in
    trade_inputs_fuzz) limits=-max_len=64 ;;
    *) limits= ;;
  esac
  "$build/fuzz/$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 $limits \
    -print_final_stats=1 -artifact_prefix="$build/findings/$name/" "$corpus" \
    > "$build/$name.log" 2>&1
}

running=0
for name in $harnesses; do
  rm -f "$build/findings/$name"/* 2>/dev/null
  run_one "$name" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait
    running=0
  fi
done
wait

found_any=0
printf '%-16s %14s %10s %9s\n' harness executions coverage findings
for name in $harnesses; do
  log=$build/$name.log
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  count=$(ls "$build/findings/$name" | wc -l)
  [ "$count" -gt 0 ] && found_any=1
  printf '%-16s %14s %10s %9s\n' "$name" "${runs:-?}" "${cov:-?}" "$count"
done
[ "$found_any" -eq 0 ] || echo "findings: see $build/findings/ and the *.log files" >&2
exit "$found_any"
