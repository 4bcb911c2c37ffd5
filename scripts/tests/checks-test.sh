#!/usr/bin/env bash
# The format and layering checks catch what they are for: each one passes on
# a small clean tree and fails, naming the file, once a violation is planted.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { # pass|fail name command...
  local want=$1 name=$2
  shift 2
  if "$@" >"$work/out" 2>&1; then got=pass; else got=fail; fi
  [ "$got" = "$want" ] || { fail "$name: expected $want, got $got"; cat "$work/out"; }
}

tree=$work/tree
mkdir -p "$tree"/{jpeg/core,jpeg/win32,platform/xml/core,clipboard-checker/win32,plugin-adapters/win32}
cp "$root/.clang-format" "$tree/"
printf '// A core.\n#include "jpeg/core/image.h"\n\n#include <vector>\n\nint f();\n' >"$tree/jpeg/core/image.cpp"
printf '// A shell.\n#include "jpeg/core/image.h"\n\n#include <windows.h>\n' >"$tree/jpeg/win32/export.cpp"
printf '// Built on the engine.\n#include "spelling/core/dictionary.h"\n' >"$tree/clipboard-checker/win32/form.cpp"
printf '// Built on Pixtune.\n#include "jpeg/win32/export-params.h"\n' >"$tree/plugin-adapters/win32/entry.cpp"
expect pass "clean tree, format" "$root/scripts/check-format.sh" "$tree"
expect pass "clean tree, layering" "$root/scripts/check-layering.sh" "$tree"

planted() { # file content, then restores the tree after the checks
  cp -r "$tree" "$work/planted"
  printf '%b' "$2" >"$work/planted/$1"
}
check_planted() { # check why file content
  rm -rf "$work/planted"
  planted "$3" "$4"
  expect fail "$2" "$root/scripts/check-$1.sh" "$work/planted"
  grep -q "$3" "$work/out" || fail "$2: the report does not name $3"
}

check_planted format "a line past 100 columns" jpeg/core/long.cpp \
  "int aVeryLongFunctionName(int firstArgument, int secondArgument, int thirdArgument, int fourthArgument);\n"
check_planted format "a brace on its own line" jpeg/core/brace.cpp "int f()\n{\n  return 0;\n}\n"
check_planted layering "windows.h in a core" jpeg/core/bad.cpp "#include <windows.h>\n"
check_planted layering "a COM header in a core" jpeg/core/com.h "#include <objbase.h>\n"
check_planted layering "a socket header in a core" jpeg/core/net.cpp "#include <winsock2.h>\n"
check_planted layering "a core reaching Windows code" jpeg/core/shell.cpp '#include "jpeg/win32/export.h"\n'
check_planted layering "the platform including a tool" platform/xml/core/doc.cpp '#include "jpeg/core/image.h"\n'
check_planted layering "a tool including one it is not built on" clipboard-checker/win32/jpeg.cpp \
  '#include "jpeg/core/image.h"\n'

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "checks: both pass a clean tree and catch every planted violation"
