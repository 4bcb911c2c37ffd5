#!/usr/bin/env bash
# scripts/fuzz-coverage.sh on two planted harnesses: one that crashes on an
# input starting with "Q" and one that never fails. The run must fail, keep
# the crashing input (which must crash the harness again), and report the
# clean one as clean, with inputs, edges and features for both.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cat >"$scratch/planted.cpp" <<'CPP'
#include <cstddef>
#include <cstdint>
#include <cstdlib>
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size > 0 && data[0] == 'Q')
    std::abort();
  return 0;
}
CPP
cat >"$scratch/clean.cpp" <<'CPP'
#include <cstddef>
#include <cstdint>
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  return size > 1 && data[0] == data[1];
}
CPP
for name in planted clean; do
  if ! clang++ -fsanitize=fuzzer,address,undefined "$scratch/$name.cpp" -o "$scratch/$name" \
    2>"$scratch/$name.err"; then
    echo "skipped: clang++ cannot link a libFuzzer program here"
    cat "$scratch/$name.err"
    exit 77
  fi
done
mkdir -p "$scratch/seeds"
echo abc >"$scratch/seeds/one"
printf 'planted\t%s\t%s\nclean\t%s\t%s\n' "$scratch/planted" "$scratch/seeds" \
  "$scratch/clean" "$scratch/no-seeds" >"$scratch/listing"

FUZZ_LISTING=$scratch/listing FUZZ_WORK=$scratch/work \
  "$root/scripts/fuzz-coverage.sh" 5 2 >"$scratch/out" 2>&1
status=$?
cat "$scratch/out"
fail() {
  echo "FAILED: $*"
  exit 1
}
[ $status -eq 1 ] || fail "the run ended with $status, not 1"
grep -qE '^  planted +[0-9]+ +[0-9]+ +[0-9]+ +[0-9]+  FOUND: ' "$scratch/out" ||
  fail "the crash is not reported with its figures"
grep -qE '^  clean +[0-9]+ +[0-9]+ +[0-9]+ +[0-9]+  clean$' "$scratch/out" ||
  fail "the clean harness is not reported clean with its figures"
kept=$(ls "$scratch/work/crashes/planted/")
[ -n "$kept" ] || fail "no input kept"
grep -q "$scratch/work/crashes/planted/" "$scratch/out" || fail "the kept input is not named"
for input in "$scratch/work/crashes/planted/"*; do
  head -c 1 "$input" | grep -q Q || fail "kept input $input does not start with Q"
  "$scratch/planted" "$input" >/dev/null 2>&1 && fail "replaying $input does not crash"
done
[ -z "$(ls "$scratch/work/crashes/clean/")" ] || fail "the clean harness kept an input"
echo "passed"
