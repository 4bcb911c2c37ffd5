#!/bin/sh
# The NPN transistor's sheet used through the X server (xdotool) as a person
# uses it: a double-click on the TYPE row opens the model list (Enter in
# the list is the sheet's OK, as in any dialog), Alt+Down shows it, Down
# moves to the 2N3904 row and Enter takes it; in the second run a
# double-click on the BF row asks whether to make the type "CUSTOM", Enter
# answers OK, 250 is typed and Enter ends the entry. Enter then ends the
# sheet with OK; in the third run Escape cancels it after the model was
# taken. npn-report-check.py checks the page driver's report
# against the model library and ngspice. Screenshots go to <artefacts>.
# Usage: semi-typed-input-test.sh <32|64> <prefix> <page-driver> <QorSim.dll> <QorLib01.dll>
#          <QorLib02.dll> <page> <npn.xml> <artefacts>
set -u
wine_bits=$1 wine_prefix=$2 driver=$3 sim=$4 lib01=$5 lib02=$6 page=$7 models=$8 artefacts=$9
here=$(dirname "$0")
. "$here/../../scripts/wine-env.sh"
export WINEDEBUG=-all
command -v python3 >/dev/null || { echo "FAIL: python3 is needed"; exit 1; }
. "$(dirname "$0")/x-input.sh"
# A double-click on a row of the Parameters page's list, on its name: x and
# y from the sheet window's corner (rows are 14 pixels apart, ID first).
# The pointer rests outside the list first, until no row's tip is left to
# cover it.
row() {
  xdotool mousemove --window "$1" 30 200
  alone
  before=$(picture)
  xdotool mousemove --window "$1" 62 "$2" click --repeat 2 --delay 100 1
  redrawn "$before" "the double-click on a row" || fail "the double-click changed nothing"
}

type_row=75
bf_row=103

# One run of the driver on the page: the sheet typed into by the named
# steps, the report checked for the model, the label type and the typed
# texts.
run() { # steps model label-type [NAME=text ...]
  steps=$1
  shift
  xdotool mousemove 1000 700 # away from where the sheet opens
  out=$(mktemp)
  "$WINE" "$driver" "Z:$page" "Z:$sim" "Z:$lib01" "Z:$lib02" >"$out" 2>&1 &
  driver_pid=$!
  if sheet=$(window "NPN Transistor Properties"); then
    alone
    focus "$sheet"
    row "$sheet" "$type_row"
    keys alt+Down Down
    [ "$steps" = model ] && shot npn-model-list
    keys Return
    if [ "$steps" = typed ]; then
      row "$sheet" "$bf_row"
      if question=$(window "NPN Transistor"); then
        focus "$question"
        keys Return
        gone "NPN Transistor" || fail "the question stayed open"
        keys 2 5 0
        shot npn-value-typed
        keys Return
      else
        fail "editing BF asked nothing"
      fi
    fi
    if [ "$steps" = cancelled ]; then keys Escape; else keys Return; fi
  else
    fail "the transistor's sheet did not open"
  fi
  # Nothing left open: the driver ends by itself, or is ended here.
  driver_ends "$driver_pid" "left-open-$steps"
  report=$(mktemp)
  tr -d '\r' <"$out" >"$report"
  grep -v '^item\|^pin' "$report"
  python3 "$here/npn-report-check.py" "$report" "$models" "$@" ||
    fail "the report after '$steps' does not hold"
  rm -f "$out" "$report"
}

# The library's 2N3904 taken from the model list.
run model 2N3904 2N3904
# The same model, then BF typed: the type becomes CUSTOM.
run typed 2N3904 CUSTOM BF=250
# The model taken, then the sheet cancelled with Escape: nothing changes.
run cancelled DEFAULT DEFAULT

[ "$failures" -eq 0 ] && echo "typed input passed"
exit "$failures"
