#!/bin/sh
# The command line of every subcommand end to end: each one explains itself
# with -h and --help, names an unknown option and a missing value, and reads
# --name=value as --name value; the twins field that show prints is what
# add --twins and solve --twins read.
cli=$1
work=$2
. "$(dirname "$0")/expect.sh"

howard='1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6'

expect 0 version -- --version
contains version 'kestrovale-cli '
expect 0 list -- --help
commands=$(awk '/^  [a-z0-9]/ { print $1 }' "$work/out")
count=0
for sub in $commands; do
  count=$((count + 1))
  expect 0 "$sub --help" -- "$sub" --help
  head -n 1 "$work/out" | grep -q "^usage: kestrovale-cli $sub" || fail "$sub --help: no usage line"
  contains "$sub --help" 'Exit status: 0 '
  contains "$sub --help" '  -h, --help '
  cp "$work/out" "$work/long-help"
  expect 0 "$sub -h" -- "$sub" -h
  cmp -s "$work/out" "$work/long-help" || fail "$sub: -h and --help differ"
  expect 2 "$sub --frobnicate" -- "$sub" --frobnicate
  err_contains "$sub --frobnicate" "kestrovale-cli: $sub: unknown option --frobnicate"
  out_empty "$sub --frobnicate"
done
[ "$count" -ge 20 ] || fail "only $count subcommands listed"
expect 2 unknown-top-option -- --frobnicate
err_contains unknown-top-option 'unknown option --frobnicate'

# Missing values are named, with what the value is.
expect 2 solve-no-fen-value -- solve --stip '#2' --fen
err_contains solve-no-fen-value 'solve: --fen needs a value (BOARD)'
expect 2 check-no-jobs-value -- check set.kvl --jobs
err_contains check-no-jobs-value 'check: --jobs needs a value (N)'
expect 2 json-with-value -- solve --fen "$howard" --stip '#2' --json=yes
err_contains json-with-value '--json takes no value'
expect 2 show-twice -- show x.kvl -n 1 -n=2
err_contains show-twice '-n given twice'
expect 2 solve-n-without-file -- solve --fen "$howard" --stip '#2' -n 2
expect 2 solve-fen-with-file -- solve x.kvl --fen "$howard"

# --name=value reads as --name value, in every subcommand's own way.
kvl="$work/c.kvl"
expect 0 new -- new "$kvl"
expect 0 add-equals -- add "$kvl" --fen="$howard" --stip=#2 --authors='Kenneth S. Howard'
expect 0 show-equals -- show "$kvl" -n=2
cp "$work/out" "$work/show-equals"
expect 0 show-apart -- show -n 2 "$kvl"
cmp -s "$work/out" "$work/show-equals" || fail "show -n=2 and show -n 2 differ"
contains show-apart 'Kenneth S. Howard'
expect 0 solve-equals -- solve --fen="$howard" --stip=#2 --threads=1 --lang=fr
cp "$work/out" "$work/solve-equals"
expect 0 solve-apart -- solve --lang fr --threads 1 --stip '#2' --fen "$howard"
cmp -s "$work/out" "$work/solve-equals" || fail "solve with = and without differ"
contains solve-apart 'Dd4!'
expect 0 check-equals -- check "$kvl" -n=2 --format=tsv --jobs=1
contains check-equals 'sound'

# One twins form everywhere: what show prints, solve --twins reads, and the
# solution is that of the stored problem. The field holds a backslash (the
# square e1 of an entry that adds a white bishop) and the usual-mode byte.
expect 0 add-twins -- add "$kvl" --fen "$howard" --stip '#2' --twins 'x#\\ #'
expect 0 show-twins -- show "$kvl" -n 3
twins=$(sed -n 's/^twins: *//p' "$work/out")
[ "$twins" = '\x7F#\\ #' ] || fail "show prints the twins as '$twins'"
expect 0 solve-stored-twins -- solve "$kvl" -n 3 --threads 1
cp "$work/out" "$work/stored-twins"
contains solve-stored-twins 'a) +Bwe1'
expect 0 solve-typed-twins -- solve --fen "$howard" --stip '#2' --twins "$twins" --threads 1
cmp -s "$work/out" "$work/stored-twins" || fail "solve --twins of show's field differs from the stored problem"
# The old raw form with a backslash would be read otherwise: it is refused.
expect 2 solve-raw-backslash -- solve --fen "$howard" --stip '#2' --twins 'x#\ #'
err_contains solve-raw-backslash 'a backslash in --twins starts'
expect 2 solve-short-twins -- solve --fen "$howard" --stip '#2' --twins 'x#\\'
err_contains solve-short-twins 'entries of 4 bytes'

# After "--" a file name may start with a dash, also through the print
# helper (when it is built beside the tool).
if [ -x "$(dirname "$cli")/kestrovale-print" ]; then
  tool=$(cd "$(dirname "$cli")" && pwd)/$(basename "$cli")
  (cd "$work" && "$tool" print --format=pdf --kind diagrams -n=2 c.kvl -- -sheet.pdf >out 2>err)
  got=$?
  [ "$got" -eq 0 ] || fail "print to -sheet.pdf: exit status $got ($(head -c 200 "$work/err"))"
  [ -s "$work/-sheet.pdf" ] || fail "print to -sheet.pdf wrote nothing"
fi

finish "option checks"
