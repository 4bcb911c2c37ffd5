#!/usr/bin/env bash
# Builds the coverage-guided harnesses (clang's libFuzzer, with ASan and
# UBSan) in <build>/fuzz and runs each for a chosen time:
#   scripts/fuzz-coverage.sh [seconds] [parallel] [name-regex]   (defaults: 60, 3, all)
# Each harness starts from its committed seeds and keeps what it finds in
# <build>/fuzz/corpus/<name>/, so a later run goes on from there. An input
# that crashes, hangs (25 s), leaks or asks for more than 256 MB at once is
# kept in <build>/fuzz/crashes/<name>/ and fails the run (replay it with
# <program> <file>). Prints one line per harness: inputs run, seconds, edges
# covered (cov) and coverage features (ft). Exits 77 where clang cannot link
# a libFuzzer program. FUZZ_WORK puts the corpora, crashes and logs in
# another folder (default: the tree), so that two runs can share one build;
# FUZZ_LISTING=<file> runs the programs it lists (lines as in fuzzers.txt)
# instead of building the tree's.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_ROOT:-$root/build}
seconds=${1:-60}
parallel=${2:-3}
only=${3:-.}
tree=$build/fuzz
work=${FUZZ_WORK:-$tree}

probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }' \
  >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" \
  >/dev/null 2>&1; then
  echo "fuzz-coverage: clang++ cannot link a libFuzzer program here (clang and libclang-rt-dev?)"
  exit 77
fi

listing=${FUZZ_LISTING:-}
if [ -z "$listing" ]; then
  # Configured once; the build itself reconfigures when a CMakeLists.txt changes.
  if [ ! -f "$tree/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$tree" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
      -DCMAKE_CXX_COMPILER=clang++ -DFUZZING=ON -DBUILD_PARTS="${BUILD_PARTS:-}" >/dev/null
  fi
  cmake --build "$tree" -j "${BUILD_JOBS:-3}" --target fuzzers >"$probe/build.log" 2>&1 ||
    { cat "$probe/build.log"; exit 1; }
  listing=$tree/fuzzers.txt
fi

mkdir -p "$work/logs"
run_one() { # name program seeds
  local corpus=$work/corpus/$1 crashes=$work/crashes/$1/
  mkdir -p "$corpus" "$crashes"
  local dirs=("$corpus")
  [ -d "$3" ] && dirs+=("$3")
  local start=$SECONDS status=0
  ASAN_OPTIONS=detect_leaks=1 "$2" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
    -malloc_limit_mb=256 -print_final_stats=1 -artifact_prefix="$crashes" "${dirs[@]}" \
    >"$work/logs/$1.log" 2>&1 || status=$?
  echo $((SECONDS - start)) >"$work/logs/$1.seconds"
  return $status
}
export -f run_one
export work seconds

harnesses=$(grep -E "^[^	]*($only)" "$listing" || true)
[ -n "$harnesses" ] || { echo "fuzz-coverage: no harness matches '$only'"; exit 1; }
echo "fuzz-coverage: $(echo "$harnesses" | wc -l) harnesses, $seconds s each, $parallel at a time"
status=0
echo "$harnesses" | tr '\t' '\n' | xargs -d '\n' -n 3 -P "$parallel" bash -c 'run_one "$@"' _ ||
  status=1

printf '  %-26s %10s %8s %7s %7s  %s\n' harness inputs seconds cov ft result
while IFS=$'\t' read -r name _ _; do
  log=$work/logs/$name.log
  done_line=$(grep -E '^#[0-9]+.*(DONE|cov:)' "$log" | tail -1 || true)
  runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo '?')
  took=$(cat "$work/logs/$name.seconds" 2>/dev/null || echo '?')
  cov=$(echo "$done_line" | grep -oE 'cov: [0-9]+' | grep -oE '[0-9]+' || echo '?')
  ft=$(echo "$done_line" | grep -oE 'ft: [0-9]+' | grep -oE '[0-9]+' || echo '?')
  result=clean
  if ls "$work/crashes/$name/" 2>/dev/null | grep -q .; then
    result="FOUND: $(ls "$work/crashes/$name/" | head -3 | sed "s|^|$work/crashes/$name/|" |
      paste -sd ' ')"
    status=1
  elif ! grep -q 'Done [0-9]* runs' "$log"; then
    result="did not finish: see $log"
    status=1
  fi
  printf '  %-26s %10s %8s %7s %7s  %s\n' "$name" "$runs" "$took" "$cov" "$ft" "$result"
done <<<"$harnesses"
exit $status
