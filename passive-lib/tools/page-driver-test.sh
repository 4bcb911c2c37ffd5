#!/bin/sh
# The page driver on the sample pages: every part numbered, labelled and
# solved, and the nets at the voltages the circuits have.
# Usage: page-driver-test.sh <32|64> <prefix> <page-driver> <QorSim.dll> <QorLib01.dll> <pages>
set -u
wine_bits=$1 wine_prefix=$2 driver=$3 sim=$4 lib=$5 pages=$6
. "$(dirname "$0")/../../scripts/wine-env.sh"
export WINEDEBUG=-all
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() { "$WINE" "$driver" "Z:$pages/$1.page" "Z:$sim" "Z:$lib" 2>&1 | tr -d '\r'; }
expect() { printf '%s\n' "$1" | grep -qxF "$2" || fail "no line '$2' in: $1"; }
near() { # output net value
  printf '%s\n' "$1" | awk -v net="$2" -v want="$3" '
    $1 == "net" && $2 == net { d = $3 - want; if (d < 0) d = -d; ok = d <= 1e-9 * (want < 0 ? -want : want) + 1e-15 }
    END { exit ok ? 0 : 1 }' || fail "net $2 is not $3 in: $1"
}

out=$(run divider)
echo "$out"
expect "$out" 'part Ra id R1 label "R1|1.0 kohm" result Idc = 3.00 mA mark ""'
expect "$out" 'part Rb id R2 label "R2|1.0 kohm" result Idc = 3.00 mA mark ""'
expect "$out" 'part V id V1 label "V1|6.0 V" result Idc = -3.00 mA mark ""'
near "$out" 1 6
near "$out" 2 3

out=$(run every-kind)
echo "$out"
expect "$out" 'part R2 id R2 label "R2|2.2 kohm" result Idc = 1.95 mA mark ""'
expect "$out" 'part C id C1 label "C1|1.0 pF" result Vdc = 4.30 V mark ""'
near "$out" 1 6.25
near "$out" 3 4.296875

[ "$failures" -eq 0 ] && echo "page driver passed"
exit "$failures"
