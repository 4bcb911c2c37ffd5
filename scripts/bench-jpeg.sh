#!/usr/bin/env bash
# JPEG encoder benchmark on the colour pictures of python3-skimage; takes
# the bench build dir. First the speed rows (ours, the peer, the ratio and
# the spread over paired, interleaved rounds: in process against SIMD and
# plain-code libjpeg, whole runs against SIMD and plain-code cjpeg), then
# size and quality beside cjpeg (skipped with JPEG_BENCH_SPEED_ONLY=1).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${BUILD_ROOT:-$root/build}/bench}
/usr/bin/python3 "$root/jpeg/tools/bench-jpeg-speed.py" "$build" "$build/jpeg/bench-speed"
if [ "${JPEG_BENCH_SPEED_ONLY:-0}" != 1 ]; then
  /usr/bin/python3 "$root/jpeg/tools/bench-jpeg.py" "$build" "$build/jpeg/bench-work"
fi
