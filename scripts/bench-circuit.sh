#!/usr/bin/env bash
# QorSim's DC solve beside ngspice -b, in two parts.
#
# Under Wine (when BUILD_ROOT, default build/, holds the Windows build:
# win32 where the kernel runs 32-bit code itself, else win64): the whole
# work event for square resistor grids on a stand-in page, the real
# QorSim.dll with the test devices: every control registered, then
# one work event that numbers, scans the page, checks the topology and
# solves. ngspice -b then runs the netlist QorSim itself wrote for the page
# (CreateNetlist), and every SPICE node is compared with ours to 1e-9
# relative. Paired runs (ours, then ngspice) for each size; median and
# spread of both, and the share of numbering and topology checks in our
# time.
#
# Natively: the same kind of grid (no wires, one net per node) straight
# through our matrix and Newton loop, beside ngspice on that netlist, in
# paired whole runs of 50x50, 100x100 and 200x200.
#
# Usage: bench-circuit.sh <bench build dir>
# WORK_SIZES (default "10 20 30 100") and RUNS (default 3) tune the Wine part.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
status=0
seconds() { awk -v s="$1" -v e="$2" 'BEGIN { printf "%.3f", e - s }'; }
# "median (min-max)" of the numbers given.
summary() {
  printf '%s\n' "$@" | sort -g |
    awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
      printf "%.3f s (%.3f-%.3f)", m, v[1], v[NR] }'
}

. "$root/scripts/bench-wine-tree.sh"
win=$bench_tree
bench=$win/circuit-sim/tests/qorsim-work-bench.exe
if [ -x "$bench" ]; then
  work=$build/circuit-work-bench
  mkdir -p "$work"
  runs=${RUNS:-3}
  echo "== QorSim work event under Wine (test devices on a stand-in page) beside ngspice -b" \
    "on the netlist QorSim wrote; $runs paired runs"
  for n in ${WORK_SIZES:-10 20 30 100}; do
    rm -f "$work/grid-$n".*
    ours=() theirs=() shares=() solved=yes
    for ((run = 1; run <= runs; ++run)); do
      out=$("$root/scripts/wine-exec.sh" "$bench_bits" "$win/wineprefix" "$bench" "$n" "$work" | tr -d '\r') ||
        status=1
      line=$(grep '^work ' <<<"$out")
      ours+=("$(awk '{ print $2 }' <<<"$line")")
      shares+=("$(tr ' ' '\n' <<<"$line" | awk -F= -v all="$(awk '{ print $2 }' <<<"$line")" \
        '$1 == "numbering" || $1 == "topology-check" { s += $2 } END { printf "%.4f", 100 * s / all }')")
      grep -q ', solved$' <<<"$out" || solved=no
      start=$(date +%s.%N)
      SPICE_ASCIIRAWFILE=1 ngspice -b -r "$work/grid-$n.raw" "$work/grid-$n.cir" \
        >"$work/ngspice-$n.log" 2>&1 || status=1
      theirs+=("$(seconds "$start" "$(date +%s.%N)")")
    done
    echo "grid ${n}x${n}: $(grep '^unknowns' <<<"$out")"
    echo "  phases of the last run: ${line#work * }"
    echo "  ours (whole work event) $(summary "${ours[@]}"), ngspice -b (whole run)" \
      "$(summary "${theirs[@]}")"
    echo "  numbering + topology check: $(summary "${shares[@]}" | sed 's/ s / % /; s/)$/ %)/')" \
      "of our time"
    if [ $solved = yes ]; then
      python3 "$root/circuit-sim/tests/netlist-ngspice.py" "$work" "grid-$n" | sed 's/^/  /' ||
        status=1
    else
      echo "  no solution to compare: a circuit matrix holds at most 32758 unknowns"
    fi
  done
fi

tool=$build/circuit-sim/tests/circuit-grid-bench
work=$build/circuit-bench
mkdir -p "$work"
echo "== circuit DC solve natively (one net per node, no wires), ours beside ngspice -b"
# Whole runs both sides: ours writes the netlist, solves and writes its
# voltages; ngspice reads that netlist, solves and writes its raw file.
# Paired, alternating runs (GRID_RUNS, default 5); then every node and the
# source's current of the last runs are compared.
# The 0.2x target holds from 100x100 up: at 50x50 ngspice's whole run is
# mostly its own start-up.
for n in 50 100 200; do
  target=()
  [ "$n" -ge 100 ] && target=(--target 0.2)
  /usr/bin/python3 "$root/scripts/time-paired.py" --runs "${GRID_RUNS:-5}" --sink null \
    --label "native grid ${n}x${n}, whole runs" --peer-name "ngspice -b" "${target[@]}" \
    -- "$tool" solve "$n" "$work" -- ngspice -b "$work/grid-$n.cir" || { status=1; continue; }
  python3 "$root/circuit-sim/tests/netlist-ngspice.py" "$work" "grid-$n" | sed 's/^/  /' || status=1
done
exit $status
