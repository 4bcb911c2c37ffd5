#!/bin/sh
# The resistor's sheet and the ground's dialog typed into through the X
# server (xdotool), as a person with a keyboard uses them: on the sheet's
# Parameters page the space bar unticks R (the selected row) so that the
# label shows the ID alone, and Enter ends the sheet with OK; in the
# ground's dialog the precision is typed after its mnemonic and Enter ends
# it with OK. The page driver then reports what the drawing shows.
# Screenshots of both windows go to <artefacts>.
# Usage: typed-input-test.sh <32|64> <prefix> <page-driver> <QorSim.dll> <QorLib01.dll>
#          <page> <artefacts>
set -u
wine_bits=$1 wine_prefix=$2 driver=$3 sim=$4 lib=$5 page=$6 artefacts=$7
. "$(dirname "$0")/../../scripts/wine-env.sh"
export WINEDEBUG=-all
. "$(dirname "$0")/x-input.sh"

out=$(mktemp)
"$WINE" "$driver" "Z:$page" "Z:$sim" "Z:$lib" >"$out" 2>&1 &
driver_pid=$!

if sheet=$(window "Resistor Properties"); then
  alone
  focus "$sheet"
  keys space
  shot resistor-sheet-typed
  keys Return
else
  fail "the resistor's sheet did not open"
fi

if dialog=$(window "GND \\(Ground\\) Properties"); then
  alone
  focus "$dialog"
  keys alt+p Home shift+End 3
  shot ground-dialog-typed
  keys Return
else
  fail "the ground's dialog did not open"
fi

# Nothing left open: the driver ends by itself, or is ended here.
driver_ends "$driver_pid" left-open
report=$(tr -d '\r' <"$out")
rm -f "$out"
echo "$report"
expect() { printf '%s\n' "$report" | grep -qxF "$1" || fail "no line '$1'"; }
# R's label without its value; the solve unchanged (6 V over 1 kohm).
expect 'part R id R1 label "R1" result Idc = 6.00 mA mark ""'
# The ground's current shown with three decimals instead of two.
printf '%s\n' "$report" | grep -q '^part G id - label .* result Idc = -\?6\.000 mA mark ""$' ||
  fail "the ground does not show its current with the typed precision"
[ "$failures" -eq 0 ] && echo "typed input passed"
exit "$failures"
