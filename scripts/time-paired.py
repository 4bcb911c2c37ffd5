#!/usr/bin/python3
"""Times two commands as whole processes in paired, interleaved runs.

Each round runs both commands once, the order alternating from round to
round, so load that comes and goes falls on both alike. Where standard
output goes is part of the work, and the same for both sides (--sink):
a pipe that this script drains (the default), a file that each run
truncates, or /dev/null. Prints, for each side, the median and the
spread (lowest to highest) of the elapsed time and of the CPU time (user
and system), then the ratio of ours to the peer: of the medians, and the
spread of the ratios within the pairs; and each side's median count of
page faults. Last comes the row in the benchmarks' shared format
(scripts/bench_row.py) for the CPU time, or the elapsed time with
--row elapsed, with the target ratio given by --target; --no-record keeps
it out of the closing summary. A command that fails ends the script with
an error: a failed run is never a figure beside the peer's.

Usage: time-paired.py --runs N --label TEXT [--peer-name NAME] [--target R]
                      [--row cpu|elapsed] [--sink pipe|file|null] [--no-record]
                      -- OURS... -- PEER...
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bench_row  # noqa: E402  (the benchmarks' shared row format)

SINK_NAMES = {"pipe": "into a pipe", "file": "into a file", "null": "into /dev/null"}


def drain(pipe):
    while os.read(pipe, 1 << 20):
        pass


def run_once(command, sink, scratch):
    """Elapsed ms, CPU ms and minor page faults of one whole run. Its
    standard error is kept apart and shown only when the run fails."""
    with open(scratch + ".err", "wb") as errors:
        start = time.perf_counter()
        if sink == "pipe":
            child = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=errors)
            drain(child.stdout.fileno())
            child.stdout.close()
        elif sink == "file":
            with open(scratch, "wb") as out:
                child = subprocess.Popen(command, stdout=out, stderr=errors)
        else:
            child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=errors)
        _, status, usage = os.wait4(child.pid, 0)
        elapsed = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    if code != 0:
        with open(scratch + ".err", "rb") as errors:
            sys.stderr.write(errors.read()[-2000:].decode("latin-1"))
        sys.exit("time-paired: %s failed with status %d" % (" ".join(command), code))
    cpu = usage.ru_utime + usage.ru_stime
    return elapsed * 1000.0, cpu * 1000.0, usage.ru_minflt


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
    parser.add_argument("--sink", choices=tuple(SINK_NAMES), default="pipe")
    parser.add_argument("--no-record", dest="record", action="store_false")
    options = parser.parse_args(arguments[:first])
    ours, peer = arguments[first + 1:second], arguments[second + 1:]
    for command in (ours, peer):
        if shutil.which(command[0]) is None:
            sys.exit("time-paired: %s: no such program" % command[0])
    with tempfile.TemporaryDirectory() as scratch_dir:
        scratch = os.path.join(scratch_dir, "output")
        # One run each first, untimed: the input in the page cache, the
        # programs loaded once.
        run_once(ours, options.sink, scratch)
        run_once(peer, options.sink, scratch)
        times = {"ours": [], "peer": []}
        for round_number in range(options.runs):
            order = [("ours", ours), ("peer", peer)]
            if round_number % 2:
                order.reverse()
            for side, command in order:
                times[side].append(run_once(command, options.sink, scratch))
    label = "%s, %s" % (options.label, SINK_NAMES[options.sink])
    print("== %s (%d paired runs, whole processes)" % (label, options.runs))
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
    bench_row.row("%s, %s" % (label, "CPU" if index else "elapsed"), "ms",
                  [t[index] for t in times["ours"]], options.peer_name,
                  [t[index] for t in times["peer"]], options.target, record=options.record)
    return 0


if __name__ == "__main__":
    sys.exit(main())
