#!/usr/bin/env bash
# The set-up's 32-bit part: 32-bit Wine for running the shipped build, set
# up after the 64-bit set-up (and by the test command after the 64-bit
# tests, see setup.sh). It never fails: whatever cannot be done is said in
# one line, and the tests then go on with the 64-bit build alone.
#   --native-only  never register an emulator (the main command, which
#                  starts the 32-bit build only where it runs natively)
#
# 1. A kernel that starts i386 programs natively is used as it is. Otherwise,
#    where binfmt_misc can be written and no handler for i386 programs is
#    registered yet, qemu-user-static's i386 interpreter is registered (and
#    no other handler touched): 32-bit programs then run emulated.
# 2. wine32:i386 is installed. When a mirror in mid-sync serves an i386
#    index short ("File has unexpected size"), apt leaves it out and the
#    multi-arch libraries of the two architectures cannot agree. The whole
#    stanzas that can be read of it are then given to apt for this one
#    install (partial-index.py) and taken away again afterwards. That index
#    cannot be checked against the signed release file (its size differs);
#    apt still checks every package it downloads against its stanza's SHA256.
set -uo pipefail
#
# SETUP_BINFMT_DIR, SETUP_QEMU_I386, SETUP_APT_HELPER and SETUP_CAN_RUN_32BIT
# name other places for the set-up's own test.
root=$(cd "$(dirname "$0")/.." && pwd)
binfmt=${SETUP_BINFMT_DIR:-/proc/sys/fs/binfmt_misc}
qemu=${SETUP_QEMU_I386:-/usr/bin/qemu-i386-static}
apt_helper=${SETUP_APT_HELPER:-/usr/lib/apt/apt-helper}
can_run=${SETUP_CAN_RUN_32BIT:-$root/scripts/can-run-32bit.sh}

sudo_cmd=()
if [ "$(id -u)" != 0 ]; then sudo_cmd=(sudo); fi
as_root() { "${sudo_cmd[@]}" "$@"; }

work=$(mktemp -d)
mended=()
cleanup() {
  if [ ${#mended[@]} -gt 0 ]; then as_root rm -f "${mended[@]}"; fi
  rm -rf "$work"
}
trap cleanup EXIT

give_up() {
  echo "setup: no 32-bit Wine: $*; the 64-bit build stands in"
  exit 0
}

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# The i386 ELF header (class, data, version, type EXEC or DYN, machine 3)
# under the mask that qemu's own registrations use.
i386_magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

register_emulator() {
  if [ "${#sudo_cmd[@]}" -gt 0 ] && ! command -v sudo >/dev/null; then
    give_up "this kernel cannot run 32-bit code, and registering an emulator needs root"
  fi
  if [ ! -e "$binfmt/register" ] &&
    ! as_root mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null; then
    give_up "this kernel cannot run 32-bit code and binfmt_misc cannot be mounted"
  fi
  if [ -e "$binfmt/qemu-i386" ]; then
    give_up "an i386 handler \"qemu-i386\" is registered but does not start i386 programs (left alone)"
  fi
  if [ ! -x "$qemu" ]; then
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q --no-install-recommends \
      qemu-user-static >"$work/qemu.log" 2>&1 ||
      give_up "qemu-user-static could not be installed ($(tail -n 1 "$work/qemu.log"))"
  fi
  # F: the kernel opens the interpreter now, so it serves in every mount
  # namespace and chroot as well.
  if ! printf '%s' ":qemu-i386:M::$i386_magic:$i386_mask:$qemu:F" |
    as_root tee "$binfmt/register" >/dev/null 2>&1; then
    give_up "this kernel cannot run 32-bit code and binfmt_misc cannot be written"
  fi
  "$can_run" --kernel ||
    give_up "the i386 interpreter was registered but still does not start i386 programs"
  echo "setup: registered qemu-user-static's i386 interpreter with binfmt_misc: 32-bit programs run emulated (slowly)"
}

# Gives apt the readable part of every package index it failed to fetch
# because the mirror served it short or different, unless it kept an older
# copy. The index files go where apt keeps its lists; cleanup removes them.
mend_short_indexes() { # update-log
  local url target
  grep -o 'Failed to fetch [^ ]*' "$1" | awk '{print $4}' | sort -u >"$work/failed"
  while read -r url; do
    target=$(apt-get indextargets --no-release-info --format '$(URI) $(FILENAME)' |
      awk -v u="${url%.*}" '$1 == u {print $2}')
    [ -n "$target" ] && ! compgen -G "$target*" >/dev/null || continue
    "$apt_helper" -o APT::Sandbox::User=root download-file "$url" \
      "$work/index.${url##*.}" >/dev/null 2>&1 || continue
    if stanzas=$("$root/scripts/partial-index.py" "$work/index.${url##*.}" "$work/index"); then
      as_root cp "$work/index" "$target" && mended+=("$target") &&
        echo "setup: $url arrived incomplete; using the $stanzas whole entries it holds for this install"
    fi
  done <"$work/failed"
}

install_wine32() {
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386 || give_up "the i386 architecture could not be added"
  fi
  as_root apt-get update -q 2>&1 | tee "$work/update.log" || mend_short_indexes "$work/update.log"
  if as_root apt-get install -y -q --no-install-recommends wine32:i386 2>&1 | tee "$work/install.log"; then
    return 0
  fi
  local conflicts
  conflicts=$(sed -n 's/^ *\([^ :]\+\(:[a-z0-9]\+\)\?\) : \(Pre\)\?Depends:.*/\1/p' "$work/install.log" |
    sort -u | paste -sd ' ')
  give_up "installing wine32:i386 failed${conflicts:+ (apt could not reconcile: $conflicts)}"
}

if ! "$can_run" --kernel; then
  [ "${1:-}" != --native-only ] || give_up "this kernel cannot run 32-bit code"
  register_emulator
fi
installed wine32:i386 || install_wine32
"$can_run" || give_up "32-bit Wine is installed but does not start"
exit 0
