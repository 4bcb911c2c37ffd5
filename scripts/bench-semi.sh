#!/usr/bin/env bash
# QorLib02's devices in the DC solve: a 40-stage transistor chain and a
# 500-diode ladder solved through our devices and the simulator's Newton
# loop, natively and (when win64 under BUILD_ROOT, default build/, holds the
# Windows build) under Wine, then drawn on stand-in pages and solved by the
# real QorSim with QorLib02.dll under Wine (in a prefix of its own), and by
# ngspice on the same netlists in the same run: ngspice's own analysis time
# (its rusage report) is printed beside ours, and every node voltage is
# compared (1e-5 V + 1e-6 |V|).
# Usage: bench-semi.sh <bench build dir>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
compare=$root/semi-lib/tests/compare-ngspice.py
status=0
run() { # label work-dir program [emulator...]
  local label=$1 work=$2
  shift 2
  rm -rf "$work"
  mkdir -p "$work"
  echo "== semiconductor devices, $label: ours"
  "$@" "$work" || status=1
  echo "== the same netlists in ngspice -b"
  python3 "$compare" "$work" | grep -v '^  V(' || status=1
  for log in "$work"/bench-*.log; do
    printf '%s: ngspice total analysis time %s s\n' "$(head -1 "${log%.log}.ours" | cut -c3- | cut -f1)" \
      "$(sed -n 's/^Total analysis time (seconds) = //p' "$log")"
  done
}
run native "$build/semi-bench" "$build/semi-lib/tests/semi-bench"
win=$(realpath -m "${BUILD_ROOT:-$root/build}")/win64 # Wine wants absolute prefixes
if [ -x "$win/semi-lib/tests/semi-bench.exe" ]; then
  run "Windows build under Wine" "$build/semi-bench-wine" \
    "$root/scripts/wine-exec.sh" 64 "$win/wineprefix" "$win/semi-lib/tests/semi-bench.exe"
fi
if [ -x "$win/semi-lib/tests/qorlib02-qorsim-bench.exe" ]; then
  bin=$build/semi-qorsim-bench-bin
  mkdir -p "$bin"
  cp "$win/semi-lib/tests/qorlib02-qorsim-bench.exe" "$win/semi-lib/win32/QorLib02.dll" \
    "$win/passive-lib/win32/QorLib01.dll" "$win/circuit-sim/win32/QorSim.dll" \
    "$win/circuit-sim/tests/qorsim-test-devices.dll" "$bin/"
  run "QorSim and QorLib02.dll under Wine" "$build/semi-qorsim-bench" \
    "$root/scripts/wine-exec.sh" 64 "$build/semi-qorsim-bench-prefix" "$bin/qorlib02-qorsim-bench.exe"
  (wine_bits=64 wine_prefix=$build/semi-qorsim-bench-prefix
    . "$root/scripts/wine-env.sh"
    wineserver -k 2>/dev/null || true)
fi
exit $status
