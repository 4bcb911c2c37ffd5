#!/usr/bin/env python3
"""The cross-check against ngspice, the peer's half: runs "ngspice -b" on
every netlist that semi-ngspice-check wrote and compares each printed value
with ours within the tolerance written beside it. A line with sign 0 is a
control that must disagree by more than its absolute tolerance.

    compare-ngspice.py <scratch dir> [--repeat N]
        exit 0 all agree, 1 not, 77 no ngspice

With --repeat, every netlist is also run once more with its control block
replaced by N "op" lines and no prints, and ngspice's total analysis time
over that run divided by N is printed per circuit as

    per op<TAB><title><TAB><seconds>

since a single op finishes within the 1 ms resolution of ngspice's rusage.
--time-only skips the comparison and prints only those lines.
"""
import argparse
import glob
import os
import re
import shutil
import subprocess
import sys


def peer_values(log):
    values = {}
    for line in log.splitlines():
        name, sep, rest = line.partition(" = ")
        if not sep:
            continue
        try:
            values[name.strip()] = float(rest.split()[0])
        except (ValueError, IndexError):
            pass
    return values


def compare(ours_path):
    base = ours_path[: -len(".ours")]
    with open(ours_path) as f:
        header = f.readline().rstrip("\n")[2:]
        rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    title, passes = header.split("\t")
    run = subprocess.run(["ngspice", "-b", base + ".cir"], capture_output=True, text=True)
    with open(base + ".log", "w") as log:
        log.write(run.stdout + run.stderr)
    if run.returncode != 0:
        print(f"{title}: ngspice failed, see {base}.log")
        return False
    peer = peer_values(run.stdout)
    ok = True
    lines = []
    for what, name, sign, rel, absolute, ours in rows:
        sign, rel, absolute, ours = float(sign), float(rel), float(absolute), float(ours)
        if name not in peer:
            lines.append(f"  {what:14} ngspice printed no {name}")
            ok = False
            continue
        if sign == 0:
            theirs = peer[name]
            agrees = abs(ours - theirs) > absolute  # a control: must differ
        else:
            theirs = sign * peer[name]
            agrees = abs(ours - theirs) <= absolute + rel * abs(theirs)
        ok = ok and agrees
        lines.append(f"  {what:14} ours {ours:<24.15g} ngspice {theirs:<24.15g}"
                     f"{'' if agrees else 'MISMATCH'}")
    control = any(float(row[2]) == 0 for row in rows)
    if control:
        verdict = "ngspice disagrees, as it must" if ok else "MISMATCH: ngspice agrees"
    else:
        verdict = "agrees with ngspice" if ok else "MISMATCH"
    solved = f"{passes} Newton passes" if passes.isdigit() else f"solved by {passes}"
    print(f"{title}: {solved}, {verdict} ({len(rows)} values)")
    print("\n".join(lines))
    return ok


ANALYSIS_TIME = re.compile(r"^Total analysis time \(seconds\) = *([0-9.eE+-]+)", re.M)


def seconds_per_op(ours_path, repeats):
    """ngspice's analysis time per op over one run of repeats ops, or None
    when the run fails or reports no time."""
    base = ours_path[: -len(".ours")]
    with open(base + ".cir") as f:
        netlist = f.read()
    control = ".control\n" + "op\n" * repeats + "rusage all\nquit 0\n.endc\n"
    netlist, found = re.subn(r"^\.control\n.*?^\.endc\n", control, netlist, flags=re.M | re.S)
    if found != 1:
        return None
    with open(base + "-repeat.cir", "w") as f:
        f.write(netlist)
    run = subprocess.run(["ngspice", "-b", base + "-repeat.cir"], capture_output=True, text=True)
    with open(base + "-repeat.log", "w") as log:
        log.write(run.stdout + run.stderr)
    times = ANALYSIS_TIME.findall(run.stdout)
    if run.returncode != 0 or not times:
        return None
    return float(times[-1]) / repeats


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("dir")
    parser.add_argument("--repeat", type=int, default=0, help="also time N ops in one run")
    parser.add_argument("--time-only", action="store_true", help="time, do not compare")
    options = parser.parse_args()
    if shutil.which("ngspice") is None:
        print("ngspice is not installed: the cross-check cannot run")
        return 77
    files = sorted(glob.glob(os.path.join(options.dir, "*.ours")))
    if len(files) < 2:
        print("no circuits were written")
        return 1
    results = [] if options.time_only else [compare(f) for f in files]
    if not options.time_only:
        print("every circuit agrees with ngspice" if all(results) else "some circuits disagree")
    timed = True
    for f in files if options.repeat > 0 else []:
        with open(f) as ours:
            title = ours.readline().rstrip("\n")[2:].split("\t")[0]
        per_op = seconds_per_op(f, options.repeat)
        if per_op is None:
            print(f"{title}: ngspice's repeated run failed, see {f[:-len('.ours')]}-repeat.log")
            timed = False
            continue
        print(f"per op\t{title}\t{per_op:.6g}")
    return 0 if all(results) and timed else 1


if __name__ == "__main__":
    sys.exit(main())
