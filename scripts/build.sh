#!/usr/bin/env bash
# Configures and builds the three trees:
#   native  host g++: platform-free cores, their tests, tools and benchmarks
#   win32   i686 mingw: the deliverables, as shipped
#   win64   x86_64 mingw: the same sources, for running the Windows tests on
#           machines whose kernel cannot run 32-bit code (see README)
# BUILD_ROOT puts the trees elsewhere; BUILD_PARTS limits them to some folders;
# BUILD_TREES (e.g. "native win64") to some trees; BUILD_JOBS sets the jobs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${BUILD_JOBS:-$(nproc)}
build=${BUILD_ROOT:-$root/build}
parts=${BUILD_PARTS:-}

configure() { # tree [toolchain]
  local args=(-S "$root" -B "$build/$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_PARTS="$parts")
  [ -n "${2:-}" ] && args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2")
  cmake "${args[@]}" >/dev/null
  cmake --build "$build/$1" -j "$jobs"
}

trees=${BUILD_TREES:-native win32 win64}
for tree in $trees; do
  case $tree in
  native) configure native ;;
  win32) configure win32 mingw-i686.cmake ;;
  win64) configure win64 mingw-x86_64.cmake ;;
  *) echo "build: unknown tree $tree" >&2; exit 2 ;;
  esac
done
