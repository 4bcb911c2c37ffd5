#!/bin/sh
# Runs the cross-check: our solves (through the emulator, if any, for the
# Windows build) write netlists and values into a fresh scratch folder, then
# compare-ngspice.py runs ngspice on them and compares.
# Usage: run-ngspice-check.sh <scratch dir> <program> [emulator args...]
set -e
dir=$1
shift
rm -rf "$dir"
mkdir -p "$dir"
"$@" "$dir"
exec python3 "$(dirname "$0")/compare-ngspice.py" "$dir"
