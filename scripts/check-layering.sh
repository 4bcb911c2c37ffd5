#!/usr/bin/env bash
# Checks the include rules that keep the layers apart:
#   1. a platform-free core (any core/ folder) includes no Windows, COM or
#      socket header and nothing from a win32/ folder;
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
windows_headers='windows|winsock2?|ws2tcpip|ws2def|mswsock|iphlpapi|winbase|windef|winnt|winuser|wingdi|winreg|winerror|winver|winnls|objbase|ole2|oleauto|olectl|ocidl|oaidl|objidl|unknwn|wtypes|combaseapi|servprov|shlobj|shellapi|shlwapi|commctrl|commdlg|richedit|mmsystem|setupapi|tchar|rpc[a-z]*|msxml[0-9]*|comdef|comutil|atl[a-z]*|afx[a-z]*|initguid|prsht'

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

  # 1. Platform-free cores.
  if [[ /$f == */core/* ]]; then
    base=${name##*/}
    base=${base%.h}
    if [ "$kind" = "<" ] && [[ ${base,,} =~ ^($windows_headers)$ ]]; then
      report "$f" "$line" "<$name>" "a platform-free core includes a platform header"
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
  --include='*.cpp' --include='*.h' --include='*.c' --exclude-dir=build --exclude-dir=.git . || true)

if [ "$violations" -ne 0 ]; then
  echo "layering: $violations violation(s)"
  exit 1
fi
echo "layering: every include keeps to its layer"
