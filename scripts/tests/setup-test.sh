#!/usr/bin/env bash
# The set-up against a package mirror caught in mid-sync: stand-ins for
# apt-get, dpkg and dpkg-query on the PATH replay what such a mirror gave.
#   1. the index update fails twice, then works: the set-up retries and installs
#   2. the update always fails but the install works: the set-up goes on
#   3. the update fails and the install fails with apt's "held broken
#      packages": one message names the packages in conflict and the cause
# and its 32-bit part (setup-32bit.sh, which setup.sh never runs), with a
# stand-in binfmt_misc folder:
#   4. binfmt_misc cannot be mounted: one line, nothing asked of apt
#   5. no i386 handler yet: qemu's is registered, with one line saying so
#   6. a handler of that name already there is left alone; the main
#      command's --native-only never registers one, and neither does a
#      kernel that runs i386 programs itself
#   7. the i386 index arrives short: its whole stanzas serve the install and
#      are gone afterwards; a failing install is one line, never a failure
. "$(dirname "$0")/../../testing/script-test.sh"
bin=$work/bin
mkdir -p "$bin"

# Nothing is installed; i386 is already a foreign architecture.
cat >"$bin/dpkg-query" <<'STUB'
#!/bin/sh
exit 1
STUB
# The kernel starts i386 programs once $work/kernel says so or an emulator
# has been registered; 32-bit Wine starts once installed.
cat >"$bin/can-run-32bit" <<STUB
#!/bin/sh
if [ "\$1" = --kernel ]; then
  [ -s "$work/binfmt/register" ] || grep -qx yes "$work/kernel"
else
  grep -q wine32 "$work/calls"
fi
STUB
cat >"$bin/mount" <<'STUB'
#!/bin/sh
exit 32
STUB
# apt-helper serves the short index the test made.
cat >"$bin/apt-helper" <<STUB
#!/bin/sh
cp "$work/short.xz" "\$5"
STUB
lists=$work/lists
i386_url=http://mirror/debian-security/dists/bookworm-security/main/binary-i386/Packages
i386_list=$lists/mirror_debian-security_dists_bookworm-security_main_binary-i386_Packages
cat >"$bin/dpkg" <<'STUB'
#!/bin/sh
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
STUB
# apt-get: "update" fails while $work/update-failures holds a positive count;
# "install" fails when $work/install-fails exists. Each call is logged.
cat >"$bin/apt-get" <<STUB
#!/bin/bash
echo "\$*" >>"$work/calls"
case "\$1" in
update)
  n=\$(cat "$work/update-failures")
  if [ "\$n" -gt 0 ]; then
    echo \$((n - 1)) >"$work/update-failures"
    echo "E: Failed to fetch $i386_url.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100
  fi ;;
indextargets)
  echo "http://mirror/debian/dists/bookworm/main/binary-i386/Packages $lists/main_i386_Packages"
  echo "$i386_url $i386_list" ;;
install)
  if [ -e "$i386_list" ]; then grep -c '^Package:' "$i386_list" >"$work/stanzas-seen"; fi
  if [[ "\$*" == *wine32* ]]; then
    [ -e "$work/wine32-fails" ] || exit 0
    echo " libssl3:i386 : Depends: libc6:i386 (>= 2.34) but it is not going to be installed"
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100
  fi
  if [ -e "$work/install-fails" ]; then
    echo "The following packages have unmet dependencies:"
    echo " libelf1:i386 : Depends: zlib1g:i386 (>= 1:1.1.4) but it is not going to be installed"
    echo " linux-libc-dev:i386 : Depends: linux-libc-dev (= 6.1.1) but 6.1.2 is to be installed"
    echo " libwine : Depends: libgstreamer-plugins-base1.0-0 (>= 1.0.0) but it is not installable"
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100
  fi ;;
esac
exit 0
STUB
chmod +x "$bin"/*

# Unless a case says otherwise: the kernel runs no 32-bit code, and
# binfmt_misc is neither mounted nor mountable.
run_setup() { # update-failures install-fails(0/1)
  echo "$1" >"$work/update-failures"
  rm -rf "$work/install-fails" "$work/calls" "$work/binfmt" "$work/stanzas-seen" "$lists"
  mkdir -p "$work/binfmt" "$lists"
  touch "$work/calls"
  [ "$2" = 1 ] && touch "$work/install-fails"
  echo "${kernel:-no}" >"$work/kernel"
  [ -z "${binfmt_writable:-}" ] || touch "$work/binfmt/register" "$work/binfmt/status"
  set +e
  PATH="$bin:$PATH" SETUP_RETRY_PAUSE=0 SETUP_UPDATE_TRIES=3 SETUP_BINFMT_DIR="$work/binfmt" \
    SETUP_QEMU_I386=/bin/true SETUP_APT_HELPER="$bin/apt-helper" \
    SETUP_CAN_RUN_32BIT="$bin/can-run-32bit" "$root/scripts/${script:-setup.sh}" >"$work/out" 2>&1
  status=$?
  set -e
}
one_line() { # pattern
  [ "$(grep -c "$1" "$work/out")" = 1 ] || fail "expected one line matching '$1'"
}

run_setup 2 0
[ "$status" = 0 ] || fail "a mirror that recovers on the third try: exit $status"
[ "$(grep -c '^update' "$work/calls")" = 3 ] || fail "expected three index updates"
grep -q '^install' "$work/calls" || fail "no install after the index recovered"
grep -q 'try 1 of 3' "$work/out" || fail "the retry is not reported"
! grep -q i386 "$work/calls" || fail "the 64-bit set-up asked for i386 packages"

run_setup 99 0
[ "$status" = 0 ] || fail "an index that never updates but an install that works: exit $status"
[ "$(grep -c '^update' "$work/calls")" = 3 ] || fail "expected three tries, then going on"
grep -q 'installing from what was fetched' "$work/out" || fail "going on is not reported"

run_setup 99 1
[ "$status" != 0 ] || fail "a failed install must fail the set-up"
message=$(grep '^setup: the install failed' "$work/out" || true)
for p in libelf1:i386 linux-libc-dev:i386 libwine; do
  [[ "$message" == *"$p"* ]] || fail "the message does not name $p: $message"
done
grep -q 'mirror in mid-sync' "$work/out" || fail "the likely cause is not given"
# apt's own words stay visible above the message.
grep -q 'held broken packages' "$work/out" || fail "apt's output was hidden"

# 4. Without binfmt_misc: one line, nothing 32-bit asked of apt.
script=setup-32bit.sh
run_setup 0 0
[ "$status" = 0 ] || fail "no emulation possible must not fail the set-up: exit $status"
one_line '^setup: no 32-bit Wine: this kernel cannot run 32-bit code and binfmt_misc cannot be mounted; the 64-bit build stands in$'
[ ! -s "$work/calls" ] || fail "apt asked for something where 32-bit code cannot run: $(cat "$work/calls")"

# 5. binfmt_misc writable, no i386 handler: qemu's is registered.
binfmt_writable=1 run_setup 0 0
[ "$status" = 0 ] || fail "registering the emulator: exit $status"
one_line '^setup: registered qemu-user-static.s i386 interpreter with binfmt_misc'
expected=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:'
expected+='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/bin/true:F'
[ "$(cat "$work/binfmt/register")" = "$expected" ] ||
  fail "registration written: $(cat "$work/binfmt/register")"
grep -q '^install.*wine32:i386' "$work/calls" || fail "32-bit Wine not installed once emulation works"

# 6. A handler of that name is there already (disabled, say): left alone.
binfmt_writable=1 run_setup 0 0
: >"$work/binfmt/register"
echo disabled >"$work/binfmt/qemu-i386"
PATH="$bin:$PATH" SETUP_BINFMT_DIR="$work/binfmt" SETUP_QEMU_I386=/bin/true \
  SETUP_CAN_RUN_32BIT="$bin/can-run-32bit" "$root/scripts/setup-32bit.sh" >"$work/out" 2>&1 ||
  fail "an existing handler must not fail the set-up"
one_line 'handler "qemu-i386" is registered but does not start i386 programs (left alone)'
[ "$(cat "$work/binfmt/qemu-i386")" = disabled ] || fail "the existing handler was changed"

# The main command's way: never an emulator, even where one could be registered.
: >"$work/binfmt/register"
rm -f "$work/binfmt/qemu-i386"
PATH="$bin:$PATH" SETUP_BINFMT_DIR="$work/binfmt" SETUP_QEMU_I386=/bin/true \
  SETUP_CAN_RUN_32BIT="$bin/can-run-32bit" "$root/scripts/setup-32bit.sh" --native-only >"$work/out" 2>&1 ||
  fail "--native-only must not fail the set-up"
one_line '^setup: no 32-bit Wine: this kernel cannot run 32-bit code; the 64-bit build stands in$'
[ ! -s "$work/binfmt/register" ] || fail "--native-only registered an emulator"

# A kernel that runs i386 programs itself: no emulator, even where one could
# be registered, and 32-bit Wine goes on the machine.
kernel=yes binfmt_writable=1 run_setup 0 0
[ "$status" = 0 ] || fail "a kernel that runs 32-bit code: exit $status"
[ ! -s "$work/binfmt/register" ] || fail "an emulator was registered where the kernel runs 32-bit code"
! grep -q qemu "$work/out" || fail "the set-up spoke of qemu where the kernel runs 32-bit code"
grep -q '^install.*wine32:i386' "$work/calls" || fail "32-bit Wine not installed on a 32-bit kernel"

# 7. The i386 index arrives short: 3 whole stanzas, the fourth cut off.
python3 - "$work/short.xz" <<'PY'
import lzma, sys
stanza = "Package: lib{0}\nVersion: 1.{0}\nArchitecture: i386\nFilename: pool/lib{0}.deb\nSHA256: {1}\n\n"
text = "".join(stanza.format(i, "ab" * 32) for i in range(4)).encode()
packed = lzma.compress(text)
# Whatever the compressor made, keep only as much as holds three stanzas.
for size in range(len(packed)):
    got = lzma.LZMADecompressor().decompress(packed[:size])
    if len(got) > text.index(b"Package: lib3") + 20:
        break
open(sys.argv[1], "wb").write(packed[:size])
PY
kernel=yes run_setup 1 0
[ "$status" = 0 ] || fail "a short i386 index: exit $status"
[ "$(cat "$work/stanzas-seen" 2>/dev/null)" = 3 ] ||
  fail "the install did not see the index's three whole stanzas"
[ ! -e "$i386_list" ] || fail "the mended index stayed behind"
one_line "^setup: $i386_url.xz arrived incomplete; using the 3 whole entries it holds for this install$"
touch "$work/wine32-fails"
kernel=yes run_setup 1 0
[ "$status" = 0 ] || fail "a failing wine32 install must not fail the set-up: exit $status"
one_line '^setup: no 32-bit Wine: installing wine32:i386 failed (apt could not reconcile: libssl3:i386); the 64-bit build stands in$'
[ ! -e "$i386_list" ] || fail "the mended index stayed behind after a failed install"
rm -f "$work/wine32-fails"

if [ "$failures" -ne 0 ]; then
  cat "$work/out"
  exit 1
fi
echo "set-up: retry, going on, the conflict message and the 32-bit part all behave"
