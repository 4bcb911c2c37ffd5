#!/usr/bin/env python3
"""The semiconductor benchmark's paired rounds: our program (semi-bench, or
qorsim-bench under Wine) and ngspice on the netlists it wrote, taking turns
going first, ROUNDS times; then one row per circuit in the benchmarks'
shared format (scripts/bench_row.py) for our whole solve (matrix made,
devices set up, start pass and Newton) beside ngspice's whole op, and one
unrecorded row for our Newton passes alone.

ngspice's analysis time has a 1 ms resolution, longer than one op takes,
so each of its runs does REPEATS ops and the time per op is taken
(compare-ngspice.py --repeat). The first round also compares every node
with ngspice; a circuit that disagrees, does not converge or reports no
time is a failure, never a figure beside the peer's.

    bench-rounds.py --label SHORT --work DIR [--rounds N] [--repeat N] -- PROGRAM...
"""
import argparse
import collections
import os
import re
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "..", "scripts"))
import bench_row  # noqa: E402  (the benchmarks' shared row format)

COMPARE = os.path.join(here, "compare-ngspice.py")
# semi-bench: "<title>: N nodes" then "  ours: X ms Newton (...), Y ms with matrix set-up";
# qorsim-bench: "<title>: N parts" then "  QorSim: Y ms solve (...)" and the phases with
# "newton X ms".
TITLE = re.compile(r"^(\S.*): \d+ (?:nodes|parts)$")
NATIVE = re.compile(r"^  ours: ([0-9.]+) ms Newton \(\d+ passes, converged\), ([0-9.]+) ms with matrix")
QORSIM = re.compile(r"^  QorSim: ([0-9.]+) ms solve \(\d+ passes, converged\)")
PHASE_NEWTON = re.compile(r"\bnewton ([0-9.]+) ms")


def our_times(output):
    """{title: (whole ms, Newton ms or None)} of the circuits that converged."""
    times, title = {}, None
    for line in output.splitlines():
        line = line.rstrip("\r")
        match = TITLE.match(line)
        if match:
            title = match.group(1)
            continue
        if title is None:
            continue
        native = NATIVE.match(line)
        if native:
            times[title] = (float(native.group(2)), float(native.group(1)))
            continue
        qorsim = QORSIM.match(line)
        if qorsim:
            times[title] = (float(qorsim.group(1)), None)
            continue
        newton = PHASE_NEWTON.search(line)
        if newton and title in times and times[title][1] is None:
            times[title] = (times[title][0], float(newton.group(1)))
    return times


def peer_times(work, repeat, compare_values):
    arguments = [sys.executable, COMPARE, work, "--repeat", str(repeat)]
    if not compare_values:
        arguments.append("--time-only")
    run = subprocess.run(arguments, capture_output=True, text=True)
    if compare_values:
        print("\n".join(l for l in run.stdout.splitlines() if not l.startswith("  V(")))
    times = {}
    for line in run.stdout.splitlines():
        fields = line.split("\t")
        if len(fields) == 3 and fields[0] == "per op":
            times[fields[1]] = float(fields[2]) * 1000.0
    return run.returncode == 0, times


def main():
    arguments = sys.argv[1:]
    if "--" not in arguments:
        print(__doc__, file=sys.stderr)
        return 2
    split = arguments.index("--")
    parser = argparse.ArgumentParser()
    parser.add_argument("--label", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--repeat", type=int, default=50)
    options = parser.parse_args(arguments[:split])
    program = arguments[split + 1:]
    ours = collections.defaultdict(list)
    theirs = collections.defaultdict(list)
    ok = True
    for round_number in range(options.rounds):
        ours_first = round_number % 2 == 0
        steps = ["ours", "peer"] if ours_first else ["peer", "ours"]
        if round_number == 0:
            steps = ["ours", "peer"]  # ngspice needs the netlists written first
        for step in steps:
            if step == "ours":
                run = subprocess.run(program + [options.work], capture_output=True, text=True)
                if round_number == 0:
                    print(run.stdout, end="")
                if run.returncode != 0:
                    print("%s: our run failed (status %d)" % (options.label, run.returncode))
                    ok = False
                for title, measured in our_times(run.stdout).items():
                    ours[title].append(measured)
            else:
                agreed, measured = peer_times(options.work, options.repeat, round_number == 0)
                ok = ok and agreed
                for title, ms in measured.items():
                    theirs[title].append(ms)
    print(bench_row.HEADER)
    for title in sorted(set(ours) | set(theirs)):
        mine, peer = ours.get(title, []), theirs.get(title, [])
        if len(mine) != options.rounds or len(peer) != options.rounds:
            print("semi %s: %s: %d of our runs and %d of ngspice's gave a time: FAILED" % (
                options.label, title, len(mine), len(peer)))
            ok = False
            continue
        note = "ngspice: %d ops in one run, per op" % options.repeat
        bench_row.row("semi %s: %s, whole solve" % (options.label, title), "ms",
                            [m[0] for m in mine], "ngspice/op", peer, 2.0, note)
        if all(m[1] is not None for m in mine):
            bench_row.row("  Newton only", "ms", [m[1] for m in mine], "ngspice/op", peer,
                          record=False)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
