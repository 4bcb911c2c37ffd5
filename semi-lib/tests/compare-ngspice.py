#!/usr/bin/env python3
"""The cross-check against ngspice, the peer's half: runs "ngspice -b" on
every netlist that semi-ngspice-check wrote and compares each printed value
with ours within the tolerance written beside it. A line with sign 0 is a
control that must disagree by more than its absolute tolerance.

    compare-ngspice.py <scratch dir>   exit 0 all agree, 1 not, 77 no ngspice
"""
import glob
import os
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


def main():
    if len(sys.argv) != 2:
        print("usage: compare-ngspice.py <scratch dir>", file=sys.stderr)
        return 2
    if shutil.which("ngspice") is None:
        print("ngspice is not installed: the cross-check cannot run")
        return 77
    files = sorted(glob.glob(os.path.join(sys.argv[1], "*.ours")))
    if len(files) < 2:
        print("no circuits were written")
        return 1
    results = [compare(f) for f in files]
    print("every circuit agrees with ngspice" if all(results) else "some circuits disagree")
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
