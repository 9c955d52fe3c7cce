#!/usr/bin/env python3
"""bench/pair-ratios.py JSON ROW...: ratios of benchmark pairs from one Google Benchmark JSON file.

Each repetition of a benchmark program run with --benchmark_repetitions=N gives one figure per benchmark; the
same repetition of two benchmarks is a pair, measured in the same run under the same conditions. For each ROW,
"label|subject|floor|limit", prints a table row: the medians of the two, the median of the pair ratios
subject / floor with their range, and whether the ratio meets the limit. A limit is "<=X" (the median ratio at
most X), "within:P" (the median ratio between 1 - P and 1 + P) or "-" (no target). A missing or failed benchmark
gives "missing" rather than a figure. A subject or floor "A - B" is the difference of two benchmarks in the same
repetition (what B's work adds to A's, as what a filled month adds to an empty one).
"""
import json
import statistics
import sys


def repetitions(runs, name):
    """The real times of the individual repetitions of one benchmark, by repetition index, in milliseconds."""
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
    times = {}
    for run in runs:
        if run.get("run_name") == name and run.get("run_type") == "iteration" and not run.get("error_occurred"):
            times[run.get("repetition_index", 0)] = run["real_time"] * scale[run.get("time_unit", "ns")]
    return times


def figures(runs, name):
    """One benchmark's repetitions, or the repetition-wise difference for "A - B"."""
    if " - " not in name:
        return repetitions(runs, name)
    minuend, subtrahend = (repetitions(runs, part.strip()) for part in name.split(" - ", 1))
    return {i: minuend[i] - subtrahend[i] for i in set(minuend) & set(subtrahend)}


def verdict(ratio, limit):
    if limit == "-":
        return "—"
    if limit.startswith("<="):
        return "yes" if ratio <= float(limit[2:]) else "no"
    if limit.startswith("within:"):
        share = float(limit[7:])
        return "yes" if 1 - share <= ratio <= 1 + share else "no"
    raise SystemExit(f"pair-ratios: unknown limit {limit!r}")


def target(limit):
    if limit == "-":
        return "—"
    if limit.startswith("<="):
        return f"≤ {limit[2:]}×"
    return f"within {round(float(limit[7:]) * 100)}%"


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    try:
        with open(sys.argv[1], encoding="utf-8") as source:
            runs = json.load(source).get("benchmarks", [])
    except (OSError, ValueError):
        runs = []
    for row in sys.argv[2:]:
        label, subject, floor, limit = row.split("|")
        a, b = figures(runs, subject), figures(runs, floor)
        pairs = sorted(set(a) & set(b))
        if not pairs:
            print(f"| {label} | missing | missing | missing | {target(limit)} | — |")
            continue
        # A difference can come out at or below zero on a noisy run: no ratio of it.
        pairs = [i for i in pairs if b[i] > 0]
        if not pairs:
            print(f"| {label} | — | — | no positive floor | {target(limit)} | — |")
            continue
        ratios = [a[i] / b[i] for i in pairs]
        ratio = statistics.median(ratios)
        print(f"| {label} | {statistics.median(a[i] for i in pairs):.3g} ms | {statistics.median(b[i] for i in pairs):.3g} ms"
              f" | {ratio:.2f}× ({min(ratios):.2f}–{max(ratios):.2f}, {len(pairs)} pairs) | {target(limit)}"
              f" | {verdict(ratio, limit)} |")


if __name__ == "__main__":
    main()
