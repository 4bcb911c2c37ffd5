#!/usr/bin/env bash
# Installs every Debian package that the two builds and their tests need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  cmake make g++ git
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-tools
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 libwine-dev:i386 fonts-wine
  xvfb xauth xclip xdotool imagemagick
  googletest libgtest-dev libgmock-dev
  wamerican hunspell hunspell-en-us aspell aspell-en
  libjpeg-turbo-progs libjpeg62-turbo-dev jpeginfo python3-skimage
  ngspice
  python3 python3-aiosmtpd sharutils
)

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
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
