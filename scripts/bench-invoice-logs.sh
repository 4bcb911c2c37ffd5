#!/usr/bin/env bash
# Billpost's invoice logs: searching a generated log of 100,000 invoices and
# rendering all of them. An independent rendering of the same log in Python
# (the test reference) is timed beside ours.
# Usage: bench-invoice-logs.sh <bench build dir>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
work=$build/invoice-bench
mkdir -p "$work"
printf '@log 01-2005\n@random count=100000 seed=2005\n' >"$work/bench-logs.txt"
echo "== invoice logs: generating 100,000 invoices"
/usr/bin/python3 "$root/invoice-mailer/tools/make-invoice-logs.py" "$work/bench-logs.txt" "$work"
"$build/invoice-mailer/invoice-log-bench" "$work/01-2005.ldl"
TIMEFORMAT='render every invoice (Python reference): %R s'
time /usr/bin/python3 "$root/invoice-mailer/tools/render-reference.py" "$work/01-2005.ldl" "$work/reference.txt"
