#!/usr/bin/env bash
# Nothing of a Windows test run may stay behind: after the run's wineserver
# has been ended, no Wine process (a loader, a wineserver, or qemu running
# one) started with one of the tree's prefixes may still run. Processes the
# wineserver ended may take a moment to go; those still there after the
# grace time are named, ended, and fail the check.
#
# Usage: wine-leftovers.sh <tree>
# LEFTOVER_GRACE: seconds to wait for ending processes (default 20).
set -uo pipefail
tree=${1:?tree}
grace=${LEFTOVER_GRACE:-20}

# Wine processes started with one of the tree's prefixes; the test scripts'
# own shells share the variable but are no Wine processes.
leftovers() {
  local p exe
  for p in /proc/[0-9]*; do
    exe=$(readlink "$p/exe" 2>/dev/null) || continue
    case $exe in */wine* | */qemu-i386*) ;; *) continue ;; esac
    tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -q "^WINEPREFIX=$tree/" && echo "${p#/proc/}"
  done
}

deadline=$(($(date +%s) + grace))
while pids=$(leftovers | paste -sd ' ') && [ -n "$pids" ] && (($(date +%s) < deadline)); do
  sleep 1
done
[ -n "$pids" ] || exit 0
echo "FAIL: left running after the run, now ended: $(ps -o pid=,args= -p "${pids// /,}" | cut -c1-100 | paste -sd ';')"
# shellcheck disable=SC2086 # one process id each
kill -9 $pids 2>/dev/null
exit 1
