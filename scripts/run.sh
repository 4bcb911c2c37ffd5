#!/usr/bin/env bash
# The project's main command: installs what is missing, builds everything and
# starts the main program under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
exe="$root/build/win32/clipboard-checker/Lexitray.exe"
if [ ! -f "$exe" ]; then
  echo "Built both trees. Lexitray.exe is not part of the build yet; nothing to start."
  exit 0
fi
export WINEPREFIX="$root/build/win32/wineprefix" WINEARCH=win32 WINEDEBUG=-all
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a wine "$exe"
fi
exec wine "$exe"
