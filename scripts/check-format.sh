#!/usr/bin/env bash
# Fails when a C or C++ source of the tree differs from what clang-format
# makes of it (the committed .clang-format). Lists the files that differ.
#   check-format.sh [tree]   (default: this checkout; a tree need not be git)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1 && [ -z "${1:-}" ]; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.c')
else
  mapfile -t files < <(find . -path ./build -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print | sed 's|^\./||' | sort)
fi
bad=()
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  if ! clang-format --style=file "$f" | cmp -s - "$f"; then
    bad+=("$f")
  fi
done
if [ ${#bad[@]} -ne 0 ]; then
  echo "format: ${#bad[@]} file(s) differ from clang-format's layout (run clang-format -i on them):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "format: ${#files[@]} files follow the layout"
