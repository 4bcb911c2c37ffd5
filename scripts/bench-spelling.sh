#!/usr/bin/env bash
# Spelling benchmark: load time of the English main dictionary, lookups per
# second over the words of a novel, the whole check of that text (our
# dct-spell beside aspell list and hunspell -l, paired runs), and the
# suggestions for misspelt words beside aspell -a and hunspell -a.
#   bench-spelling.sh BENCH_BUILD_DIR [TEXT]
set -euo pipefail
build=${1:?usage: bench-spelling.sh BENCH_BUILD_DIR [TEXT]}
root=$(cd "$(dirname "$0")/.." && pwd)
text=${2:-$root/../shared/data/text/moby-dick.txt}
spell=$build/spelling/tools/dct-spell
dict=$build/spelling/American.dct
[ -x "$spell" ] && [ -f "$dict" ] || { echo "build $build first (dct-spell, American.dct)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The engine reads 8-bit ANSI text; the peers read the UTF-8 original.
sed '1s/^\xef\xbb\xbf//' "$text" > "$work/utf8.txt"
iconv -f UTF-8 -t CP1252//TRANSLIT "$work/utf8.txt" > "$work/ansi.txt"

declare -A r
while read -r key value; do r[$key]=$value; done < <("$spell" --bench "$dict" "$work/ansi.txt")
ours_unknown=$("$spell" "$dict" "$work/ansi.txt" | wc -l)
aspell_unknown=$(aspell -d en_US list < "$work/utf8.txt" | wc -l)
hunspell_unknown=$(hunspell -d en_US -l < "$work/utf8.txt" | wc -l)

echo "== spelling: $(basename "$text"), ${r[words]} words"
printf '%-50s %s\n' "American.dct load time" "${r[load_ms]} ms"
printf '%-50s %s\n' "lookups alone (words as written)" \
  "$(awk -v v="${r[lookups_per_s]}" 'BEGIN { printf "%.1f M words/s", v / 1e6 }')"
printf '%-50s %s\n' "tokenise + lookup + lower-case retry, in process" \
  "${r[check_ms]} ms ($(awk -v v="${r[check_words_per_s]}" 'BEGIN { printf "%.1f M words/s", v / 1e6 }'))"
verdict() { if [ "$1" = 1 ]; then echo "met"; else echo "MISSED"; fi; }
echo "target: lookups >= 10 M words/s: $(verdict "$(awk -v v="${r[lookups_per_s]}" 'BEGIN { print (v >= 1e7) }')")"
echo "unknown words: dct-spell $ours_unknown, aspell list $aspell_unknown, hunspell -l $hunspell_unknown"

# The whole check of the text as whole processes (dictionary load and all),
# each side through sh reading its file from standard input, in paired runs.
timer=$root/scripts/time-paired.py
ours=(sh -c "'$spell' '$dict' - < '$work/ansi.txt'")
/usr/bin/python3 "$timer" --runs "${CHECK_RUNS:-5}" --label "spell-check the novel" --target 1.0 \
  --peer-name "aspell list" -- "${ours[@]}" -- sh -c "aspell -d en_US list < '$work/utf8.txt'"
/usr/bin/python3 "$timer" --runs "${CHECK_RUNS:-5}" --label "spell-check the novel" \
  --peer-name "hunspell -l" -- "${ours[@]}" -- sh -c "hunspell -d en_US -l < '$work/utf8.txt'"

# Suggestions for misspelt words, one pass over the same typos for every
# tool, as a mean per word, beside aspell -a and hunspell -a.
sbench=$build/spelling/tests/suggestion-bench
if [ -x "$sbench" ]; then
  echo
  /usr/bin/python3 "$root/spelling/tools/bench-suggestions.py" "$sbench" "$dict" \
    "$build/spelling/American.words" "$work" 500 "${SUGGEST_ROUNDS:-5}"
fi

# A user dictionary of 200,000 words in no order: loaded from its file,
# then one word added and the file written again.
ubench=$build/spelling/tests/user-dictionary-bench
if [ -x "$ubench" ]; then
  declare -A u
  while read -r key value; do u[$key]=$value; done < <("$ubench" "$work" "${USER_WORDS:-200000}")
  echo
  printf '%-50s %s\n' "user dictionary of ${u[words]} words: load" "${u[load_ms]} ms"
  printf '%-50s %s\n' "the same: add a word and save" "${u[add_save_ms]} ms"
  echo "target: load < 500 ms: $(verdict "$(awk -v v="${u[load_ms]}" 'BEGIN { print (v < 500) }')")"
fi
