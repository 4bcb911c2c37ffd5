#!/usr/bin/env bash
# can-run-32bit.sh tells native 32-bit apart from emulated by the handlers
# of binfmt_misc (a stand-in folder here): an enabled handler whose magic
# matches i386 programs means emulated; a disabled one, one for another
# machine, or binfmt_misc switched off leaves a kernel that runs i386
# programs itself native. A kernel that runs none is "no" in every case.
. "$(dirname "$0")/../../testing/script-test.sh"

i386_magic=7f454c4601010100000000000000000002000300
i386_mask=fffffffffffefe00fffffffffffffffffeffffff
arm_magic=7f454c4601010100000000000000000002002800
handler() { # state magic mask
  printf '%s\ninterpreter /usr/bin/qemu-static\nflags: F\noffset 0\nmagic %s\n' "$1" "$2" >"$work/binfmt/qemu"
  [ -z "${3:-}" ] || printf 'mask %s\n' "$3" >>"$work/binfmt/qemu"
}
how() { SETUP_BINFMT_DIR=$work/binfmt "$root/scripts/can-run-32bit.sh" --how; }

mkdir -p "$work/binfmt"
echo enabled >"$work/binfmt/status"
if [ "$(how)" = no ]; then
  # This kernel runs no i386 program: nothing a handler says can change that
  # (an emulator that were registered for real would make the probe run).
  handler enabled "$i386_magic" "$i386_mask"
  [ "$(how)" = no ] || fail "a kernel without 32-bit code and no real emulator: $(how)"
  echo "this kernel runs no 32-bit code: every case answers no"
else
  [ "$(how)" = native ] || fail "no handler: $(how), expected native"
  handler enabled "$i386_magic" "$i386_mask"
  [ "$(how)" = emulated ] || fail "an enabled i386 handler: $(how), expected emulated"
  handler enabled "$i386_magic"
  [ "$(how)" = emulated ] || fail "an enabled i386 handler without a mask: $(how), expected emulated"
  handler disabled "$i386_magic" "$i386_mask"
  [ "$(how)" = native ] || fail "a disabled i386 handler: $(how), expected native"
  handler enabled "$arm_magic" "$i386_mask"
  [ "$(how)" = native ] || fail "a handler for another machine: $(how), expected native"
  handler enabled "$i386_magic" "$i386_mask"
  echo disabled >"$work/binfmt/status"
  [ "$(how)" = native ] || fail "binfmt_misc switched off: $(how), expected native"
fi

finish "native and emulated 32-bit code are told apart"
