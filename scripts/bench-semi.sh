#!/usr/bin/env bash
# QorLib02's devices in the DC solve: a 40-stage transistor chain and a
# 500-diode ladder solved through our devices and the simulator's Newton
# loop, natively and (when win64 under BUILD_ROOT, default build/, holds the
# Windows build) under Wine, then drawn on stand-in pages and solved by the
# real QorSim with QorLib02.dll under Wine (in a prefix of its own), and by
# ngspice on the same netlists in the same run: every node voltage is
# compared (1e-5 V + 1e-6 |V|) and ngspice's own analysis time (its rusage
# report) is printed beside ours. A single op takes less than the report's
# 1 ms resolution, so each netlist is run once more with op repeated
# REPEATS times (default 50) and that run's analysis time per op is set
# beside our best solve in a summary row (scripts/bench_row.py).
# Usage: bench-semi.sh <bench build dir>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
compare=$root/semi-lib/tests/compare-ngspice.py
repeats=${REPEATS:-50}
status=0
# Our time for a circuit in milliseconds, from the program's report: the
# best Newton solve, or QorSim's Newton phase.
ours_ms() { # report title
  awk -v title="$2:" 'index($0, title) == 1 { found = 1; next }
    found && / ours: / { print $2; exit }
    found && /newton [0-9.]+ ms/ { match($0, /newton [0-9.]+/); print substr($0, RSTART + 7, RLENGTH - 7); exit }' "$1"
}
run() { # short-label label work-dir program [emulator...]
  local short=$1 label=$2 work=$3
  shift 3
  rm -rf "$work"
  mkdir -p "$work"
  echo "== semiconductor devices, $label: ours"
  "$@" "$work" | tee "$work/ours.txt" || status=1
  echo "== the same netlists in ngspice -b"
  python3 "$compare" "$work" --repeat "$repeats" | grep -v '^  V(' | tee "$work/peer.txt" || status=1
  for ours in "$work"/bench-*.ours; do
    local title
    title=$(head -1 "$ours" | cut -c3- | cut -f1)
    printf '%s: ngspice total analysis time %s s for one op\n' "$title" \
      "$(sed -n 's/^Total analysis time (seconds) = //p' "${ours%.ours}.log")"
    local mine peer
    mine=$(ours_ms "$work/ours.txt" "$title")
    peer=$(awk -F '\t' -v title="$title" '$1 == "per op" && $2 == title { print $3 * 1000 }' "$work/peer.txt")
    if [ -z "$mine" ] || [ -z "$peer" ]; then
      echo "$title: no time of ours or of ngspice to set side by side"
      status=1
      continue
    fi
    python3 "$root/scripts/bench_row.py" --work "semi $short: $title" --unit ms \
      --peer "ngspice/op" --ours "$mine" --theirs "$peer" --target 2.0 \
      --note "ngspice: $repeats ops in one run" || status=1
  done
}
run native "native" "$build/semi-bench" "$build/semi-lib/tests/semi-bench"
win=$(realpath -m "${BUILD_ROOT:-$root/build}")/win64 # Wine wants absolute prefixes
if [ -x "$win/semi-lib/tests/semi-bench.exe" ]; then
  run wine "Windows build under Wine" "$build/semi-bench-wine" \
    "$root/scripts/wine-exec.sh" 64 "$win/wineprefix" "$win/semi-lib/tests/semi-bench.exe"
fi
if [ -x "$win/semi-lib/tests/qorlib02-qorsim-bench.exe" ]; then
  bin=$build/semi-qorsim-bench-bin
  mkdir -p "$bin"
  cp "$win/semi-lib/tests/qorlib02-qorsim-bench.exe" "$win/semi-lib/win32/QorLib02.dll" \
    "$win/passive-lib/win32/QorLib01.dll" "$win/circuit-sim/win32/timed/QorSim.dll" \
    "$win/circuit-sim/tests/qorsim-test-devices.dll" "$bin/"
  run QorSim "QorSim and QorLib02.dll under Wine" "$build/semi-qorsim-bench" \
    "$root/scripts/wine-exec.sh" 64 "$build/semi-qorsim-bench-prefix" "$bin/qorlib02-qorsim-bench.exe"
  (wine_bits=64 wine_prefix=$build/semi-qorsim-bench-prefix
    . "$root/scripts/wine-env.sh"
    wineserver -k 2>/dev/null || true)
fi
exit $status
