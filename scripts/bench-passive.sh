#!/usr/bin/env bash
# QorLib01's devices in the real QorSim under Wine: a square resistor grid
# with a power rail on a stand-in page, numbered, scanned, checked and
# solved by one work event, beside the same page made of QorSim's test
# devices and beside ngspice -b on the netlist QorSim wrote for the page,
# in one run. Paired runs for each size; median and spread of each, and
# the far corner's voltage from all three.
# Usage: bench-passive.sh [<bench build dir>]; the Windows build is taken
# from BUILD_ROOT (default build/): win32 where the kernel runs 32-bit code
# itself, else win64. PASSIVE_SIZES (default "10 20 30") and RUNS (default 3).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/bench-wine-tree.sh"
build=$bench_tree
bench=$build/passive-lib/tests/qorlib01-grid-bench.exe
if [ ! -x "$bench" ]; then
  echo "bench-passive: no Windows build in $build; skipped"
  exit 0
fi
work=${1:-$build}/passive-bench
mkdir -p "$work"
cp "$bench" "$build/passive-lib/win32/QorLib01.dll" "$build/circuit-sim/win32/timed/QorSim.dll" \
  "$build/circuit-sim/tests/qorsim-test-devices.dll" "$work/"
# A prefix of its own: the benchmark registers and unregisters the servers.
wine_bits=$bench_bits wine_prefix=$work/wineprefix
. "$root/scripts/wine-env.sh"
export WINEDEBUG=-all
"$WINE" wineboot -i >/dev/null 2>&1 || true
seconds() { awk -v s="$1" -v e="$2" 'BEGIN { printf "%.3f", e - s }'; }
summary() {
  printf '%s\n' "$@" | sort -g |
    awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
      printf "%.3f s (%.3f-%.3f)", m, v[1], v[NR] }'
}
cd "$work"
status=0
runs=${RUNS:-3}
echo "== passive devices: resistor grids with a power rail under Wine, the whole work event;" \
  "$runs paired runs"
for n in ${PASSIVE_SIZES:-10 20 30}; do
  passive=() test=() theirs=()
  for ((run = 1; run <= runs; ++run)); do
    rm -f grid.cir grid-test.cir
    p=$("$WINE" qorlib01-grid-bench.exe "$n" passive 'Z:'"$work"'/grid.cir' | tr -d '\r') || status=1
    t=$("$WINE" qorlib01-grid-bench.exe "$n" test 'Z:'"$work"'/grid-test.cir' | tr -d '\r') ||
      status=1
    passive+=("$(sed -n 's/.*work event \([0-9.]*\) s.*/\1/p' <<<"$p")")
    test+=("$(sed -n 's/.*work event \([0-9.]*\) s.*/\1/p' <<<"$t")")
    start=$(date +%s.%N)
    ngspice -b grid.cir >ngspice.log 2>&1 || status=1
    theirs+=("$(seconds "$start" "$(date +%s.%N)")")
  done
  # The load's upper end is the far corner; the netlist names it by number.
  corner=$(awk 'toupper($1) ~ /^R/ && $3 == "0" { print $2 }' grid.cir | tail -1)
  echo "grid ${n}x${n}:"
  echo "  passive devices $(summary "${passive[@]}"), test devices $(summary "${test[@]}")," \
    "ngspice -b $(summary "${theirs[@]}")"
  echo "  $(head -1 <<<"$p")"
  echo "  $(sed -n 2p <<<"$p")"
  echo "  $(head -1 <<<"$t")"
  echo "  ngspice far corner (node $corner):" \
    "$(awk -v n="V($corner)" '$1 == n { print $2 " V"; exit }' ngspice.log)"
done
wineserver -k 2>/dev/null || true
exit $status
