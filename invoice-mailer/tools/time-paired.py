#!/usr/bin/python3
"""Times two commands as whole processes in paired, interleaved runs.

Each round runs both commands once, the order alternating from round to
round, so load that comes and goes falls on both alike. Standard output
goes to /dev/null. Prints, for each side, the median and the spread
(lowest to highest) of the elapsed time and of the CPU time (user and
system), then the ratio of ours to the peer: of the medians, and the
spread of the ratios within the pairs; and each side's median count of
page faults. Last comes the row in the benchmarks' shared format
(scripts/bench_row.py) for the CPU time, or the elapsed time with
--row elapsed, with the target ratio given by --target.

Usage: time-paired.py --runs N --label TEXT [--peer-name NAME] [--target R]
                      [--row cpu|elapsed] -- OURS... -- PEER...
"""
import argparse
import os
import resource
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import bench_row  # noqa: E402  (the benchmarks' shared row format)


def run_once(command):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
    elapsed = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    faults = after.ru_minflt - before.ru_minflt
    return elapsed * 1000.0, cpu * 1000.0, faults


def spread(values):
    return "%.1f-%.1f" % (min(values), max(values))


def main():
    arguments = sys.argv[1:]
    if arguments.count("--") != 2:
        print(__doc__, file=sys.stderr)
        return 2
    first = arguments.index("--")
    second = arguments.index("--", first + 1)
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--label", required=True)
    parser.add_argument("--peer-name", default="peer")
    parser.add_argument("--target", type=float)
    parser.add_argument("--row", choices=("cpu", "elapsed"), default="cpu")
    options = parser.parse_args(arguments[:first])
    ours, peer = arguments[first + 1:second], arguments[second + 1:]
    # One run each first, untimed: the file in the page cache, the programs
    # loaded once.
    run_once(ours)
    run_once(peer)
    times = {"ours": [], "peer": []}
    for round_number in range(options.runs):
        order = [("ours", ours), ("peer", peer)]
        if round_number % 2:
            order.reverse()
        for side, command in order:
            times[side].append(run_once(command))
    print("== %s (%d paired runs, whole processes)" % (options.label, options.runs))
    for index, measure in enumerate(("elapsed", "CPU")):
        ours_values = [t[index] for t in times["ours"]]
        peer_values = [t[index] for t in times["peer"]]
        ratios = [o / p for o, p in zip(ours_values, peer_values) if p > 0]
        print("  %-8s ours %7.1f ms (%s)   %s %7.1f ms (%s)   ratio %.2fx (pairs %s)" % (
            measure, statistics.median(ours_values), spread(ours_values), options.peer_name,
            statistics.median(peer_values), spread(peer_values),
            statistics.median(ours_values) / statistics.median(peer_values),
            "%.2f-%.2f" % (min(ratios), max(ratios)) if ratios else "-"))
    # Page faults: first touches of memory new to the process, which on a
    # virtual machine can cost more than the work itself.
    print("  %-8s ours %7d        %s %7d" % (
        "faults", statistics.median(t[2] for t in times["ours"]), options.peer_name,
        statistics.median(t[2] for t in times["peer"])))
    index = 1 if options.row == "cpu" else 0
    print(bench_row.HEADER)
    bench_row.row("%s, %s" % (options.label, "CPU" if index else "elapsed"), "ms",
                  [t[index] for t in times["ours"]], options.peer_name,
                  [t[index] for t in times["peer"]], options.target)
    return 0


if __name__ == "__main__":
    sys.exit(main())
