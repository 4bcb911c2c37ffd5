#!/bin/sh
# Gives a Wine prefix the fonts Billpost asks for by their Windows names:
# "Courier New", which a bare prefix lacks, is replaced by Liberation Mono,
# which has the same metrics, so that the invoice's columns line up as they
# do on Windows instead of drifting in a proportional fallback.
# Usage: wine-font-replacements.sh <32|64> <prefix>
wine_bits=$1 wine_prefix=$2
. "$(dirname "$0")/wine-env.sh"
export WINEDEBUG=-all
if ! fc-list "Liberation Mono" | grep -q .; then
  echo "Liberation Mono is not installed (scripts/setup.sh installs fonts-liberation2)" >&2
  exit 1
fi
exec "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "Courier New" /d "Liberation Mono" /f \
  >/dev/null 2>&1 </dev/null
