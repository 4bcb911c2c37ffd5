#!/usr/bin/env bash
# Compares the results two build trees must share, byte for byte: the files
# that the same tests wrote in both trees (the shipped 32-bit build, the
# 64-bit build and the native build run the same sources, all with SSE2
# floating point; the native build makes only the cores' kinds).
#
# Usage: compare-builds.sh <tree> <other-tree> <kind>...
#   jpeg         the plug-ins' images and thumbnails of the scripted export
#   circuits     the node voltages and source currents QorSim found for the
#                cross-check circuits with QorLib01's and QorLib02's devices
#                (17 significant digits: every bit of every double), with
#                each circuit's count of Newton passes
#   core-circuits  the same circuits solved by the devices' core on the
#                test host of the core's tests
#   suggestions  the spelling engine's suggestions for its test word lists
# Every kind named must compare at least one file, and every file of a kind
# made in <tree> must exist in <other-tree>. One line a kind; each file that
# differs is named with its first differing line. Exits 1 on any difference.
set -uo pipefail
tree=${1:?tree}
other=${2:?other tree}
shift 2

# The files of a kind in a tree (none where its folder is missing); fails
# for an unknown kind.
files_of() { # kind tree
  case $1 in
  jpeg) find "$2/plugin-adapters/tests/scratch" -path '*/out/*.jpg' 2>/dev/null || true ;;
  circuits) find "$2/semi-lib/tests/qorsim-ngspice-check" -name '*.ours' 2>/dev/null || true ;;
  core-circuits) find "$2/semi-lib/tests/scratch-ngspice-check" -name '*.ours' 2>/dev/null || true ;;
  suggestions) find "$2/spelling/tests" -maxdepth 1 -name 'scratch-suggestions-*.txt' 2>/dev/null || true ;;
  *) return 1 ;;
  esac
}

status=0
for kind in "$@"; do
  if ! listing=$(files_of "$kind" "$tree"); then
    echo "cross-build: unknown kind '$kind'"
    status=1
    continue
  fi
  compared=0 differ=0
  while IFS= read -r file; do
    [ -n "$file" ] || continue
    theirs=$other/${file#"$tree/"}
    compared=$((compared + 1))
    if [ ! -f "$theirs" ]; then
      echo "cross-build: $file has no counterpart in $other"
      differ=$((differ + 1))
    elif ! cmp -s "$file" "$theirs"; then
      first=$(diff -a "$file" "$theirs" 2>/dev/null | grep -m 2 '^[<>]' | cut -c1-160 | paste -sd ' ')
      echo "cross-build: $file differs from $theirs${first:+: $first}"
      differ=$((differ + 1))
    fi
  done < <(printf '%s\n' "$listing" | sort)
  if ((compared == 0)); then
    echo "cross-build: no $kind files to compare in $tree"
    status=1
    continue
  fi
  echo "cross-build: $compared $kind files compared with $other's, $differ differ"
  ((differ == 0)) || status=1
done
exit $status
