#!/usr/bin/env bash
# QorSim's DC solve: square resistor grids (50x50, 100x100, 200x200 nodes)
# solved natively through our sparse matrix and Newton loop, and the same
# netlists solved by ngspice in batch mode in the same run. Both answers are
# compared unknown by unknown to 1e-9 relative; times are printed side by side.
# Usage: bench-circuit.sh <bench build dir>
set -euo pipefail
build=$1
work=$build/circuit-bench
mkdir -p "$work"
tool=$build/circuit-sim/tests/circuit-grid-bench
status=0
echo "== circuit DC solve: resistor grids, ours beside ngspice -b"
seconds() { awk -v s="$1" -v e="$2" 'BEGIN { printf "%.3f", e - s }'; }
for n in 50 100 200; do
  start=$(date +%s.%N)
  "$tool" solve "$n" "$work" || status=1
  ours=$(seconds "$start" "$(date +%s.%N)")
  rm -f "$work/grid-$n.raw"
  start=$(date +%s.%N)
  ngspice -b "$work/grid-$n.cir" >"$work/ngspice-$n.log" 2>&1 || status=1
  theirs=$(seconds "$start" "$(date +%s.%N)")
  echo "grid ${n}x${n}: whole runs: ours $ours s, ngspice -b $theirs s"
  "$tool" compare "$n" "$work" || status=1
done
exit $status
