#!/usr/bin/env bash
# QorLib02's devices in the DC solve: a 40-stage transistor chain and a
# 500-diode ladder solved natively through our devices and the simulator's
# Newton loop, and by ngspice in the same run; ngspice's own analysis time
# (its rusage report) is printed beside ours and the node voltages compared.
# Usage: bench-semi.sh <bench build dir>
set -euo pipefail
build=$1
echo "== semiconductor devices: DC operating point, ours beside ngspice -b"
"$build/semi-lib/tests/semi-bench" "$build/semi-bench"
