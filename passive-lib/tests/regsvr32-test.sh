#!/bin/sh
# QorLib01.dll as an installer registers it: the four exports at ordinals
# 1 to 4, regsvr32 writes every class's keys (read back with reg query),
# registering twice leaves one set, regsvr32 /u removes them but keeps
# "CLSID", and unregistering a library never registered succeeds.
# Usage: regsvr32-test.sh <32|64> <prefix> <objdump> <QorLib01.dll>
set -u
wine_bits=$1 wine_prefix=$2 objdump=$3 dll=$4
. "$(dirname "$0")/../../scripts/wine-env.sh"
export WINEDEBUG=-all
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

table=$("$objdump" -p "$dll")
printf '%s\n' "$table" | grep -q 'Ordinal Base 1$' || fail "ordinal base is not 1"
ordered=$(printf '%s\n' "$table" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[ \t]*\[ *\([0-9]*\)\] \(.*\)$/\1:\2/p' | tr '\n' ' ')
[ "$ordered" = "0:DllCanUnloadNow 1:DllGetClassObject 2:DllRegisterServer 3:DllUnregisterServer " ] ||
  fail "exports by ordinal are '$ordered'"

dump() { "$WINE" reg query "$1" /s 2>/dev/null | tr -d '\r'; }
expect() {
  found=$(printf '%s\n' "$1" | awk -v key="$2" -v name="$3" -v text="$4" '
    /^HKEY_/ { here = (key == "." && !seen) || index($0, "\\" key) == length($0) - length(key); seen = 1; next }
    here && $1 == name { line = $0; sub(/^[ \t]*[^ \t]+[ \t]+REG_SZ[ \t]*/, "", line);
                         if (index(line, text)) { print "yes"; exit } }')
  [ "$found" = yes ] || fail "$2 $3: expected '$4' in: $(printf '%s' "$1" | tr '\n' '|')"
}
count() { printf '%s\n' "$1" | grep -c "$2"; }

classes="QorLib:Netweave_Library GndDev:Netweave_GND_DEV PwrDev:Netweave_PWR_DEV
ResDev:Netweave_Resistor_DEV IndDev:Netweave_Inductor_DEV CapDev:Netweave_Capacitor_DEV
VdcDev:Netweave_VDC_DEV"

# Never registered: /u still succeeds.
"$WINE" regsvr32 /u /s "$dll" || fail "regsvr32 /u of an unregistered library returned $?"

"$WINE" regsvr32 /s "$dll" || fail "regsvr32 returned $?"
"$WINE" regsvr32 /s "$dll" || fail "second regsvr32 returned $?"
for cls in $classes; do
  name=${cls%%:*} description=$(printf '%s' "${cls#*:}" | tr _ ' ')
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
  expect "$class" InprocServer32 "(Default)" "QorLib01.dll"
  expect "$class" InprocServer32 ThreadingModel "Apartment"
  expect "$class" TypeLib "(Default)" "{841B8682-34FE-4E2C-86F9-2BD28A061CB0}"
  printf '%s\n' "$class" | grep -q '\\Programmable$' || fail "no Programmable key for $name"
  # Registered twice: still one key of each kind.
  [ "$(count "$class" '\\InprocServer32$')" -eq 1 ] || fail "$name: InprocServer32 twice"
  [ "$(count "$class" 'ThreadingModel')" -eq 1 ] || fail "$name: ThreadingModel twice"
  eval "clsid_$name=\$clsid"
done
[ "${clsid_QorLib:-}" = "{011E2750-D342-11D0-9D8D-0020A6101242}" ] || fail "QorLib CLSID ${clsid_QorLib:-}"
[ "${clsid_VdcDev:-}" = "{E1A81286-F386-11D0-9D8D-0020A6101242}" ] || fail "VdcDev CLSID ${clsid_VdcDev:-}"
typelib=$(dump 'HKCR\TypeLib\{841B8682-34FE-4E2C-86F9-2BD28A061CB0}')
expect "$typelib" "1.0" "(Default)" "QOR Lib01 1.0 Type Library"

"$WINE" regsvr32 /u /s "$dll" || fail "regsvr32 /u returned $?"
for cls in $classes; do
  name=${cls%%:*}
  eval "clsid=\${clsid_$name:-none}"
  for key in "HKCR\\QOR.$name.1" "HKCR\\QOR.$name" "HKCR\\CLSID\\$clsid"; do
    "$WINE" reg query "$key" >/dev/null 2>&1 && fail "$key left after unregistration"
  done
done
"$WINE" reg query 'HKCR\CLSID' /ve >/dev/null 2>&1 || fail "the CLSID key itself was removed"

[ "$failures" -eq 0 ] && echo "regsvr32 round trip passed"
exit "$failures"
