#!/bin/sh
# Succeeds when this machine can run 32-bit x86 Windows programs: the kernel
# starts i386 programs (natively, or through a registered emulator) and
# Wine's 32-bit loader is installed. Kernels booted without IA-32 emulation
# and with no emulator registered cannot.
#   --kernel  only ask whether the kernel starts i386 programs (used before
#             32-bit Wine is installed)
set -eu

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
"$probe" 2>/dev/null || exit 1

[ "${1:-}" = --kernel ] && exit 0
/usr/lib/wine/wine --version >/dev/null 2>&1
