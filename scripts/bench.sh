#!/usr/bin/env bash
# Benchmarks: an optimised native build without sanitizers, then every
# benchmark program with the peers timed beside it.
set -euo pipefail
# BUILD_ROOT puts the benchmark tree (<BUILD_ROOT>/bench) elsewhere.
root=$(cd "$(dirname "$0")/.." && pwd)
bench=${BUILD_ROOT:-$root/build}/bench
"$root/scripts/setup.sh"
cmake -S "$root" -B "$bench" -DCMAKE_BUILD_TYPE=Release -DENABLE_SANITIZERS=OFF >/dev/null
cmake --build "$bench" -j "$(nproc)"
for b in "$root"/scripts/bench-*.sh; do
  [ -f "$b" ] && bash "$b" "$bench"
done
