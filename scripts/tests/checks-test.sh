#!/usr/bin/env bash
# The format, layering and A/W-call checks catch what they are for: each one
# passes on a small clean tree and fails, naming the file, once a violation
# is planted.
. "$(dirname "$0")/../../testing/script-test.sh"
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
# Members that share an A/W function's name are declared and reached as
# members; the function itself is called by its suffixed name.
cat >"$tree/jpeg/win32/pane.cpp" <<'CPP'
// A pane.
#include "jpeg/win32/pane.h"

HCURSOR Pane::Cursor() { return LoadCursorA(nullptr, IDC_ARROW); }
int Pane::MessageBox(const char *text) { return ::MessageBoxA(nullptr, text, "", MB_OK); }
void Pane::Paint() {
  canvas_.TextOut(0, 0, "LoadCursor(");
  this->MessageBox("done"); // not DrawText(
}
CPP
printf '// Built on the engine.\n#include "spelling/core/dictionary.h"\n' >"$tree/clipboard-checker/win32/form.cpp"
printf '// Built on Pixtune.\n#include "jpeg/win32/export-params.h"\n' >"$tree/plugin-adapters/win32/entry.cpp"
expect pass "clean tree, format" "$root/scripts/check-format.sh" "$tree"
expect pass "clean tree, layering" "$root/scripts/check-layering.sh" "$tree"
expect pass "clean tree, A/W calls" "$root/scripts/check-ansi-calls.py" "$tree"

planted() { # file content, then restores the tree after the checks
  cp -r "$tree" "$work/planted"
  printf '%b' "$2" >"$work/planted/$1"
}
check_planted() { # check why file content
  rm -rf "$work/planted"
  planted "$3" "$4"
  expect fail "$2" "$root/scripts/check-$1" "$work/planted"
  grep -q "$3" "$work/out" || fail "$2: the report does not name $3"
}

check_planted format.sh "a line past 100 columns" jpeg/core/long.cpp \
  "int aVeryLongFunctionName(int firstArgument, int secondArgument, int thirdArgument, int fourthArgument);\n"
check_planted format.sh "a brace on its own line" jpeg/core/brace.cpp "int f()\n{\n  return 0;\n}\n"
check_planted layering.sh "windows.h in a core" jpeg/core/bad.cpp "#include <windows.h>\n"
check_planted layering.sh "a COM header in a core" jpeg/core/com.h "#include <objbase.h>\n"
check_planted layering.sh "a socket header in a core" jpeg/core/net.cpp "#include <winsock2.h>\n"
check_planted layering.sh "a core reaching Windows code" jpeg/core/shell.cpp '#include "jpeg/win32/export.h"\n'
check_planted layering.sh "the platform including a tool" platform/xml/core/doc.cpp '#include "jpeg/core/image.h"\n'
check_planted layering.sh "a tool including one it is not built on" clipboard-checker/win32/jpeg.cpp \
  '#include "jpeg/core/image.h"\n'
check_planted layering.sh "a Windows header in a core" jpeg/core/keys.cpp "#include <windowsx.h>\n"
check_planted layering.sh "a Windows header in quotes in a core" jpeg/core/q.cpp '#include "aclapi.h"\n'
check_planted layering.sh "a relative include of another tool" clipboard-checker/win32/big.cpp \
  '#include "../../jpeg/core/image.h"\n'
check_planted layering.sh "one of our headers in angle brackets" plugin-adapters/win32/angle.cpp \
  '#include <jpeg/win32/export-params.h>\n'
check_planted ansi-calls.py "an unsuffixed A/W call" jpeg/win32/wait.cpp \
  '// Waits.\nvoid wait() {\n  SetCursor(\n      LoadCursor(nullptr, IDC_WAIT));\n}\n'
check_planted ansi-calls.py "a global unsuffixed A/W call" jpeg/win32/box.cpp \
  'int Box::Show() { return ::MessageBox(nullptr, "", "", MB_OK); }\n'

# The build's own layering (cmake/include-layering.cmake): a small project
# of four folders builds while every target includes only what it links
# (directly, through another target, or a generated header), and fails,
# naming the header, once a target includes a folder it does not link.
project=$work/project
mkdir -p "$project"/{lower,other,upper,top}
cat >"$project/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.20)
project(Layers CXX)
include($root/cmake/include-layering.cmake)
add_subdirectory(lower)
add_subdirectory(other)
add_subdirectory(upper)
add_subdirectory(top)
CMAKE
cat >"$project/lower/CMakeLists.txt" <<'CMAKE'
add_library(lower STATIC lower.cpp)
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/generated/lower-version.h "#define LOWER_VERSION 3\n")
target_include_directories(lower PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/generated)
CMAKE
echo 'add_library(other STATIC other.cpp)' >"$project/other/CMakeLists.txt"
printf 'add_library(upper STATIC upper.cpp)\ntarget_link_libraries(upper PUBLIC lower)\n' \
  >"$project/upper/CMakeLists.txt"
printf '%s\n' 'add_executable(top main.cpp)' 'target_link_libraries(top PRIVATE upper)' \
  >"$project/top/CMakeLists.txt"
printf 'int lower();\n' >"$project/lower/lower.h"
printf '#include "lower/lower.h"\nint lower() { return 1; }\n' >"$project/lower/lower.cpp"
printf 'int other();\n' >"$project/other/other.h"
printf '#include "other/other.h"\nint other() { return 2; }\n' >"$project/other/other.cpp"
printf '#include "lower/lower.h"\ninline int upper() { return lower() + 1; }\n' >"$project/upper/upper.h"
printf '#include "upper/upper.h"\nint twice() { return 2 * upper(); }\n' >"$project/upper/upper.cpp"
printf '#include "upper/upper.h"\n#include "lower-version.h"\nint main() { return upper() - LOWER_VERSION + 1; }\n' \
  >"$project/top/main.cpp"
build_project() { # source build
  cmake -S "$1" -B "$2" >/dev/null && cmake --build "$2"
}
expect pass "linked includes build" build_project "$project" "$work/project-build"
cp -r "$project" "$work/planted-project"
printf '#include "upper/upper.h"\n#include "other/other.h"\nint main() { return upper() - other(); }\n' \
  >"$work/planted-project/top/main.cpp"
expect fail "an include of a target not linked" build_project "$work/planted-project" \
  "$work/planted-project-build"
grep -q "other/other.h" "$work/out" || fail "the failed build does not name other/other.h"
# The whole source root offered to a target, which would show it every
# folder, fails the configuration, naming the target.
rm -rf "$work/planted-project"
cp -r "$project" "$work/planted-project"
echo 'target_include_directories(top PRIVATE ${PROJECT_SOURCE_DIR})' >>"$work/planted-project/top/CMakeLists.txt"
expect fail "the source root as an include directory" build_project "$work/planted-project" \
  "$work/planted-project-build"
grep -q "top includes the whole source root" "$work/out" || fail "the failed configuration does not name top"

finish "checks: each passes a clean tree and catches every planted violation"
