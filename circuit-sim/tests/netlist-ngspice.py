#!/usr/bin/env python3
"""Runs ngspice -b on every netlist in the given folder (those QorSim wrote
for the circuit tests, or those named after the folder) and compares the
operating point at every SPICE node with the solution left beside it
(<name>.expect: a tolerance line, then one "<node> <volts>" line per node;
a name with parentheses, such as "i(v1)", is ngspice's own variable).
Fails when a netlist is missing, ngspice reports an error, or a value
differs by more than the relative tolerance."""
import os
import subprocess
import sys

EXPECTED = ["divider", "ladder", "joined", "diodes"]


def read_raw(path):
    names, values, section = [], [], None
    with open(path) as raw:
        for line in raw:
            if line.startswith("Variables:"):
                section = "variables"
                continue
            if line.startswith("Values:"):
                section = "values"
                continue
            fields = line.split()
            if section == "variables" and len(fields) >= 3:
                names.append(fields[1])
            elif section == "values" and fields:
                values.append(float(fields[-1]))
    return dict(zip(names, values))


def check(folder, name, quiet=False):
    netlist = os.path.join(folder, name + ".cir")
    expect = os.path.join(folder, name + ".expect")
    raw = os.path.join(folder, name + ".raw")
    if not (os.path.exists(netlist) and os.path.exists(expect)):
        print(f"{name}: netlist or solution missing")
        return False
    # A raw file newer than the netlist is ngspice's answer to it already
    # (a benchmark's timed run wrote it).
    if not (os.path.exists(raw) and os.path.getmtime(raw) > os.path.getmtime(netlist)):
        env = dict(os.environ, SPICE_ASCIIRAWFILE="1")
        run = subprocess.run(["ngspice", "-b", "-r", raw, netlist], env=env,
                             capture_output=True, text=True, timeout=600)
        log = run.stdout + run.stderr
        if run.returncode != 0 or "error" in log.lower():
            print(f"{name}: ngspice failed\n{log}")
            return False
    peer = read_raw(raw)
    good = True
    with open(expect) as lines:
        tolerance = float(lines.readline().split()[1])
        for line in lines:
            node, ours = line.split()
            ours = float(ours)
            theirs = 0.0 if node == "0" else peer.get(node if "(" in node else f"v({node})")
            if theirs is None:
                print(f"{name}: node {node} missing in ngspice's answer")
                good = False
                continue
            scale = max(abs(ours), abs(theirs), 1e-12)
            if abs(ours - theirs) > tolerance * scale:
                print(f"{name}: node {node}: ours {ours!r}, ngspice {theirs!r}")
                good = False
            elif not quiet:
                print(f"{name}: node {node}: ours {ours!r}, ngspice {theirs!r}: agree")
    if quiet and good:
        print(f"{name}: every node agrees with ngspice to {tolerance:g} relative")
    return good


def main():
    folder = sys.argv[1]
    names = sys.argv[2:]
    results = [check(folder, name, quiet=bool(names)) for name in names or EXPECTED]
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main()
