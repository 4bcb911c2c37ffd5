#!/usr/bin/env bash
# Benchmarks: an optimised native build without sanitizers, then every
# benchmark program with the peers timed beside it, then a summary of the
# rows that set ours beside a peer (each: the work, ours, the peer, the
# ratio, all as median [lowest..highest] over paired runs; see
# scripts/bench_row.py), with the machine's load and CPU steal before and
# after. A machine whose hypervisor takes more than a tenth of the CPU
# (steal, from /proc/stat) says so on the run's first line: its figures
# swing with the neighbours' work.
# BUILD_ROOT puts the benchmark tree (<BUILD_ROOT>/bench) elsewhere;
# BUILD_PARTS and BUILD_JOBS limit its folders and build jobs, as for
# scripts/build.sh; BENCH_SCRIPTS (e.g. "jpeg mail-encoders") runs only
# those scripts/bench-<name>.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bench=${BUILD_ROOT:-$root/build}/bench
load() { uptime | sed 's/.*load average: //'; }
# The CPU counters of /proc/stat: total and steal, in clock ticks.
cpu_ticks() { awk '$1 == "cpu" { t = 0; for (i = 2; i <= 9; ++i) t += $i; print t, $9; exit }' /proc/stat; }
# Steal as a percentage of the time between two readings of cpu_ticks.
steal_percent() { # "total steal" "total steal"
  awk -v a="$1" -v b="$2" 'BEGIN { split(a, x, " "); split(b, y, " ");
    d = y[1] - x[1]; printf "%.1f", (d > 0 ? 100 * (y[2] - x[2]) / d : 0) }'
}
steal_over_a_second() {
  local before
  before=$(cpu_ticks)
  sleep 1
  steal_percent "$before" "$(cpu_ticks)"
}
steal_before=$(steal_over_a_second)
if awk -v s="$steal_before" 'BEGIN { exit !(s > 10) }'; then
  echo "bench: CPU steal is ${steal_before}% (over 1 s): more than 10%, the figures below swing with the host's other guests"
fi
"$root/scripts/setup.sh"
cmake -S "$root" -B "$bench" -DCMAKE_BUILD_TYPE=Release -DENABLE_SANITIZERS=OFF \
  -DBUILD_PARTS="${BUILD_PARTS:-}" >/dev/null
cmake --build "$bench" -j "${BUILD_JOBS:-$(nproc)}"

load_before=$(load)
ticks_before=$(cpu_ticks)
export BENCH_SUMMARY=$bench/bench-summary.txt
: >"$BENCH_SUMMARY"
failed=()
scripts=()
if [ -n "${BENCH_SCRIPTS:-}" ]; then
  for name in $BENCH_SCRIPTS; do scripts+=("$root/scripts/bench-$name.sh"); done
else
  scripts=("$root"/scripts/bench-*.sh)
fi
for b in "${scripts[@]}"; do
  [ -f "$b" ] || { failed+=("$(basename "$b") (no such script)"); continue; }
  bash "$b" "$bench" || failed+=("$(basename "$b")")
done

echo
echo "== summary: ours beside the peers (median [lowest..highest] over paired runs)"
/usr/bin/python3 -c 'import sys; sys.path.insert(0, sys.argv[1]); import bench_row
print(bench_row.HEADER)' "$root/scripts"
cat "$BENCH_SUMMARY"
steal_run=$(steal_percent "$ticks_before" "$(cpu_ticks)")
echo "load average (1, 5, 15 min) before: $load_before; after: $(load)"
echo "CPU steal: ${steal_before}% before (over 1 s), ${steal_run}% over the whole run, $(steal_over_a_second)% after (over 1 s)"
if [ ${#failed[@]} -gt 0 ]; then
  echo "benchmarks that failed: ${failed[*]}"
  exit 1
fi
