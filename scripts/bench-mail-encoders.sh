#!/usr/bin/env bash
# The mail encoders on a 10 MiB attachment beside base64(1) and uuencode(1):
# whole processes both sides (our mail-encode reads the file and writes
# each line out as the mail client's encoder gives it), in paired,
# interleaved runs with the median and the spread, and rows in the shared
# format for the CPU time of each (target: at most the tool's). The
# lines are checked against the tools' first. Then the encoders
# in-process, into fresh and into reused memory, and quoted-printable on
# 10 MiB of text (no peer).
# Usage: bench-mail-encoders.sh <bench build dir> [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
runs=${2:-15}
encode=$build/invoice-mailer/mail-encode
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c $((10 * 1024 * 1024)) /dev/urandom >"$work/attachment.bin"
novel=$root/../shared/data/text/moby-dick.txt
while [ "$(stat -c %s "$work/text.txt" 2>/dev/null || echo 0)" -lt $((10 * 1024 * 1024)) ]; do
  cat "$novel" >>"$work/text.txt"
done

# 10 MiB is no multiple of 57, so base64 gives the tool's bytes exactly;
# uuencode's lines are the tool's between its "begin" and its closing
# lines, but for the short last line (one character more, leftover bits).
"$encode" base64 "$work/attachment.bin" >"$work/ours.b64"
base64 -w 76 "$work/attachment.bin" >"$work/theirs.b64"
cmp "$work/ours.b64" "$work/theirs.b64"
"$encode" uuencode "$work/attachment.bin" | head -n -1 >"$work/ours.uu"
uuencode "$work/attachment.bin" x | sed '1d' | head -n -3 >"$work/theirs.uu"
cmp "$work/ours.uu" "$work/theirs.uu"
echo "== mail encoders: output equal to base64 -w 76 and uuencode's lines"

timer=$root/scripts/time-paired.py
# Each encoder into a pipe (the summary's row), into a file and into
# /dev/null, the same for both sides; then into a pipe once more with the
# list's memory in 2 MiB pages, which the mail client does not use.
for encoder in base64 uuencode; do
  if [ $encoder = base64 ]; then peer=(base64 -w 76 "$work/attachment.bin"); else peer=(uuencode "$work/attachment.bin" x); fi
  for sink in pipe file null; do
    record=()
    [ $sink = pipe ] || record=(--no-record)
    /usr/bin/python3 "$timer" --runs "$runs" --label "$encoder of 10 MiB, whole runs" --target 1.0 \
      --sink $sink "${record[@]}" --peer-name "${peer[0]}" \
      -- "$encode" $encoder "$work/attachment.bin" -- "${peer[@]}"
  done
  /usr/bin/python3 "$timer" --runs "$runs" --label "$encoder of 10 MiB, 2 MiB pages (tuned, not shipped)" \
    --no-record --peer-name "${peer[0]}" \
    -- env MAIL_ENCODE_PAGES=huge "$encode" $encoder "$work/attachment.bin" -- "${peer[@]}"
done
echo "== mail encoders in-process: 10 MiB"
"$build/invoice-mailer/mail-encoder-bench" "$work/attachment.bin" "$work/text.txt"
