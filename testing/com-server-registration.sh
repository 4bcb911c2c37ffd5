#!/bin/sh
# One of the add-on's COM servers as an installer registers it: the four
# server exports at ordinals 1 to 4; regsvr32 writes every class's keys
# (read back with reg query) and the type library's; registering twice
# leaves one set; regsvr32 /u removes every class's keys but keeps "CLSID";
# unregistering a server that was never registered succeeds. Each class's
# keys and values are exactly those of its kind, told by its name: a name
# ending in Ocx is a control (adds Control, MiscStatus, TypeLib, Version),
# one ending in Dev or starting with Sim (the simulator's root and circuit)
# a device (adds TypeLib), any other a service (no TypeLib; its ProgID
# keys are replaced whole, so keys planted under them before registration
# are gone).
# Usage: com-server-registration.sh <32|64> <prefix> <objdump> <dll>
#          <library id> <library help string> <Class:Description_With_Underscores[={CLSID}]>...
# A class given with "={CLSID}" must be registered under that fixed identifier.
set -u
wine_bits=$1 wine_prefix=$2 objdump=$3 dll=$4 libid=$5 libhelp=$6
shift 6
classes="$*"
. "$(dirname "$0")/../scripts/wine-env.sh"
export WINEDEBUG=-all
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
module=$(basename "$dll")

table=$("$objdump" -p "$dll")
printf '%s\n' "$table" | grep -q 'Ordinal Base 1$' || fail "ordinal base is not 1"
ordered=$(printf '%s\n' "$table" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[ \t]*\[ *\([0-9]*\)\] \(.*\)$/\1:\2/p' | tr '\n' ' ')
[ "$ordered" = "0:DllCanUnloadNow 1:DllGetClassObject 2:DllRegisterServer 3:DllUnregisterServer " ] ||
  fail "exports by ordinal are '$ordered'"

dump() { "$WINE" reg query "$1" /s 2>/dev/null | tr -d '\r'; }
# expect <dump> <sub-key or "."> <value name or "(Default)"> <text>: the
# value, in the block of that sub-key, contains text.
expect() {
  found=$(printf '%s\n' "$1" | awk -v key="$2" -v name="$3" -v text="$4" '
    /^HKEY_/ { here = (key == "." && !seen) || index($0, "\\" key) == length($0) - length(key); seen = 1; next }
    here && $1 == name { line = $0; sub(/^[ \t]*[^ \t]+[ \t]+REG_SZ[ \t]*/, "", line);
                         if (index(line, text)) { print "yes"; exit } }')
  [ "$found" = yes ] || fail "$2 $3: expected '$4' in: $(printf '%s' "$1" | tr '\n' '|')"
}
count() { printf '%s\n' "$1" | grep -c "$2"; }
# listing <dump>: every key (relative to the first, "." for it) and every
# "key|value name" of the dump, sorted.
listing() {
  printf '%s\n' "$1" | awk '
    /^HKEY_/ { if (!root) root = $0; key = $0 == root ? "." : substr($0, length(root) + 2); print key; next }
    /^[ \t]+[^ \t]+[ \t]+REG_/ { print key "|" $1 }' | LC_ALL=C sort
}
kind() {
  case $1 in
  *Ocx) echo control ;;
  *Dev | Sim*) echo device ;;
  *) echo service ;;
  esac
}
# The keys and value names of a class key of that kind.
class_listing() {
  {
    printf '%s\n' . ".|(Default)" InprocServer32 "InprocServer32|(Default)" \
      "InprocServer32|ThreadingModel" ProgID "ProgID|(Default)" Programmable \
      VersionIndependentProgID "VersionIndependentProgID|(Default)"
    [ "$1" = service ] || printf '%s\n' TypeLib "TypeLib|(Default)"
    [ "$1" = control ] && printf '%s\n' Control MiscStatus "MiscStatus|(Default)" \
      'MiscStatus\1' 'MiscStatus\1|(Default)' Version "Version|(Default)"
  } | LC_ALL=C sort
}

"$WINE" regsvr32 /u /s "$dll" || fail "regsvr32 /u of an unregistered server returned $?"
for cls in $classes; do
  name=${cls%%:*}
  "$WINE" reg query "HKCR\\QOR.$name.1" >/dev/null 2>&1 && fail "QOR.$name.1 there before registration"
done

"$WINE" regsvr32 /s "$dll" || fail "regsvr32 returned $?"
for cls in $classes; do
  name=${cls%%:*}
  if [ "$(kind "$name")" = service ]; then
    "$WINE" reg add "HKCR\\QOR.$name.1\\Stale" /f >/dev/null 2>&1
    "$WINE" reg add "HKCR\\QOR.$name\\Stale" /v Left /d old /f >/dev/null 2>&1
  fi
done
"$WINE" regsvr32 /s "$dll" || fail "second regsvr32 returned $?"
checked=0
for cls in $classes; do
  name=${cls%%:*} described=${cls#*:}
  description=$(printf '%s' "${described%%=*}" | tr _ ' ')
  versioned=$(dump "HKCR\\QOR.$name.1")
  independent=$(dump "HKCR\\QOR.$name")
  clsid=$(printf '%s\n' "$versioned" | sed -n 's/.*REG_SZ[ \t]*\({[0-9A-F-]*}\).*/\1/p' | head -1)
  [ -n "$clsid" ] || { fail "no CLSID for QOR.$name.1"; continue; }
  case $described in
  *=*) [ "$clsid" = "${described#*=}" ] || fail "QOR.$name.1 is $clsid, not ${described#*=}" ;;
  esac
  class=$(dump "HKCR\\CLSID\\$clsid")
  expect "$versioned" . "(Default)" "$description"
  expect "$versioned" CLSID "(Default)" "$clsid"
  expect "$independent" . "(Default)" "$description"
  expect "$independent" CLSID "(Default)" "$clsid"
  expect "$independent" CurVer "(Default)" "QOR.$name.1"
  expect "$class" . "(Default)" "$description"
  expect "$class" ProgID "(Default)" "QOR.$name.1"
  expect "$class" VersionIndependentProgID "(Default)" "QOR.$name"
  expect "$class" InprocServer32 "(Default)" "$module"
  expect "$class" InprocServer32 ThreadingModel "Apartment"
  kind=$(kind "$name")
  [ "$kind" = service ] || expect "$class" TypeLib "(Default)" "$libid"
  if [ "$kind" = control ]; then
    expect "$class" MiscStatus "(Default)" "0"
    expect "$class" Version "(Default)" "1.0"
  fi
  [ "$(listing "$versioned")" = "$(printf '%s\n' . ".|(Default)" CLSID "CLSID|(Default)")" ] ||
    fail "QOR.$name.1 holds: $(listing "$versioned" | tr '\n' ' ')"
  [ "$(listing "$independent")" = "$(printf '%s\n' . ".|(Default)" CLSID "CLSID|(Default)" CurVer \
    "CurVer|(Default)")" ] || fail "QOR.$name holds: $(listing "$independent" | tr '\n' ' ')"
  [ "$(listing "$class")" = "$(class_listing "$kind")" ] ||
    fail "the class key of $name ($kind) holds: $(listing "$class" | tr '\n' ' ')"
  printf '%s\n' "$class" | grep -q '\\Programmable$' || fail "no Programmable key for $name"
  # Registered twice: still one key and one value of each kind.
  [ "$(count "$class" '\\InprocServer32$')" -eq 1 ] || fail "$name: InprocServer32 twice"
  [ "$(count "$class" 'ThreadingModel')" -eq 1 ] || fail "$name: ThreadingModel twice"
  [ "$(count "$versioned" '^HKEY_')" -eq 2 ] || fail "$name: QOR.$name.1 holds more than CLSID"
  eval "clsid_$name=\$clsid"
  checked=$((checked + 1))
done
typelib=$(dump "HKCR\\TypeLib\\$libid")
expect "$typelib" "1.0" "(Default)" "$libhelp"
expect "$typelib" "win$wine_bits" "(Default)" "$module"

"$WINE" regsvr32 /u /s "$dll" || fail "regsvr32 /u returned $?"
for cls in $classes; do
  name=${cls%%:*}
  eval "clsid=\${clsid_$name:-none}"
  for key in "HKCR\\QOR.$name.1" "HKCR\\QOR.$name" "HKCR\\CLSID\\$clsid"; do
    "$WINE" reg query "$key" >/dev/null 2>&1 && fail "$key left after unregistration"
  done
done
"$WINE" reg query 'HKCR\CLSID' /ve >/dev/null 2>&1 || fail "the CLSID key itself was removed"

[ "$failures" -eq 0 ] && echo "regsvr32 round trip of $module passed ($checked classes)"
exit "$failures"
