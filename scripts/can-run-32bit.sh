#!/usr/bin/env bash
# Succeeds when this machine can run 32-bit x86 Windows programs: the kernel
# starts i386 programs (natively, or through a registered emulator) and
# Wine's 32-bit loader is installed. Kernels booted without IA-32 emulation
# and with no emulator registered cannot.
#   --kernel  only ask whether the kernel starts i386 programs (used before
#             32-bit Wine is installed)
#   --native  succeed only where the kernel runs them itself: no enabled
#             binfmt_misc handler takes i386 programs
#   --how     print "native", "emulated" or "no", and succeed
# SETUP_BINFMT_DIR names another binfmt_misc folder (for the tests).
set -eu
binfmt=${SETUP_BINFMT_DIR:-/proc/sys/fs/binfmt_misc}

# The smallest i386 ELF program: exit(0) through int 0x80.
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$probe"
printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$probe"
printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000' >>"$probe"
printf '\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010' >>"$probe"
printf '\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000' >>"$probe"
printf '\270\001\000\000\000\061\333\315\200' >>"$probe"
chmod +x "$probe"

# Whether an enabled magic-number handler of binfmt_misc matches the probe:
# the kernel hands such programs to the handler's interpreter (an emulator)
# before it would run them itself.
matches() { # header-hex offset magic-hex mask-hex
  local i byte want bits
  for ((i = 0; i < ${#3}; i += 2)); do
    byte=$((0x${1:$2 * 2 + i:2}))
    want=$((0x${3:i:2}))
    bits=255
    [ -z "$4" ] || bits=$((0x${4:i:2}))
    (((byte & bits) == (want & bits))) || return 1
  done
}
emulated() {
  [ -r "$binfmt/status" ] && [ "$(cat "$binfmt/status")" = enabled ] || return 1
  header=$(od -An -v -tx1 -N 128 "$probe" | tr -d ' \n')
  for entry in "$binfmt"/*; do
    case ${entry##*/} in register | status) continue ;; esac
    [ -r "$entry" ] && [ "$(head -n 1 "$entry")" = enabled ] || continue
    offset=$(sed -n 's/^offset //p' "$entry")
    magic=$(sed -n 's/^magic //p' "$entry")
    mask=$(sed -n 's/^mask //p' "$entry")
    [ -n "$magic" ] || continue
    matches "$header" "${offset:-0}" "$magic" "$mask" && return 0
  done
  return 1
}

kernel_runs_i386=yes
"$probe" 2>/dev/null || kernel_runs_i386=no

case "${1:-}" in
--kernel) [ $kernel_runs_i386 = yes ] ;;
--native) [ $kernel_runs_i386 = yes ] && ! emulated && /usr/lib/wine/wine --version >/dev/null 2>&1 ;;
--how)
  if [ $kernel_runs_i386 = no ]; then
    echo no
  elif emulated; then
    echo emulated
  else
    echo native
  fi
  ;;
*) [ $kernel_runs_i386 = yes ] && /usr/lib/wine/wine --version >/dev/null 2>&1 ;;
esac
