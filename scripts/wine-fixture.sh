#!/bin/sh
# ctest fixture: "start" creates the build tree's Wine prefix once and keeps
# one wineserver alive for the whole run (without it Wine's background
# processes hold ctest's output pipe and every test costs seconds);
# "stop" ends that wineserver and everything it runs.
# Usage: wine-fixture.sh start|stop <32|64> <prefix>
set -e
action=$1
wine_bits=$2 wine_prefix=$3
. "$(dirname "$0")/wine-env.sh"
export WINEDEBUG=-all
case "$action" in
start)
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$(dirname "$0")/wine-new-prefix.sh" "$wine_bits" "$wine_prefix"
  fi
  # An already running server (say, of an earlier run still ending) serves too.
  wineserver -p >/dev/null 2>&1 </dev/null || true
  # Start the prefix's background services now, with their output going
  # nowhere: started by a test instead, they would inherit ctest's output
  # pipe and keep the test from ever ending.
  "$WINE" wineboot >/dev/null 2>&1 </dev/null
  ;;
stop)
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  ;;
*) echo "usage: $0 start|stop <32|64> <prefix>" >&2; exit 2 ;;
esac
