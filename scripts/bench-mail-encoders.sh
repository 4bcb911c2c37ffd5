#!/usr/bin/env bash
# The mail encoders on a 10 MiB attachment, with base64(1) and uuencode(1)
# timed on the same file in the same run. Quoted-printable is timed on
# 10 MiB of text (the novel repeated), which has no peer program here.
# Usage: bench-mail-encoders.sh <bench build dir>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c $((10 * 1024 * 1024)) /dev/urandom > "$work/attachment.bin"
novel=$root/../shared/data/text/moby-dick.txt
while [ "$(stat -c %s "$work/text.txt" 2>/dev/null || echo 0)" -lt $((10 * 1024 * 1024)) ]; do
  cat "$novel" >> "$work/text.txt"
done
echo "== mail encoders: 10 MiB"
"$build/invoice-mailer/mail-encoder-bench" "$work/attachment.bin" "$work/text.txt"
ms() { local s e; s=$(date +%s%N); "$@" > /dev/null; e=$(date +%s%N); echo $(( (e - s) / 1000000 )); }
printf '%-34s %9s ms\n' "base64 -w 76" "$(ms base64 -w 76 "$work/attachment.bin")"
printf '%-34s %9s ms\n' "uuencode" "$(ms uuencode "$work/attachment.bin" x)"
