#!/usr/bin/env bash
# The skip check fails a run with a skip it does not expect, names it, and
# lets expected skips pass: a ctest skip by return code, one by message,
# and a GoogleTest case skipped inside a whole test program.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.20)
project(skips NONE)
enable_testing()
add_test(NAME runs COMMAND true)
add_test(NAME by-code COMMAND sh -c "echo 'skipped: no peer'; exit 77")
set_tests_properties(by-code PROPERTIES SKIP_RETURN_CODE 77)
add_test(NAME by-message COMMAND sh -c "echo '[  SKIPPED ] no locale'")
set_tests_properties(by-message PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
add_test(NAME program COMMAND sh -c "printf '[  SKIPPED ] Suite.Case (3 ms)\\n[  SKIPPED ] 1 test, listed below:\\n'")
CMAKE
cmake -S "$work" -B "$work/build" >/dev/null
(cd "$work/build" && ctest --output-junit junit.xml --test-output-size-passed 100000 >/dev/null)
check=("$root/scripts/check-skips.py" native "$work/build/junit.xml")
failures=0

echo "# nothing expected" >"$work/none.txt"
if "${check[@]}" "$work/none.txt" >"$work/out"; then
  echo "FAIL: three unexpected skips passed"
  failures=1
fi
for name in by-code by-message Suite.Case; do
  grep -q "unexpected skip (native): $name" "$work/out" || {
    echo "FAIL: $name not named"
    failures=1
  }
done

printf 'native by-* reasons\nwin* Suite.Case only under Wine\n' >"$work/partial.txt"
if "${check[@]}" "$work/partial.txt" >"$work/out"; then
  echo "FAIL: a skip expected only in another tree passed"
  failures=1
fi
grep -q "Suite.Case" "$work/out" && ! grep -q "by-code" "$work/out" || {
  echo "FAIL: the list's tree patterns were not applied"
  failures=1
}

printf '* by-* reasons\nnative Suite.* reason\n' >"$work/all.txt"
"${check[@]}" "$work/all.txt" || {
  echo "FAIL: expected skips failed the run"
  failures=1
}
cat "$work/out"
exit $failures
