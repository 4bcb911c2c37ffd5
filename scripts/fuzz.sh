#!/usr/bin/env bash
# Runs every fuzz target of the native tree at a chosen scale and seed, a few
# at a time, and prints the inputs and seconds of each:
#   scripts/fuzz.sh [scale] [seed] [parallel]     (defaults: 100, 20261209, 4)
# Scale 1 is what CI runs. An input that breaks a reader is written to
# <build>/native/fuzz-artefacts/<test>.fuzz-input (replay it with
# FUZZ_REPLAY=<file> and the test's --gtest_filter).
#   scripts/fuzz.sh --coverage [seconds] [parallel] [name-regex]
# runs the coverage-guided harnesses instead (scripts/fuzz-coverage.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = --coverage ]; then
  shift
  exec "$root/scripts/fuzz-coverage.sh" "$@"
fi
build=${BUILD_ROOT:-$root/build}
scale=${1:-100}
seed=${2:-20261209}
parallel=${3:-4}

BUILD_TREES=native "$root/scripts/build.sh"
artefacts=$build/native/fuzz-artefacts
mkdir -p "$artefacts"

# The tests that drive the fuzzer: the last TEST before each call of it.
tests=$(cd "$root" && grep -rl --include='*.cpp' 'testing_support::fuzz(' --exclude-dir=build . |
  grep -v '^./testing/' | xargs awk '
    /^TEST(_F|_P)?\(/ { name = $0; sub(/^TEST[_FP]*\( */, "", name); sub(/\).*/, "", name); gsub(/, */, ".", name) }
    /testing_support::fuzz\(/ && name != "" { print name; name = "" }' | sort -u)
regex="($(echo "$tests" | sed 's/\./\\./g' | paste -sd '|'))"

echo "fuzz: $(echo "$tests" | wc -l) targets at scale $scale, seed $seed, $parallel at a time"
status=0
timeout=$(awk -v s="$scale" 'BEGIN { print int(60 + 30 * s) }')
log=$(mktemp)
(cd "$build/native" && FUZZ_SCALE=$scale FUZZ_SEED=$seed FUZZ_ARTIFACTS=$artefacts \
  ctest -V -j "$parallel" --timeout "$timeout" -R "$regex") >"$log" 2>&1 || status=1
grep -oE 'fuzz-run: .*' "$log" | sed 's/^fuzz-run: /  /' | sort
grep -E 'tests passed|tests failed' "$log" || true
if [ $status -ne 0 ]; then
  grep -E '\*\*\*|Failed|fuzz: the input' "$log" || true
fi
rm -f "$log"

exit $status
