#!/usr/bin/env bash
# QorLib01's component controls on a ladder of 1,000 components under Wine
# (a power rail, resistors in series and to ground alternately, a ground):
# the drop of every component with its control's binding, the first work
# event (numbering, scan, check, solve, labels and layout), and a second
# solve with nothing changed, which must write nothing; beside ngspice -b
# on the same ladder's netlist.
# Usage: bench-controls.sh [<work dir>]; the Windows build is the shipped
# win32 under BUILD_ROOT (default build/) where the kernel runs 32-bit code
# itself, else win64. COMPONENTS (default 1000).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/bench-wine-tree.sh"
build=$bench_tree bits=$bench_bits
driver=$build/passive-lib/tools/page-driver.exe
if [ ! -x "$driver" ]; then
  echo "bench-controls: no Windows build in $build; skipped"
  exit 0
fi
work=${1:-$build}/controls-bench
mkdir -p "$work"
cp "$driver" "$build/passive-lib/win32/QorLib01.dll" "$build/circuit-sim/win32/QorSim.dll" "$work/"
cd "$work"
n=${COMPONENTS:-1000}
resistors=$((n - 2))
{
  echo "part V rail 0"
  for ((i = 1; i <= resistors; ++i)); do
    echo "part R$i resistor $i"
  done
  echo "part G ground $((resistors + 1))"
  echo "wire V.A R1.A"
  for ((i = 1; i <= resistors; ++i)); do
    if ((i % 2)); then
      ((i + 2 <= resistors)) && echo "wire R$i.B R$((i + 2)).A"
      ((i + 1 <= resistors)) && echo "wire R$i.B R$((i + 1)).A"
    else
      echo "wire R$i.B G.A"
    fi
  done
} > ladder.page
# The same ladder as a netlist: series resistors between nodes, shunts to 0.
{
  echo "* ladder of $n components"
  echo "V1 1 0 DC 6"
  node=1
  for ((i = 1; i <= resistors; ++i)); do
    if ((i % 2)); then
      echo "R$i $node $((node + 1)) 1K"
      node=$((node + 1))
    else
      echo "R$i $node 0 1K"
    fi
  done
  echo ".OP"
  echo ".END"
} > ladder.cir
wine_bits=$bits wine_prefix=$work/wineprefix
. "$root/scripts/wine-env.sh"
export WINEDEBUG=-all
"$WINE" wineboot -i >/dev/null 2>&1 || true
echo "== component controls: a ladder of $n components under $bits-bit Wine ($build)"
status=0
"$WINE" page-driver.exe ladder.page QorSim.dll QorLib01.dll --time | tr -d '\r' | sed 's/^/ours: /' ||
  status=$?
start=$(date +%s.%N)
ngspice -b ladder.cir > ladder.ngspice 2>&1 || status=$?
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" 'BEGIN { printf "ngspice -b: %.3f s (whole run, %s)\n", e - s, "ladder.cir" }'
wineserver -k 2>/dev/null || true
exit "$status"
