#!/usr/bin/env bash
# Installs every Debian package that the builds and their tests need.
# Idempotent: when everything is present it only checks and returns.
#
# Package mirrors are sometimes caught in mid-sync: one index fails to
# download and `apt-get update` exits non-zero. The index update is retried
# a few times and then the install is tried anyway, since it usually needs
# none of the missing index. When the install fails, one message names the
# packages apt could not reconcile and the likely cause.
#
# 32-bit Wine is set up apart, by setup-32bit.sh, which the test command runs
# before the build where the kernel runs 32-bit code itself, and elsewhere
# only for the shipped subset, after the 64-bit tests: once 32-bit Wine is
# installed, 64-bit Wine makes the 32-bit half of every new prefix too, and
# under emulation that costs minutes per prefix.
#
# SETUP_RETRY_PAUSE (seconds, default 10) and SETUP_UPDATE_TRIES (default 3)
# exist for the set-up's own test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  cmake make g++ git clang clang-format
  libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-tools
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 libwine-dev fonts-wine fonts-dejavu-core fonts-liberation2
  xvfb xauth xclip xdotool imagemagick
  googletest libgtest-dev libgmock-dev
  wamerican hunspell hunspell-en-us aspell aspell-en
  libjpeg-turbo-progs libjpeg62-turbo-dev jpeginfo python3-skimage
  ngspice
  python3 python3-aiosmtpd sharutils postfix
)

tries=${SETUP_UPDATE_TRIES:-3}
pause=${SETUP_RETRY_PAUSE:-10}

sudo_cmd=()
if [ "$(id -u)" != 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
# Postfix serves only the mail tests, which run it with a configuration of
# their own: its installer must neither ask nor set up the system's mail.
if printf '%s\n' "${missing[@]}" | grep -qx postfix && command -v debconf-set-selections >/dev/null; then
  echo "postfix postfix/main_mailer_type select No configuration" | "${sudo_cmd[@]}" debconf-set-selections
fi

for ((try = 1; ; try++)); do
  if "${sudo_cmd[@]}" apt-get update -q; then
    break
  fi
  if ((try >= tries)); then
    echo "setup: the package index did not update after $tries tries; installing from what was fetched"
    break
  fi
  echo "setup: the package index did not update (try $try of $tries); trying again in ${pause}s"
  sleep "$pause"
done

log=$(mktemp)
trap 'rm -f "$log"' EXIT
if "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" 2>&1 | tee "$log"; then
  exit 0
fi

# apt lists each package it could not satisfy as " name : Depends: ...".
conflicts=$(sed -n 's/^ *\([^ :]\+\(:[a-z0-9]\+\)\?\) : \(Pre\)\?Depends:.*/\1/p' "$log" | sort -u | paste -sd ' ')
[ -n "$conflicts" ] || conflicts="none named; see the output above"
echo "setup: the install failed. Packages apt could not reconcile: $conflicts." >&2
echo "setup: likely cause: an incomplete package index (a mirror in mid-sync), so that the versions of some libraries disagree; run the command again later." >&2
exit 1
