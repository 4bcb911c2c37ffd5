#!/usr/bin/env bash
# The project's test command: installs what is missing, builds the trees,
# runs the native tests (under ASan and UBSan) and then every Windows test
# under Wine inside a virtual X display. Where the kernel runs 32-bit code
# itself, the Windows tests run from the shipped 32-bit build under 32-bit
# Wine, and the 64-bit tree is not built. Elsewhere they run from the
# 64-bit build of the same sources under 64-bit Wine, followed by the
# shipped subset from the 32-bit build where it can run emulated and is
# asked for (scripts/test-shipped.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_ROOT:-$root/build}
"$root/scripts/setup.sh"
# 32-bit Wine is set up before the build only where the kernel runs 32-bit
# code itself; under emulation it would make every 64-bit prefix slow (see
# setup.sh), and the subset sets it up after the 64-bit tests.
if [ "$("$root/scripts/can-run-32bit.sh" --how)" = native ]; then
  "$root/scripts/setup-32bit.sh" --native-only
fi
if "$root/scripts/can-run-32bit.sh" --native; then
  windows_tree=win32 trees="native win32"
else
  windows_tree=win64 trees="native win32 win64"
fi
BUILD_TREES=${BUILD_TREES:-$trees} "$root/scripts/build.sh"

status=0
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
# Every tree's results go to a JUnit file, so that a skip nobody expects
# fails the run (scripts/expected-skips.txt lists the expected ones).
ctest_junit=(--output-junit ctest-junit.xml --test-output-size-passed 1000000)
check_skips() { # tree
  "$root/scripts/check-skips.py" "$1" "$build/$1/ctest-junit.xml" \
    "$root/scripts/expected-skips.txt" || status=1
}

# One line of free space per tree: a full disk shows first as tests that
# fail to make their prefixes and as results CTest cannot write.
disk_left() { echo "== disk: $(df -h --output=avail "$build" | tail -1 | tr -d ' ') left for $build ($1)"; }

disk_left "after the build"
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
  disk_left "after the $1 tests"
  # Nothing of the run may stay behind.
  WINEPREFIX="$build/$1/wineprefix" wineserver -k 2>/dev/null || true
  "$root/scripts/wine-leftovers.sh" "$build/$1" || status=1
}

run_windows_tests "$windows_tree"

if [ "$windows_tree" = win32 ]; then
  # The results the shipped build must share with the native cores.
  echo "== the shipped build's results beside the native build's"
  "$root/scripts/compare-builds.sh" "$build/win32" "$build/native" suggestions core-circuits || status=1
  exit $status
fi

# Whether the shipped subset runs where 32-bit code runs only emulated
# (through qemu, each program start taking a minute or more; see
# test-shipped.sh for what it runs and how long it may take). SHIPPED_SUBSET=1
# or 0 decides for one run.
shipped_subset_when_emulated=${SHIPPED_SUBSET:-0}
if [ "$shipped_subset_when_emulated" = 1 ]; then
  echo "== the shipped subset under 32-bit Wine (win32)"
  "$root/scripts/test-shipped.sh" "$build" || status=1
else
  echo "== the shipped subset runs emulated only when asked for (SHIPPED_SUBSET=1); the win64 build stands in"
fi
exit $status
