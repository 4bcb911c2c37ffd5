#!/usr/bin/env bash
# Checks the include rules that keep the layers apart:
#   0. our own headers are named by their path from the source root, in
#      quotes: no "../" (which reaches any folder past the build's layering)
#      and no angle brackets (which skip the checks below);
#   1. a platform-free core (any core/ folder) includes, in angle brackets,
#      only the standard library, the C runtime's file headers (io.h or
#      unistd.h, sys/stat.h) and the compiler's intrinsics, so no Windows,
#      COM or socket header; in quotes only our own headers, and nothing
#      from a win32/ folder;
#   2. nothing in platform/ includes a tool;
#   3. a tool includes another tool only where it is built on it: the
#      clipboard checker on the spelling engine, the plug-ins and the
#      installer on Pixtune, the add-on's libraries on its simulator (and
#      the semiconductor library on the passive library's kit and contract).
# Tests of a folder follow the folder's rules. Prints each violation as
# file:line: include, and fails when there is one.
#   check-layering.sh [tree]   (default: this checkout)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

tools=(spelling clipboard-checker circuit-sim passive-lib semi-lib jpeg plugin-adapters installer invoice-mailer)
# The tools each tool may include, besides itself.
declare -A allowed=(
  [clipboard-checker]="spelling"
  [plugin-adapters]="jpeg"
  [installer]="jpeg"
  [passive-lib]="circuit-sim"
  [semi-lib]="circuit-sim passive-lib"
)
# The headers a core may include in angle brackets: the C++ library's (no
# extension), the C runtime's file calls and the compiler's intrinsics.
core_system_headers='[a-z_]+|io\.h|unistd\.h|sys/stat\.h|[a-z]*intrin\.h'
# Every top-level folder of the tree: an angle-bracket include of one is ours.
own_folders=$(find . -mindepth 1 -maxdepth 1 -type d ! -name build ! -name '.*' -printf '%f\n' | paste -sd'|')

violations=0
report() { # file line include why
  echo "$1:$2: $3 ($4)"
  violations=$((violations + 1))
}

# One pass over every include of the tree: "file:line:text".
while IFS= read -r hit; do
  f=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  text=${rest#*:}
  [[ $text =~ include[[:space:]]*([\<\"])([^\>\"]*) ]] || continue
  kind=${BASH_REMATCH[1]}
  name=${BASH_REMATCH[2]}
  f=${f#./}
  folder=${f%%/*}

  # 0. How our own headers are named.
  if [[ /$name/ == */../* || /$name/ == */./* ]]; then
    report "$f" "$line" "$kind$name${kind/</>}" "a relative path: name the header from the source root"
    continue
  fi
  if [ "$kind" = "<" ] && [[ $name =~ ^($own_folders)/ ]]; then
    report "$f" "$line" "<$name>" "one of our headers: include it in quotes"
    continue
  fi

  # 1. Platform-free cores.
  if [[ /$f == */core/* ]]; then
    if [ "$kind" = "<" ] && ! [[ $name =~ ^($core_system_headers)$ ]]; then
      report "$f" "$line" "<$name>" "a platform-free core includes a platform header"
    elif [ "$kind" = '"' ] && ! [[ $name =~ ^($own_folders)/ ]]; then
      report "$f" "$line" "\"$name\"" "a platform-free core includes only our headers, from the source root"
    elif [[ $name == */win32/* ]]; then
      report "$f" "$line" "\"$name\"" "a platform-free core includes Windows code"
    fi
  fi

  # 2 and 3. Which folder may include which tool.
  [ "$kind" = '"' ] || continue
  target=${name%%/*}
  [[ " ${tools[*]} " == *" $target "* ]] && [ "$target" != "$folder" ] || continue
  if [ "$folder" = platform ]; then
    report "$f" "$line" "\"$name\"" "the platform layers include no tool"
  elif [[ " ${tools[*]} " == *" $folder "* ]] && [[ " ${allowed[$folder]:-} " != *" $target "* ]]; then
    report "$f" "$line" "\"$name\"" "$folder is not built on $target"
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' \
  --include='*.cpp' --include='*.h' --include='*.c' --include='*.rc' --exclude-dir=build --exclude-dir=.git . || true)

if [ "$violations" -ne 0 ]; then
  echo "layering: $violations violation(s)"
  exit 1
fi
echo "layering: every include keeps to its layer"
