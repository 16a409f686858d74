#!/usr/bin/env python3
"""The micro-benchmarks as rows of the bench table: each of Qilo's functions
against the library call or file read it is measured against. The two run
in one qilo_bench invocation with their repetitions interleaved at random;
a row gives the medians, the ratio's goal and Qilo's spread.
Usage: bench/micro_bench.py QILO_BENCH [REPETITIONS]"""
import json
import statistics
import subprocess
import sys

# figure, Qilo's benchmark, the floor's, the floor's name, the ratio's goal
PAIRS = [
    ("TextToNumber, one text", "BM_TextToNumber", "BM_Strtold", "strtold", 1.0),
    ("FormatFixed, two places", "BM_FormatFixed2", "BM_SnprintfLf2",
     "snprintf %.2Lf", 1.0),
    ("links load, a full qiloinfo.ini", "BM_LoadLinkTable",
     "BM_ReadLinksFileOnce", "one read of the file", 3.0),
    ("limits, one computation", "BM_Limits", "BM_FeesCall",
     "one fees computation", 2.0),
    ("average, two orders", "BM_Average", "BM_FeesCall",
     "one fees computation", 2.0),
    ("t, selling first", "BM_DayTrade", "BM_FeesCall",
     "one fees computation", 2.0),
    # A floor given as a number is a budget in nanoseconds.
    ("buy-count solver, worst case found", "BM_BuyCountWorstCase",
     1e6, "1 ms", 1.0),
]


def main():
    binary = sys.argv[1]
    repetitions = sys.argv[2] if len(sys.argv) > 2 else "9"
    names = [n for _, q, f, _, _ in PAIRS for n in (q, f)
             if isinstance(n, str)]
    run = subprocess.run(
        [binary, "--benchmark_filter=^(%s)$" % "|".join(names),
         "--benchmark_repetitions=" + repetitions,
         "--benchmark_enable_random_interleaving=true",
         "--benchmark_format=json"],
        capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit("micro_bench: %s failed: %s" % (binary, run.stderr.strip()))
    times = {}
    for b in json.loads(run.stdout)["benchmarks"]:
        if b.get("run_type") == "iteration":
            times.setdefault(b["name"], []).append(b["real_time"])
    for figure, qilo, floor, floor_name, goal in PAIRS:
        f = [floor] if not isinstance(floor, str) else times.get(floor)
        if qilo not in times or not f:
            sys.exit("micro_bench: no result for %s or %s" % (qilo, floor))
        q = times[qilo]
        print("ROW|%s|%.1f|%.1f|ns|%.1f|%.1f|%.1f|%s" % (
            figure, statistics.median(q), statistics.median(f), goal, min(q),
            max(q), floor_name))


main()
