#!/usr/bin/env bash
# The project's test command: installs what is missing, builds every tree,
# runs the native tests (under ASan and UBSan) and then the Windows tests
# under Wine inside a virtual X display: the shipped 32-bit build where the
# machine can run 32-bit code, and always the 64-bit build of the same
# sources under 64-bit Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_ROOT:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

status=0
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
# Every tree's results go to a JUnit file, so that a skip nobody expects
# fails the run (scripts/expected-skips.txt lists the expected ones).
ctest_junit=(--output-junit ctest-junit.xml --test-output-size-passed 1000000)
check_skips() { # tree
  "$root/scripts/check-skips.py" "$1" "$build/$1/ctest-junit.xml" \
    "$root/scripts/expected-skips.txt" || status=1
}

echo "== native tests"
(cd "$build/native" && ctest --output-on-failure -j "$(nproc)" "${ctest_junit[@]}") || status=1
check_skips native

# The display must exist before the first Wine process of a run: programs
# that share a wineserver started without one can never create windows.
run_windows_tests() { # tree
  echo "== Windows tests under Wine ($1)"
  (cd "$build/$1" && xvfb-run -a -s "-screen 0 1024x768x24" \
    ctest --output-on-failure -j 4 "${ctest_junit[@]}") || status=1
  check_skips "$1"
  # Nothing of the run may stay behind.
  WINEPREFIX="$build/$1/wineprefix" wineserver -k 2>/dev/null || true
}

if "$root/scripts/can-run-32bit.sh"; then
  run_windows_tests win32
else
  echo "== this kernel cannot run 32-bit code: win32 tests skipped, the win64 build stands in"
fi
run_windows_tests win64
exit $status
