#!/bin/sh
# Runs every netlist the circuit tests wrote through ngspice -b and
# compares each node voltage (1e-9 relative) and branch current with the
# values our solve gave (<name>.ours beside <name>.cir).
# Usage: ngspice-compare.sh <netlist folder> [least number of netlists, 3]
set -u
dir=$1
failures=0
count=0
for cir in "$dir"/*.cir; do
  [ -e "$cir" ] || { echo "FAIL: no netlists in $dir"; exit 1; }
  # Our own run files from an earlier run lie beside the netlists.
  case $cir in *.run.cir) continue ;; esac
  name=$(basename "$cir" .cir)
  run="$dir/$name.run.cir"
  # The netlist as written, with a control block that prints every vector
  # at full precision.
  sed '/^\.END/d' "$cir" > "$run"
  printf '.control\nop\nset numdgt=16\nprint all\n.endc\n.END\n' >> "$run"
  ngspice -b "$run" > "$dir/$name.ngspice" 2>&1 || { echo "FAIL: ngspice on $name"; failures=$((failures + 1)); continue; }
  result=$(awk -v name="$name" '
    FNR == NR { ours[tolower($1)] = $2; next }
    $2 == "=" { spice[tolower($1)] = $3 }
    END {
      bad = 0; n = 0
      for (v in ours) {
        n++
        if (!(v in spice)) { print "FAIL: " name ": ngspice has no " v; bad++; continue }
        a = ours[v] + 0; b = spice[v] + 0
        d = a - b; if (d < 0) d = -d
        s = (a < 0 ? -a : a); t = (b < 0 ? -b : b); if (t > s) s = t
        if (d > 1e-9 * s && d > 1e-15) { print "FAIL: " name ": " v " ours " ours[v] " ngspice " spice[v]; bad++ }
      }
      print "checked " n " vectors of " name
      exit bad
    }' "$dir/$name.ours" "$dir/$name.ngspice")
  status=$?
  echo "$result"
  failures=$((failures + status))
  count=$((count + 1))
done
[ "$count" -ge "${2:-3}" ] || { echo "FAIL: only $count netlists"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] && echo "ngspice agrees on $count netlists"
exit "$failures"
