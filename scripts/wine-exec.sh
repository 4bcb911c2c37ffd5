#!/bin/sh
# Runs a Windows program of the build under Wine in the build tree's prefix.
# Usage: wine-exec.sh <32|64> <prefix> <program.exe> [args...]
wine_bits=$1 wine_prefix=$2
. "$(dirname "$0")/wine-env.sh"
shift 2
# Quiet, but still say when a DLL fails to load (plain -all hides that).
export WINEDEBUG="${WINEDEBUG:--all,err+module}"
exec "$WINE" "$@"
