#!/usr/bin/env bash
# Benchmarks: an optimised native build without sanitizers, then every
# benchmark program with the peers timed beside it, then a summary of the
# rows that set ours beside a peer (each: the work, ours, the peer, the
# ratio, all as median [lowest..highest] over paired runs; see
# scripts/bench_row.py), with the machine's load before and after.
# BUILD_ROOT puts the benchmark tree (<BUILD_ROOT>/bench) elsewhere;
# BUILD_PARTS and BUILD_JOBS limit its folders and build jobs, as for
# scripts/build.sh; BENCH_SCRIPTS (e.g. "jpeg mail-encoders") runs only
# those scripts/bench-<name>.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bench=${BUILD_ROOT:-$root/build}/bench
"$root/scripts/setup.sh"
cmake -S "$root" -B "$bench" -DCMAKE_BUILD_TYPE=Release -DENABLE_SANITIZERS=OFF \
  -DBUILD_PARTS="${BUILD_PARTS:-}" >/dev/null
cmake --build "$bench" -j "${BUILD_JOBS:-$(nproc)}"

export BENCH_SUMMARY=$bench/bench-summary.txt
: >"$BENCH_SUMMARY"
load() { uptime | sed 's/.*load average: //'; }
load_before=$(load)
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
echo "load average (1, 5, 15 min) before: $load_before; after: $(load)"
if [ ${#failed[@]} -gt 0 ]; then
  echo "benchmarks that failed: ${failed[*]}"
  exit 1
fi
