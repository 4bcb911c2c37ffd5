#!/usr/bin/env bash
# Billpost's invoice logs: searching a generated log of 100,000 invoices and
# rendering all of them into a text file. Then the rendering alone as whole
# runs beside an independent rendering of the same log in Python (the test
# reference), each writing its file, in paired, interleaved runs; the two
# files must be equal.
# Usage: bench-invoice-logs.sh <bench build dir> [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
runs=${2:-3}
work=$build/invoice-bench
mkdir -p "$work"
printf '@log 01-2005\n@random count=100000 seed=2005\n' >"$work/bench-logs.txt"
echo "== invoice logs: generating 100,000 invoices"
/usr/bin/python3 "$root/invoice-mailer/tools/make-invoice-logs.py" "$work/bench-logs.txt" "$work"
"$build/invoice-mailer/invoice-log-bench" "$work/01-2005.ldl" "$work/ours.txt"
/usr/bin/python3 "$root/scripts/time-paired.py" --runs "$runs" --sink null \
  --label "render 100,000 invoices to a file" --peer-name "Python reference" \
  -- "$build/invoice-mailer/invoice-log-bench" --render "$work/01-2005.ldl" "$work/ours.txt" \
  -- /usr/bin/python3 "$root/invoice-mailer/tools/render-reference.py" "$work/01-2005.ldl" \
  "$work/reference.txt"
cmp "$work/ours.txt" "$work/reference.txt" && echo "the two renderings are equal"
