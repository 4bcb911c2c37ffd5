#!/bin/sh
# Makes a Wine prefix from nothing and waits until its boot has ended.
# A new prefix's first process now and then dies while the prefix is being
# made (kernel32 fails to load), so a failed attempt is thrown away and the
# prefix made once more before giving up.
# Usage: wine-new-prefix.sh <32|64> <prefix>
wine_bits=$1 wine_prefix=$2
case "$wine_prefix" in
/?*) ;;
*) echo "usage: $0 <32|64> <absolute prefix path>" >&2; exit 2 ;;
esac
. "$(dirname "$0")/wine-env.sh"
export WINEDEBUG=-all
for attempt in 1 2; do
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
  status=$?
  wineserver -w >/dev/null 2>&1
  if [ "$status" = 0 ] && [ -f "$WINEPREFIX/system.reg" ]; then
    exit 0
  fi
  echo "wineboot -i in $WINEPREFIX ended with $status (attempt $attempt of 2)" >&2
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
done
exit 1
