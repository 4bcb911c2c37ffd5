#!/bin/sh
# Shows the sample form on a Wine desktop (which draws window captions, as
# there is no window manager), waits with a deadline until the program
# says it has painted, captures the virtual display into the test's build
# folder and tells the program to end.
# Usage: screenshot.sh <wine-exec.sh> <bits> <prefix> <sample.exe> <output.png>
set -eu
exec_script=$1 bits=$2 prefix=$3 sample=$4 shot=$5
folder=$(dirname "$shot")
done_file="$folder/sample-done" ready_file="$folder/sample-ready"
rm -f "$done_file" "$ready_file" "$shot"
"$exec_script" "$bits" "$prefix" explorer /desktop=components,1024x768 "Z:$sample" \
  "Z:$done_file" "Z:$ready_file" &
pid=$!
finish() {
  touch "$done_file"
  status=0
  wait "$pid" || status=$?
  rm -f "$done_file" "$ready_file"
}
# At most 60 s for the program to start and paint.
tries=0
while [ ! -f "$ready_file" ] && [ $tries -lt 600 ]; do
  sleep 0.1
  tries=$((tries + 1))
done
if [ ! -f "$ready_file" ]; then
  finish
  echo "the sample form never became ready" >&2
  exit 1
fi
import -window root "$shot"
finish
[ "$status" -eq 0 ] || { echo "the sample program ended with $status" >&2; exit 1; }
# The shot must be a real image of the display's size, and not blank: the
# form's controls, text and frames give many colours.
size=$(identify -format '%wx%h' "$shot")
[ "$size" = "1024x768" ] || { echo "unexpected screenshot size $size" >&2; exit 1; }
colours=$(identify -format '%k' "$shot")
[ "$colours" -ge 8 ] || { echo "the screenshot shows only $colours colours" >&2; exit 1; }
echo "screenshot: $shot"
