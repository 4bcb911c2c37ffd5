#!/usr/bin/env bash
# JPEG encoder benchmark: our encoder beside cjpeg (SIMD and plain code)
# on the colour pictures of python3-skimage; takes the bench build dir.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/bench}
/usr/bin/python3 "$root/jpeg/tools/bench-jpeg.py" "$build" "$build/jpeg/bench-work"
