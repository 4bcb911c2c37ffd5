#!/bin/sh
# One instance at a time: starts the guard program, waits until it has
# minimised itself, starts it again and expects the second start to end
# within five seconds (as a later instance) and the first to be restored.
# Usage: instance-guard.sh <wine-exec.sh> <bits> <prefix> <Lexitray.exe>
set -u
exec_script=$1 bits=$2 prefix=$3 program=$4
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
wine_run() { "$exec_script" "$bits" "$prefix" "$@"; }

wine_run "$program" "Z:$folder/ready" &
first=$!
tries=0
while [ ! -f "$folder/ready" ] && [ $tries -lt 300 ]; do
  sleep 0.1
  tries=$((tries + 1))
done
if [ ! -f "$folder/ready" ]; then
  echo "the first instance never became ready" >&2
  kill "$first" 2>/dev/null
  exit 1
fi

start=$(date +%s)
timeout 5 "$exec_script" "$bits" "$prefix" "$program" "Z:$folder/second"
second=$?
elapsed=$(($(date +%s) - start))
if [ $second -ne 7 ]; then
  echo "the second start ended with $second after ${elapsed}s, not as a later instance" >&2
  kill "$first" 2>/dev/null
  exit 1
fi
if [ -e "$folder/second" ]; then
  echo "the second start acted as a first instance" >&2
  exit 1
fi

wait "$first"
restored=$?
if [ $restored -ne 0 ]; then
  echo "the first instance was not restored (exit code $restored)" >&2
  exit 1
fi
echo "second start ended in ${elapsed}s; the first instance came back"
