#!/bin/sh
# QorSim.dll as an installer registers it: the exports carry their plain
# names, regsvr32 writes the classes' keys (read back with reg query) and
# regsvr32 /u removes them again.
# Usage: regsvr32-test.sh <32|64> <prefix> <objdump> <QorSim.dll>
set -u
wine_bits=$1 wine_prefix=$2 objdump=$3 dll=$4
. "$(dirname "$0")/../../scripts/wine-env.sh"
export WINEDEBUG=-all
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  grep -v Table | sed -n 's/^.*\] //p' | sort | tr '\n' ' ')
[ "$exports" = "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer " ] ||
  fail "exports are '$exports'"

dump() { # key: the key and everything under it, as reg query /s prints it
  "$WINE" reg query "$1" /s 2>/dev/null | tr -d '\r'
}
# expect <dump> <sub-key path or "."> <value name or "(Default)"> <text>:
# the value, in the block of that sub-key, contains text.
expect() {
  found=$(printf '%s\n' "$1" | awk -v key="$2" -v name="$3" -v text="$4" '
    /^HKEY_/ { here = (key == "." && !seen) || index($0, "\\" key) == length($0) - length(key); seen = 1; next }
    here && $1 == name { line = $0; sub(/^[ \t]*[^ \t]+[ \t]+REG_SZ[ \t]*/, "", line);
                         if (index(line, text)) { print "yes"; exit } }')
  [ "$found" = yes ] || fail "$2 $3: expected '$4' in: $(printf '%s' "$1" | tr '\n' '|')"
}

"$WINE" regsvr32 /s "$dll" || fail "regsvr32 returned $?"
for cls in "SimRoot:Netweave SimRoot" "SimCkt:Netweave SimCkt" "WireDev:Netweave Wire DEV"; do
  name=${cls%%:*} description=${cls#*:}
  versioned=$(dump "HKCR\\QOR.$name.1")
  independent=$(dump "HKCR\\QOR.$name")
  clsid=$(printf '%s\n' "$versioned" | sed -n 's/.*REG_SZ[ \t]*\({[0-9A-F-]*}\).*/\1/p' | head -1)
  [ -n "$clsid" ] || { fail "no CLSID for QOR.$name.1"; continue; }
  class=$(dump "HKCR\\CLSID\\$clsid")
  expect "$versioned" . "(Default)" "$description"
  expect "$versioned" CLSID "(Default)" "$clsid"
  expect "$independent" . "(Default)" "$description"
  expect "$independent" CLSID "(Default)" "$clsid"
  expect "$independent" CurVer "(Default)" "QOR.$name.1"
  expect "$class" . "(Default)" "$description"
  expect "$class" ProgID "(Default)" "QOR.$name.1"
  expect "$class" VersionIndependentProgID "(Default)" "QOR.$name"
  expect "$class" InprocServer32 "(Default)" "QorSim.dll"
  expect "$class" InprocServer32 ThreadingModel "Apartment"
  expect "$class" TypeLib "(Default)" "{"
  printf '%s\n' "$class" | grep -q '\\Programmable$' || fail "no Programmable key for $name"
  eval "clsid_$name=\$clsid"
done

"$WINE" regsvr32 /u /s "$dll" || fail "regsvr32 /u returned $?"
for name in SimRoot SimCkt WireDev; do
  eval "clsid=\${clsid_$name:-none}"
  for key in "HKCR\\QOR.$name.1" "HKCR\\QOR.$name" "HKCR\\CLSID\\$clsid"; do
    "$WINE" reg query "$key" >/dev/null 2>&1 && fail "$key left after unregistration"
  done
done
"$WINE" reg query 'HKCR\CLSID' /ve >/dev/null 2>&1 || fail "the CLSID key itself was removed"

[ "$failures" -eq 0 ] && echo "regsvr32 round trip passed"
exit "$failures"
