#!/usr/bin/env bash
# Judges the shipped English dictionary and the builder's command line by
# independent tools: iconv converts the system word list, grep -Fx decides
# which words of a sample are in it, and the dictionary must agree.
#   dct-grep-check.sh BUILDER SPELL DICT WORDS SCRATCH
set -euo pipefail
builder=$1 spell=$2 dict=$3 words=$4 scratch=$5
source_list=/usr/share/dict/american-english
export LC_ALL=C
rm -rf "$scratch" && mkdir -p "$scratch" && cd "$scratch"
fail() { echo "FAIL: $*" >&2; exit 1; }

# The builder's ANSI copy of the list is what iconv makes of it.
iconv -f UTF-8 -t CP1252 "$source_list" | sort -u | grep -v '^$' > list.txt
cmp list.txt "$words" || fail "the builder's word list differs from iconv's conversion"

# A sample of words and near misses: lookups agree with grep -Fx.
awk 'NR % 53 == 0 {
       print; print $0 "q"; print "x" $0; print substr($0, 2);
       print toupper(substr($0, 1, 1)) substr($0, 2); print substr($0, 1, length($0) - 1)
     }' list.txt > sample.txt
grep -Fxv -f list.txt sample.txt > unknown-grep.txt || true
"$spell" --lines "$dict" sample.txt > unknown-ours.txt
total=$(wc -l < sample.txt) unknown=$(wc -l < unknown-grep.txt)
[ "$unknown" -gt 1000 ] && [ "$unknown" -lt "$total" ] || fail "sample not mixed: $unknown of $total"
cmp unknown-grep.txt unknown-ours.txt || fail "lookups disagree with grep -Fx"
echo "sample of $total: $unknown unknown, as grep -Fx says"

# The same words in another order give the same bytes.
shuf --random-source=list.txt "$source_list" > shuffled.txt
"$builder" --utf8 --title "American English" -o shuffled.dct shuffled.txt > /dev/null
cmp shuffled.dct "$dict" || fail "a shuffled list gave different bytes"

# A forced split: two sub-dictionaries that together know every word.
"$builder" --utf8 --max-nodes 30000 -o split.dct "$source_list" > /dev/null
[ "$(od -An -tu1 -j278 -N1 split.dct | tr -d ' ')" = 2 ] || fail "no split into two"
[ ! -s "$("$spell" --lines split.dct list.txt > split-unknown.txt; echo split-unknown.txt)" ] ||
  fail "the split dictionary misses words"
"$spell" --lines split.dct sample.txt | cmp - unknown-grep.txt || fail "split lookups disagree"

# Words that cannot be stored are reported and left out; the rest is built.
{ echo good; printf 'caf\xc3\xa9\n'; printf '\xc4\x81bc\n'; head -c 300 /dev/zero | tr '\0' a; echo;
  printf 'two words\n'; } > odd.txt
"$builder" --utf8 -o odd.dct odd.txt > odd.out 2> odd.err || fail "builder failed on odd.txt"
[ "$(grep -c 'left out' odd.err)" = 3 ] || fail "expected three words reported: $(cat odd.err)"
printf 'good\ncaf\xe9\n' | "$spell" --lines odd.dct - | cmp - /dev/null || fail "odd.dct misses words"
echo "builder checks passed"

# The checker's command line: --help prints the usage and succeeds; an
# unknown option is refused instead of being read as a dictionary path.
"$spell" --help > help.out 2> help.err || fail "dct-spell --help failed"
grep -q '^usage: dct-spell' help.out || fail "no usage from --help: $(cat help.out help.err)"
[ ! -s help.err ] || fail "--help wrote to standard error"
set +e
"$spell" --nonsense "$dict" < /dev/null > bad.out 2> bad.err
status=$?
set -e
[ "$status" = 2 ] && grep -q 'unknown option --nonsense' bad.err || fail "unknown option: $status"
echo "command line checks passed"
