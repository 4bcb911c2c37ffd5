#!/bin/sh
# The window state survives a restart: runs persist-restart-program twice
# under Wine, and in between reads the stored values with Wine's own
# "reg query" to see them in their text forms.
# Usage: persist-restart.sh <wine-exec.sh> <bits> <prefix> <program.exe>
set -eu
exec_script=$1 bits=$2 prefix=$3 program=$4
key='HKCU\Software\Ovelmark\lexitray\1.0'
wine_run() { "$exec_script" "$bits" "$prefix" "$@"; }

wine_run reg delete "$key" /f >/dev/null 2>&1 || true
trap 'wine_run reg delete "$key" /f >/dev/null 2>&1 || true' EXIT

wine_run "$program" first || { echo "first run failed ($?)" >&2; exit 1; }

stored=$(wine_run reg query "$key" | tr -d '\r')
echo "$stored"
for expected in '(TForm)_Height REG_SZ 321' '(TForm)_Width REG_SZ 456' \
                '(TForm)_Top REG_SZ 77' '(TForm)_Left REG_SZ 123' \
                'SingleclickRestore1_Checked REG_SZ True'; do
  set -- $expected
  if ! echo "$stored" | grep -Eq "^ +$(echo "$1" | sed 's/[()]/\\&/g') +$2 +$3\$"; then
    echo "missing: $expected" >&2
    exit 1
  fi
done

wine_run "$program" second || { echo "second run did not restore the state ($?)" >&2; exit 1; }
