#!/usr/bin/python3
"""One benchmark row in the format every benchmark prints: the work, ours
and the peer as the median [lowest..highest] over paired runs, and the ratio
of ours to the peer as the median [lowest..highest] of the pairs' ratios.

A row with a target (the highest ratio that meets it) ends with "met" or
"MISSED". When BENCH_SUMMARY names a file, the row is appended to it as
well, for scripts/bench.sh's closing summary.

As a module: row(work, unit, ours, peer_name, peer, target=None, note="",
record=True); HEADER is the column header.
From the shell:
  bench_row.py --work TEXT --unit UNIT --peer NAME [--target R] [--note TEXT]
               --ours V,V,... --theirs V,V,...
"""
import argparse
import os
import statistics
import sys

HEADER = "%-42s %-26s %-40s %-22s %s" % ("work", "ours", "peer", "ratio (pairs)", "target")


def spread(values, unit):
    """median [lowest..highest] with the unit, to three significant places."""
    def number(v):
        return "%.3g" % v if abs(v) < 100 else "%.0f" % v
    return "%s [%s..%s] %s" % (number(statistics.median(values)), number(min(values)),
                               number(max(values)), unit)


def row(work, unit, ours, peer_name, peer, target=None, note="", record=True):
    """Prints the row (and, with record, appends it to BENCH_SUMMARY);
    returns whether the target is met (True without one)."""
    if len(ours) != len(peer) or not ours:
        raise ValueError("%s: %d runs of ours, %d of the peer" % (work, len(ours), len(peer)))
    ratios = [o / p for o, p in zip(ours, peer) if p > 0]
    ratio = statistics.median(ratios) if ratios else float("inf")
    places = 2 if not ratios or min(ratios) >= 0.1 else 3
    ratio_text = ("%.*fx [%.*f..%.*f]" % (places, ratio, places, min(ratios), places, max(ratios))
                  if ratios else "-")
    met = target is None or ratio <= target
    verdict = "" if target is None else "<= %.1fx %s" % (target, "met" if met else "MISSED")
    line = "%-42s %-26s %-40s %-22s %s" % (work, spread(ours, unit),
                                            "%s %s" % (peer_name, spread(peer, unit)), ratio_text,
                                            verdict)
    line = line.rstrip()
    if note:
        line += "  (" + note + ")"
    print(line, flush=True)
    summary = os.environ.get("BENCH_SUMMARY")
    if summary and record:
        with open(summary, "a") as f:
            f.write(line + "\n")
    return met


def floats(text):
    return [float(v) for v in text.split(",") if v]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--work", required=True)
    parser.add_argument("--unit", required=True)
    parser.add_argument("--peer", required=True)
    parser.add_argument("--ours", required=True, type=floats)
    parser.add_argument("--theirs", required=True, type=floats)
    parser.add_argument("--target", type=float)
    parser.add_argument("--note", default="")
    parser.add_argument("--header", action="store_true", help="print the column header first")
    options = parser.parse_args()
    if options.header:
        print(HEADER)
    row(options.work, options.unit, options.ours, options.peer, options.theirs, options.target,
        options.note)
    return 0


if __name__ == "__main__":
    sys.exit(main())
