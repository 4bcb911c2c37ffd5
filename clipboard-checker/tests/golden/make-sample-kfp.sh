#!/bin/sh
# Writes sample.kfp byte by byte with printf, from the store file's layout
# alone (not with the store's own writer), so that the golden file checks
# the writer independently. Run by hand only: sh make-sample-kfp.sh
set -eu
out=$(dirname "$0")/sample.kfp

zeros() { head -c "$1" /dev/zero; }
field() { # text width: the text, then zeros up to the width
  printf '%s' "$1"
  zeros $(($2 - ${#1}))
}
header() { printf '03'; zeros 14; }
record() { # name key type size data-printf-format
  printf '||++'
  field "$1" 24
  field "$2" 64
  printf "\\$(printf '%03o' "$3")"
  printf "\\$(printf '%03o' $(($4 & 255)))\\$(printf '%03o' $(($4 >> 8 & 255)))\\000\\000"
  printf '||->'
  printf "$5"
}

{
  header
  record '(TForm)_Width' 'Form1\kfPersist1' 1 4 '320\000'
  record '(TForm)_Caption' 'Form1\kfPersist1' 1 10 'Lexitray\344\000'
  record 'Memo1_Lines' 'Form1\kfPersist1' 2 3 '\001\000\377'
  record '(TForm)_Width' 'Other' 1 3 '64\000'
  header
} >"$out"
