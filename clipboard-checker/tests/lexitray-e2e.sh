#!/bin/sh
# Runs the end-to-end tests of Lexitray.exe in a Wine prefix made fresh for
# this run, with one wineserver for the whole run, and ends everything the
# run started.
# Usage: lexitray-e2e.sh <wine-exec.sh> <bits> <prefix> <tests.exe> [gtest args...]
set -u
exec_script=$1 bits=$2 prefix=$3 tests=$4
shift 4
wine_run() { "$exec_script" "$bits" "$prefix" "$@"; }

export WINEPREFIX="$prefix"
# The prefix is large and nothing in it is kept: it goes with the run.
trap 'wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; rm -rf "$prefix"' EXIT
"$(dirname "$exec_script")/wine-new-prefix.sh" "$bits" "$prefix" || exit 1
# One server for the run; the prefix's services start now, their output
# going nowhere (they would otherwise hold the test's output open).
wineserver -p >/dev/null 2>&1 </dev/null
WINEDEBUG=-all wine_run wineboot >/dev/null 2>&1 </dev/null
wine_run "$tests" --gtest_color=no "$@"
