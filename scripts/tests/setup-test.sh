#!/usr/bin/env bash
# The set-up against a package mirror caught in mid-sync: stand-ins for
# apt-get, dpkg and dpkg-query on the PATH replay what such a mirror gave.
#   1. the index update fails twice, then works: the set-up retries and installs
#   2. the update always fails but the install works: the set-up goes on
#   3. the update fails and the install fails with apt's "held broken
#      packages": one message names the packages in conflict and the cause
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bin=$work/bin
mkdir -p "$bin"

# Nothing is installed; i386 is already a foreign architecture.
cat >"$bin/dpkg-query" <<'STUB'
#!/bin/sh
exit 1
STUB
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
    echo "E: Failed to fetch http://mirror/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100
  fi ;;
install)
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

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run_setup() { # update-failures install-fails(0/1)
  echo "$1" >"$work/update-failures"
  rm -f "$work/install-fails" "$work/calls"
  [ "$2" = 1 ] && touch "$work/install-fails"
  set +e
  PATH="$bin:$PATH" SETUP_RETRY_PAUSE=0 SETUP_UPDATE_TRIES=3 \
    "$root/scripts/setup.sh" >"$work/out" 2>&1
  status=$?
  set -e
}

run_setup 2 0
[ "$status" = 0 ] || fail "a mirror that recovers on the third try: exit $status"
[ "$(grep -c '^update' "$work/calls")" = 3 ] || fail "expected three index updates"
grep -q '^install' "$work/calls" || fail "no install after the index recovered"
grep -q 'try 1 of 3' "$work/out" || fail "the retry is not reported"

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

if [ "$failures" -ne 0 ]; then
  cat "$work/out"
  exit 1
fi
echo "set-up: retry, going on and the conflict message all behave"
