#!/usr/bin/env bash
# Processor time of the waits that must sleep rather than spin, under Wine:
# the component library's pumped wait (two timer ticks, two seconds) and
# the installer's wait for an old uninstaller (three seconds). Each prints
# its figure beside the bound it must stay under. Builds the Windows tree
# first (BUILD_ROOT puts it elsewhere, as for scripts/build.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${BUILD_ROOT:-$root/build}") # Wine wants absolute prefixes
if "$root/scripts/can-run-32bit.sh"; then
  wine_bits=32 tree=win32
else
  wine_bits=64 tree=win64
fi
if [ -z "${WAITS_BENCH_BUILT:-}" ]; then
  BUILD_TREES=$tree BUILD_PARTS="platform/base;platform/components;jpeg;plugin-adapters;platform/plugin-host;installer" \
    "$root/scripts/build.sh"
fi
# Without a display the script runs itself again under Xvfb.
if [ -z "${DISPLAY:-}" ]; then
  WAITS_BENCH_BUILT=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
tree_dir=$build/$tree
prefix=$tree_dir/wineprefix
status=0
echo "== pumped wait (message-pump-bench)"
"$root/scripts/wine-exec.sh" "$wine_bits" "$prefix" \
  "$tree_dir/platform/components/win32/tests/message-pump-bench.exe" || status=1
WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
echo "== installer waiting for an old uninstaller"
tests=$tree_dir/installer/tests
args=(--tree "$tree_dir" --source "$root" --bits "$wine_bits" --template "$tests/template-prefix"
  --scratch "$tests/scratch-bench")
/usr/bin/python3 "$root/installer/tests/installer-e2e-test.py" template "${args[@]}" >/dev/null
/usr/bin/python3 "$root/installer/tests/installer-e2e-test.py" reinstall-wait-cpu "${args[@]}" |
  grep -E "processor time|failure" || status=1
exit $status
