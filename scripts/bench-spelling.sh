#!/usr/bin/env bash
# Spelling benchmark: load time of the English main dictionary, lookups per
# second over the words of a novel, and the whole check of that text (our
# dct-spell, aspell list, hunspell -l) timed in the same run.
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

# Best of five wall-clock runs of a command, in milliseconds.
best_ms() {
  local best=
  for _ in 1 2 3 4 5; do
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null
    end=$(date +%s%N)
    local ms=$(( (end - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
  done
  echo "$best"
}

declare -A r
while read -r key value; do r[$key]=$value; done < <("$spell" --bench "$dict" "$work/ansi.txt")
ours_ms=$(best_ms "$spell" "$dict" "$work/ansi.txt")
ours_unknown=$("$spell" "$dict" "$work/ansi.txt" | wc -l)
aspell_ms=$(best_ms sh -c "aspell -d en_US list < '$work/utf8.txt'")
aspell_unknown=$(aspell -d en_US list < "$work/utf8.txt" | wc -l)
hunspell_ms=$(best_ms sh -c "hunspell -d en_US -l < '$work/utf8.txt'")
hunspell_unknown=$(hunspell -d en_US -l < "$work/utf8.txt" | wc -l)

echo "== spelling: $(basename "$text"), ${r[words]} words"
printf '%-50s %s\n' "American.dct load time" "${r[load_ms]} ms"
printf '%-50s %s\n' "lookups alone (words as written)" \
  "$(awk -v v="${r[lookups_per_s]}" 'BEGIN { printf "%.1f M words/s", v / 1e6 }')"
printf '%-50s %s\n' "tokenise + lookup + lower-case retry, in process" \
  "${r[check_ms]} ms ($(awk -v v="${r[check_words_per_s]}" 'BEGIN { printf "%.1f M words/s", v / 1e6 }'))"
echo
printf '%-32s %12s %16s\n' "whole check of the text" "wall ms" "unknown words"
printf '%-32s %12s %16s\n' "dct-spell (load + check)" "$ours_ms" "$ours_unknown"
printf '%-32s %12s %16s\n' "aspell list" "$aspell_ms" "$aspell_unknown"
printf '%-32s %12s %16s\n' "hunspell -l" "$hunspell_ms" "$hunspell_unknown"
verdict() { if [ "$1" = 1 ]; then echo "met"; else echo "MISSED"; fi; }
echo
echo "target: whole check faster than aspell list: $(verdict $(( ours_ms < aspell_ms )))"
echo "target: lookups >= 10 M words/s: $(verdict "$(awk -v v="${r[lookups_per_s]}" 'BEGIN { print (v >= 1e7) }')")"

# Suggestions for misspelt words, one pass over the same typos for every
# tool: ours in process (mean per word over the pass; the median of each
# word's best of five beside it), aspell -a and hunspell -a as whole
# processes on all the typos and on one, so that their start-up drops out:
# (all - one) / (count - 1) is their mean time per word. Each tool's number
# of suggestions is counted from its own output, since a tool that offers
# fewer has less to do.
sbench=$build/spelling/tests/suggestion-bench
if [ -x "$sbench" ]; then
  declare -A s
  while read -r key value; do s[$key]=$value; done < <("$sbench" "$dict" \
    "$build/spelling/American.words" "$work/typos.txt" 500)
  head -1 "$work/typos.txt" > "$work/typo1.txt"
  sed 's/^/^/' "$work/typos.txt" > "$work/typos-a.txt"
  sed 's/^/^/' "$work/typo1.txt" > "$work/typo1-a.txt"
  per_word_us() { # peer command
    local all one
    all=$(best_ms sh -c "$1 < '$work/typos-a.txt'")
    one=$(best_ms sh -c "$1 < '$work/typo1-a.txt'")
    awk -v a="$all" -v o="$one" -v n="${s[words]}" 'BEGIN { printf "%.1f", (a - o) * 1000 / (n - 1) }'
  }
  # Suggestions a peer returned in all: "& word count offset: ..." lines
  # carry the count; "#" lines (none) and "*" lines (known) add nothing.
  suggestions_of() { # peer command
    sh -c "$1 < '$work/typos-a.txt'" | awk '$1 == "&" { n += $3 } END { print n + 0 }'
  }
  aspell_us=$(per_word_us "aspell -a -d en_US")
  hunspell_us=$(per_word_us "hunspell -a -d en_US")
  aspell_n=$(suggestions_of "aspell -a -d en_US")
  hunspell_n=$(suggestions_of "hunspell -a -d en_US")
  per_word() { awk -v n="$1" -v w="${s[words]}" 'BEGIN { printf "%.1f", n / w }'; }
  echo
  echo "== suggestions: ${s[words]} one-edit typos of dictionary words, one pass"
  printf '%-46s %14s %14s %16s\n' "tool" "mean us/word" "suggestions" "per word"
  printf '%-46s %14s %14s %16s\n' "ours (TDictionary.Suggest, in process)" "${s[mean_us]}" \
    "${s[suggestions]}" "$(per_word "${s[suggestions]}")"
  printf '%-46s %14s %14s %16s\n' "aspell -a (whole process)" "$aspell_us" "$aspell_n" \
    "$(per_word "$aspell_n")"
  printf '%-46s %14s %14s %16s\n' "hunspell -a (whole process)" "$hunspell_us" "$hunspell_n" \
    "$(per_word "$hunspell_n")"
  printf '%-46s %s\n' "ours, median of each word's best of five" "${s[median_us]} us (max ${s[max_us]} us)"
  echo "target: under 1 ms a word: $(verdict "$(awk -v v="${s[mean_us]}" 'BEGIN { print (v < 1000) }')")"
  echo "target: at or below aspell: $(verdict "$(awk -v v="${s[mean_us]}" -v a="$aspell_us" 'BEGIN { print (v <= a) }')")"
fi
