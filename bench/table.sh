#!/bin/sh
# Prints the rows the benchmarks wrote (lines "ROW|figure|qilo|floor|unit|
# goal|qilo min|qilo max|floor name", on stdin) as one table: each figure
# against its floor, the ratio, its goal and whether it is met, and Qilo's
# spread over its runs.
awk -F'|' '
  $1 == "ROW" {
    ratio = $4 > 0 ? $3 / $4 : 0
    met = ratio <= $6 ? "yes" : "NO"
    printf "%-42s %10.1f %10.1f %-3s %6.2f %5.2f %-4s %s-%s  %s\n", $2, $3, $4,
           $5, ratio, $6, met, $7, $8, $9
    rows++
  }
  BEGIN {
    printf "%-42s %10s %10s %-3s %6s %5s %-4s %s  %s\n", "figure", "qilo",
           "floor", "", "ratio", "goal", "met", "qilo spread", "floor"
  }
  END { if (rows == 0) { print "bench: no results" > "/dev/stderr"; exit 1 } }'
