#!/usr/bin/env bash
# The cross-build comparison passes on two trees with the same results and
# fails, naming the file, on one changed bit of a voltage, a changed
# suggestion, a changed JPEG byte, a file missing from the other tree, and a
# kind with nothing to compare.
. "$(dirname "$0")/../../testing/script-test.sh"
expect() { # pass|fail name [grep-pattern]
  local got=pass
  "$root/scripts/compare-builds.sh" "$work/a" "$work/b" jpeg circuits core-circuits suggestions \
    >"$work/out" 2>&1 || got=fail
  [ "$got" = "$1" ] || { fail "$2: expected $1, got $got"; cat "$work/out"; }
  if [ -n "${3:-}" ] && ! grep -q -- "$3" "$work/out"; then
    fail "$2: the report does not say '$3'"
    cat "$work/out"
  fi
}

make_tree() { # dir
  mkdir -p "$1/plugin-adapters/tests/scratch/export/out" "$1/semi-lib/tests/qorsim-ngspice-check" \
    "$1/semi-lib/tests/scratch-ngspice-check" "$1/spelling/tests"
  printf '\377\330\377\340JFIF\000\001' >"$1/plugin-adapters/tests/scratch/export/out/image.jpg"
  printf '# 1N4148 forward\t7\nV(a)\tv(1)\t1\t1e-06\t1e-05\t0.64178294432138302\n' \
    >"$1/semi-lib/tests/qorsim-ngspice-check/qorsim-01.ours"
  cp "$1/semi-lib/tests/qorsim-ngspice-check/qorsim-01.ours" "$1/semi-lib/tests/scratch-ngspice-check/check-01.ours"
  printf 'recieve\treceive|relieve\nwierd\tweird|wired\n' >"$1/spelling/tests/scratch-suggestions-classic.txt"
}
reset() {
  rm -rf "$work/a" "$work/b"
  make_tree "$work/a"
  make_tree "$work/b"
}

reset
expect pass "the same results" "1 circuits files compared with"

reset
sed -i 's/0.64178294432138302/0.64178294432138313/' "$work/b/semi-lib/tests/qorsim-ngspice-check/qorsim-01.ours"
expect fail "the last bit of a voltage" "qorsim-01.ours differs"

reset
sed -i 's/0.64178294432138302/0.64178294432138313/' "$work/b/semi-lib/tests/scratch-ngspice-check/check-01.ours"
expect fail "the last bit of a core's voltage" "check-01.ours differs"

reset
printf 'recieve\treceive|relieve\nwierd\twired|weird\n' >"$work/b/spelling/tests/scratch-suggestions-classic.txt"
expect fail "suggestions in another order" "scratch-suggestions-classic.txt differs"

reset
printf '\377\330\377\340JFIF\000\002' >"$work/b/plugin-adapters/tests/scratch/export/out/image.jpg"
expect fail "one JPEG byte" "image.jpg differs"

reset
rm "$work/b/spelling/tests/scratch-suggestions-classic.txt"
expect fail "a file the other tree lacks" "has no counterpart"

reset
rm -r "$work/a/semi-lib"
expect fail "nothing to compare" "no circuits files to compare"

finish "the cross-build comparison catches every planted difference"
