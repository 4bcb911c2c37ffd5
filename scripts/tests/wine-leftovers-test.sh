#!/usr/bin/env bash
# The leftover check of a Windows test run fails on a Wine loader or an
# emulator planted with one of the tree's prefixes, names it and ends it;
# it passes on a clean run, on Wine of another tree, on other programs that
# carry the tree's prefix, and on a process that ends within the grace time.
. "$(dirname "$0")/../../testing/script-test.sh"
tree=$work/tree
mkdir -p "$work/bin" "$tree/wineprefix"
for name in wine-preloader qemu-i386-static sleeper; do cp /bin/sleep "$work/bin/$name"; done
cp /bin/sleep "$work/bin/wine"

planted=()
plant() { # program prefix seconds
  WINEPREFIX=$2 "$work/bin/$1" "$3" &
  planted+=($!)
}
end_planted() {
  local pid
  for pid in "${planted[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  planted=()
}
trap 'end_planted; rm -rf "$work"' EXIT

# what | program | prefix | seconds it runs | grace | expected
cases=(
  "a clean run|||||pass"
  "a planted Wine loader|wine-preloader|$tree/wineprefix|300|1|fail"
  "a planted emulator|qemu-i386-static|$tree/installer/tests/scratch/prefix|300|1|fail"
  "Wine of another tree|wine|$work/other/wineprefix|300|1|pass"
  "another program with the tree's prefix|sleeper|$tree/wineprefix|300|1|pass"
  "Wine that ends within the grace time|wine|$tree/wineprefix|1|20|pass"
)
for row in "${cases[@]}"; do
  IFS='|' read -r what program prefix seconds grace expected <<<"$row"
  [ -z "$program" ] || plant "$program" "$prefix" "$seconds"
  got=pass
  LEFTOVER_GRACE=${grace:-1} "$root/scripts/wine-leftovers.sh" "$tree" >"$work/out" 2>&1 || got=fail
  [ "$got" = "$expected" ] || { fail "$what: expected $expected, got $got"; cat "$work/out"; }
  if [ "$expected" = fail ]; then
    grep -q "FAIL: left running after the run, now ended: *${planted[0]} .*$program" "$work/out" ||
      { fail "$what: the report does not name it"; cat "$work/out"; }
    # Ended, it waits as a zombie until this shell reaps it.
    [[ "$(ps -o stat= -p "${planted[0]}")" != [^Z]* ]] || fail "$what: still running after the check"
  elif [ -n "$program" ] && ((seconds > 1)); then
    kill -0 "${planted[0]}" 2>/dev/null || fail "$what: ended though it is none of the run's"
  fi
  end_planted
done

finish "the leftover check fails on planted Wine and emulator processes of the tree, and only on them"
