#!/usr/bin/env bash
# QorLib01's devices in the real QorSim under Wine: a square resistor grid
# with a power rail, built and solved from a stand-in page, beside the same
# page with QorSim's test devices and the same netlist under ngspice -b, in
# one run. Prints the times side by side and the far corner's voltage.
# Usage: bench-passive.sh [<win64 build dir>] [<grid size, default 100>]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
n=${2:-100}
work=$build/passive-bench
mkdir -p "$work"
cp "$build/passive-lib/tests/qorlib01-grid-bench.exe" "$build/passive-lib/win32/QorLib01.dll" \
  "$build/circuit-sim/win32/QorSim.dll" "$build/circuit-sim/tests/qorsim-test-devices.dll" "$work/"
wine_bits=64 wine_prefix=$work/wineprefix
. "$root/scripts/wine-env.sh"
export WINEDEBUG=-all
"$WINE" wineboot -i >/dev/null 2>&1 || true
seconds() { awk -v s="$1" -v e="$2" 'BEGIN { printf "%.3f", e - s }'; }
echo "== passive devices: ${n}x${n} resistor grid with a power rail, under Wine"
cd "$work"
status=0
"$WINE" qorlib01-grid-bench.exe "$n" passive 'Z:'"$work"'/grid.cir' | tr -d '\r' || status=1
"$WINE" qorlib01-grid-bench.exe "$n" test 'Z:'"$work"'/grid-test.cir' | tr -d '\r' || status=1
start=$(date +%s.%N)
ngspice -b "$work/grid.cir" >"$work/ngspice.log" 2>&1 || status=1
echo "ngspice -b: whole run $(seconds "$start" "$(date +%s.%N)") s, far corner $(sed -n "s/^[ \t]*n$((n * n - 1))[ \t]\+\([-0-9.e+]*\).*/\1/p" "$work/ngspice.log" | head -1) V"
wineserver -k 2>/dev/null || true
exit $status
