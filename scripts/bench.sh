#!/usr/bin/env bash
# Benchmarks: an optimised native build without sanitizers, then every
# benchmark program with the peers timed beside it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/bench" -DCMAKE_BUILD_TYPE=Release -DENABLE_SANITIZERS=OFF >/dev/null
cmake --build "$root/build/bench" -j "$(nproc)"
for b in "$root"/scripts/bench-*.sh; do
  [ -f "$b" ] && bash "$b" "$root/build/bench"
done
