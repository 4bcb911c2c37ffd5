#!/usr/bin/env bash
# The project's main command: installs what is missing, builds everything and
# starts Lexitray under Wine, with the shipped English dictionary beside it
# and inside a virtual display when there is no display. The shipped 32-bit
# build starts only where the kernel runs 32-bit code itself; elsewhere
# (including where it runs only through an emulator, which makes a user wait
# minutes) the 64-bit build of the same sources starts under 64-bit Wine
# (see README).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_ROOT:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/setup-32bit.sh" --native-only
"$root/scripts/build.sh"
if "$root/scripts/can-run-32bit.sh" --native; then
  wine_bits=32 tree=win32
else
  wine_bits=64 tree=win64
fi
exe="$build/$tree/clipboard-checker/Lexitray.exe"
if [ ! -f "$exe" ]; then
  echo "Built the trees, but $exe is missing; nothing to start." >&2
  exit 1
fi
wine_prefix="$build/$tree/wineprefix"
. "$root/scripts/wine-env.sh"
export WINEDEBUG=-all
cd "$(dirname "$exe")"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$WINE" "$exe"
fi
exec "$WINE" "$exe"
