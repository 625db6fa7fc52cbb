#!/usr/bin/env python3
"""Prints the table of scripts/bench_window.sh from its results file: per
size and disk, the medians of each work's seconds with their range, and the
ratios taken round by round (program / cp -r + sync, program / script), and
the program's peak resident memory.

    window_table.py RESULTS TEMPERATURE
"""
import collections
import statistics
import sys


def spread(values):
    if not values:
        return "-"
    return f"{statistics.median(values):.3f} [{min(values):.3f}-{max(values):.3f}]"


def main():
    runs = collections.defaultdict(list)
    peaks = collections.defaultdict(list)
    for line in open(sys.argv[1]):
        size, busy, work, seconds, *rest = line.split()
        runs[(int(size), busy, work)].append(float(seconds))
        if rest:
            peaks[int(size)].append(int(rest[0]))
    sizes = sorted({key[0] for key in runs})
    print(f"\nThe batch through its real window ({sys.argv[2]} cache), "
          f"{len(runs[(sizes[0], '0', 'cp')])} rounds: medians [min-max]; ratios per round")
    print(f"{'materials':>9} {'disk':>5} {'cp -r + sync s':>22} {'program s':>22} "
          f"{'script s':>22} {'program/cp':>20} {'script/program':>20}")
    for size in sizes:
        for busy in ("0", "1"):
            cp, program, script = (runs[(size, busy, w)] for w in ("cp", "program", "script"))
            if not cp:
                continue
            ratio = [p / c for p, c in zip(program, cp)]
            faster = [s / p for s, p in zip(script, program)]
            print(f"{size:>9} {'busy' if busy == '1' else 'quiet':>5} {spread(cp):>22} "
                  f"{spread(program):>22} {spread(script):>22} {spread(ratio):>20} "
                  f"{spread(faster):>20}")
    for size in sizes:
        if peaks[size]:
            print(f"peak RSS of the program at {size}: median {statistics.median(peaks[size]) / 1024:.0f}"
                  f" MB, highest {max(peaks[size]) / 1024:.0f} MB")


if __name__ == "__main__":
    main()
