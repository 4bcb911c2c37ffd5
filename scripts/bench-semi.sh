#!/usr/bin/env bash
# QorLib02's devices in the DC solve: a 40-stage transistor chain and a
# 500-diode ladder solved through our devices and the simulator's Newton
# loop, natively and (when BUILD_ROOT, default build/, holds the Windows
# build: win32 where the kernel runs 32-bit code itself, else win64) under Wine, then drawn on stand-in pages and solved by the
# real QorSim with QorLib02.dll under Wine (in a prefix of its own), and by
# ngspice on the same netlists. Our runs and ngspice's take turns going
# first over ROUNDS rounds (default 5); the first compares every node
# voltage (1e-5 V + 1e-6 |V|). Each row sets our whole solve (matrix set-up
# included; for QorSim the whole SolveDC) beside ngspice's analysis time
# per op over REPEATS ops in one run (default 50), with the Newton passes
# alone beneath it (semi-lib/tests/bench-rounds.py).
# Usage: bench-semi.sh <bench build dir>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
rounds=${ROUNDS:-5}
repeats=${REPEATS:-50}
status=0
run() { # short-label label work-dir program [emulator...]
  local short=$1 label=$2 work=$3
  shift 3
  rm -rf "$work"
  mkdir -p "$work"
  echo "== semiconductor devices, $label: ours and ngspice -b, $rounds paired rounds"
  /usr/bin/python3 "$root/semi-lib/tests/bench-rounds.py" --label "$short" --work "$work" \
    --rounds "$rounds" --repeat "$repeats" -- "$@" || status=1
}
run native "native" "$build/semi-bench" "$build/semi-lib/tests/semi-bench"
. "$root/scripts/bench-wine-tree.sh"
win=$bench_tree
if [ -x "$win/semi-lib/tests/semi-bench.exe" ]; then
  run wine "Windows build under Wine" "$build/semi-bench-wine" \
    "$root/scripts/wine-exec.sh" "$bench_bits" "$win/wineprefix" "$win/semi-lib/tests/semi-bench.exe"
fi
if [ -x "$win/semi-lib/tests/qorlib02-qorsim-bench.exe" ]; then
  bin=$build/semi-qorsim-bench-bin
  mkdir -p "$bin"
  cp "$win/semi-lib/tests/qorlib02-qorsim-bench.exe" "$win/semi-lib/win32/QorLib02.dll" \
    "$win/passive-lib/win32/QorLib01.dll" "$win/circuit-sim/win32/timed/QorSim.dll" \
    "$win/circuit-sim/tests/qorsim-test-devices.dll" "$bin/"
  run QorSim "QorSim and QorLib02.dll under Wine" "$build/semi-qorsim-bench" \
    "$root/scripts/wine-exec.sh" "$bench_bits" "$build/semi-qorsim-bench-prefix" "$bin/qorlib02-qorsim-bench.exe"
  (wine_bits=$bench_bits wine_prefix=$build/semi-qorsim-bench-prefix
    . "$root/scripts/wine-env.sh"
    wineserver -k 2>/dev/null || true)
fi
exit $status
