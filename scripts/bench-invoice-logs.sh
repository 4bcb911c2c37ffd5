#!/usr/bin/env bash
# Billpost's invoice logs: searching a generated log of 100,000 invoices and
# rendering all of them into a text file. An independent rendering of the
# same log in Python (the test reference), writing its file the same way,
# is timed beside ours, and the two files must be equal.
# Usage: bench-invoice-logs.sh <bench build dir>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
work=$build/invoice-bench
mkdir -p "$work"
printf '@log 01-2005\n@random count=100000 seed=2005\n' >"$work/bench-logs.txt"
echo "== invoice logs: generating 100,000 invoices"
/usr/bin/python3 "$root/invoice-mailer/tools/make-invoice-logs.py" "$work/bench-logs.txt" "$work"
"$build/invoice-mailer/invoice-log-bench" "$work/01-2005.ldl" "$work/ours.txt"
TIMEFORMAT='render every invoice to a file (Python reference): %R s'
time /usr/bin/python3 "$root/invoice-mailer/tools/render-reference.py" "$work/01-2005.ldl" "$work/reference.txt"
cmp "$work/ours.txt" "$work/reference.txt" && echo "the two renderings are equal"
