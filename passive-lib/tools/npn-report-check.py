#!/usr/bin/env python3
"""Checks the page driver's report of npn-typed.page after the transistor's
sheet was typed into: the parameter texts are the chosen library model's
(its row read from the model library, the last of a repeated attribute
winning, every other parameter at the library default) with the typed
overrides, the label shows the part ID and the expected type, and the solve
agrees with ngspice on the same circuit with that model card.

    npn-report-check.py <report> <npn.xml> <model> <label type> [NAME=text ...]

Exit 0 when everything agrees, 1 otherwise, 77 when ngspice is missing."""
import re
import shutil
import subprocess
import sys
import tempfile

# npn-typed.page: a 10 V source, 470 kohm to the base, 1 kohm to the
# collector, the emitter grounded.
CIRCUIT = """npn typed
V1 vcc 0 10
RB vcc b 470000
RC vcc c 1000
Q1 c b 0 QM
"""
# The devices' thermal voltage is ngspice's at this temperature.
OPTIONS = ".options temp=26.99423 tnom=26.99423 reltol=1e-9 vntol=1e-12 abstol=1e-18"
# Parameters of the component that are no BJT model parameter in ngspice.
NOT_IN_CARD = {"ID", "TYPE", "GMIN", "IMAX"}
UNITS = {"": 1.0, "m": 1e-3, "u": 1e-6, "n": 1e-9, "p": 1e-12, "k": 1e3}


def attributes(text):
    return re.findall(r'([A-Za-z0-9_()]+)="([^"]*)"', text)


def library(path):
    text = open(path).read()
    defaults = []
    for param in re.findall(r"<PARAM ([^>]*)/>", text):
        a = dict(attributes(param))
        defaults.append((a["NAME"], a.get("DEFAULT", "")))
    models = {}
    for model in re.findall(r"<MODEL ([^>]*)/>", text):
        pairs = attributes(model)
        models[dict(pairs)["TYPE"]] = dict(pairs)  # a repeated name: the last wins
    return defaults, models


def ngspice(card, gmin):
    netlist = (CIRCUIT + f".model QM NPN ({card})\n{OPTIONS} gmin={gmin}\n"
               ".control\nset numdgt=12\nop\nprint v(c) v(b) @q1[ic]\nquit 0\n.endc\n.end\n")
    with tempfile.NamedTemporaryFile("w", suffix=".cir", delete=False) as f:
        f.write(netlist)
    run = subprocess.run(["ngspice", "-b", f.name], capture_output=True, text=True)
    values = {}
    for line in run.stdout.splitlines():
        name, sep, rest = line.partition(" = ")
        try:
            values[name.strip()] = float(rest.split()[0])
        except (ValueError, IndexError):
            pass
    if run.returncode != 0 or not {"v(c)", "v(b)", "@q1[ic]"} <= values.keys():
        sys.exit(f"FAIL: ngspice did not solve:\n{netlist}\n{run.stdout}{run.stderr}")
    return values["v(c)"], values["v(b)"], values["@q1[ic]"]


def main():
    report_path, library_path, model, label_type = sys.argv[1:5]
    overrides = dict(arg.split("=", 1) for arg in sys.argv[5:])
    if shutil.which("ngspice") is None:
        print("ngspice is not installed: the solve cannot be checked")
        return 77
    report = open(report_path).read().splitlines()
    defaults, models = library(library_path)
    failures = []

    # The parameters: the model row over the defaults, then what was typed.
    row = models[model]
    expected = {}
    for name, default in defaults:
        expected[name] = label_type if name == "TYPE" else overrides.get(name, row.get(name, default))
    items = dict(line.split(" ", 3)[2:] for line in report if line.startswith("item Q "))
    for name, text in expected.items():
        if name != "ID" and items.get(name) != text:
            failures.append(f"item {name} is {items.get(name)!r}, not {text!r}")

    # The label and the shown collector current.
    shown = None
    for line in report:
        m = re.fullmatch(r'part Q id (Q\d+) label "(Q\d+)\|(.*)" result Ic = (\S+) (\w?)A mark ""', line)
        if m:
            if m.group(1) != m.group(2) or m.group(3) != label_type:
                failures.append(f"label of {line!r} is not the part ID and {label_type}")
            shown = (m.group(4), m.group(5))
    if shown is None:
        failures.append("no line for Q with its collector current")

    # The solve against ngspice with the same card.
    card = " ".join(f"{n}={t}" for n, t in expected.items() if n not in NOT_IN_CARD)
    vc, vb, ic = ngspice(card, expected["GMIN"])
    _, _, ic_default = ngspice("", expected["GMIN"])
    nets = dict(line.split()[1:3] for line in report if line.startswith("net "))
    pins = dict(line.split()[1:3] for line in report if line.startswith("pin "))
    for pin, theirs in (("Q.C", vc), ("Q.B", vb)):
        ours = float(nets.get(pins.get(pin, "-"), "nan"))
        if not abs(ours - theirs) <= 1e-5 * abs(theirs) + 1e-6:
            failures.append(f"{pin} is at {ours} V, ngspice {theirs} V")
        print(f"{pin}: ours {ours!r} V, ngspice {theirs!r} V")
    if shown:
        digits, unit = shown
        value = float(digits) * UNITS[unit]
        half = 0.5 * (10 ** -len(digits.split(".")[1]) if "." in digits else 1) * UNITS[unit]
        print(f"Ic: shown {digits} {unit}A, ngspice {ic!r} A, default model {ic_default!r} A")
        if not abs(value - ic) <= half * 1.001:
            failures.append(f"shown Ic {digits} {unit}A is not ngspice's {ic} A")
        changed = any(expected[n] != d for n, d in defaults if n not in NOT_IN_CARD)
        if changed and abs(value - ic_default) <= half * 1.001:
            failures.append("the default model gives the same shown Ic: the change is not seen")

    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
