#!/bin/sh
# End-to-end checks of kestrovale-cli: each case runs the tool and compares
# its exit status and a piece of its output. Prints every failure, then fails.
cli=$1
work=$2
. "$(dirname "$0")/expect.sh"

howard='1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6'

# perft and mate1
expect 0 perft -- perft 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w' 3
contains perft 8902
expect 2 perft-bad-depth -- perft 'rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w' x
expect 2 perft-bad-fen -- perft 'rnbqkbnr/pppppppp/8/8/8/8 w' 1
expect 0 mate1 -- mate1 '7k/8/6K1/8/8/8/8/R7 w'
contains mate1 'Ra1-a8'
expect 2 mate1-no-args -- mate1

# solve: exit statuses and the key of a published two-mover
expect 0 solve-two-mover -- solve --fen "$howard" --stip '#2'
contains solve-two-mover 'Solution: 1. Qd4!'
contains solve-two-mover 'But 1. ... Sc4!'
err_contains solve-two-mover 'Search completed'
expect 0 solve-french -- solve --fen "$howard" --stip '#2' --lang fr
contains solve-french 'Dd4!'
expect 3 solve-invalid -- solve --fen 8/8/8/8/8/8/8/K7 --stip '#2'
err_contains solve-invalid 'pas de roi noir'
expect 4 solve-series-white-begins -- solve --fen "$howard" --stip 'sh#3 W'
expect 0 solve-series -- solve --fen 8/8/8/7K/8/5N2/4Npp1/5k2 --stip 'sh=3'
contains solve-series ' 1. g1=S 2. Sh3 3. Sf4+  Sxf4='
expect 2 solve-bad-board -- solve --fen xyz --stip '#2'
expect 2 solve-bad-type -- solve --fen "$howard" --stip 'q#2'
expect 2 solve-bad-options -- solve --fen "$howard" --stip '#2' --options 12x
expect 2 solve-bad-lang -- solve --fen "$howard" --stip '#2' --lang xx

# solve --options: the digits are used as typed whatever kind their eighth
# digit names (it is set from the problem), never swapped for a kind's set.
garai='4R3/8/Q7/1B1p4/2bpR3/P2kr3/6K1/6b1'
expect 0 solve-options-help -- solve --help
contains solve-options-help '--options DIGITS'
for kind in 0 1 2 3; do
  expect 0 "solve-options-kind-$kind" -- solve --fen "$howard" --stip '#2' --options "0111110${kind}1110101000"
  contains "solve-options-kind-$kind" 'But 1. ... Sc4!'
  contains "solve-options-kind-$kind" 'Solution: 1. Qd4!'
  expect 0 "solve-options-help-$kind" -- solve --fen "$garai" --stip 'h#2' --options "1000110${kind}1110101000"
  contains "solve-options-help-$kind" '1. Bxb5  Rxe3'
  lacks "solve-options-help-$kind" 'Rc8#'
done
expect 2 unknown-command -- frobnicate

# collections: create, add, read back, solve from the file, damage
kvl="$work/c.kvl"
expect 0 new -- new "$kvl"
[ "$(wc -c <"$kvl")" -eq 101 ] || fail "new: file is not 101 bytes"
expect 0 add -- add "$kvl" --fen "$howard" --stip '#2' --authors 'Kenneth S. Howard' --source 'The Observer' --comment 'Défense'
expect 0 count -- count "$kvl"
contains count 2
expect 0 show -- show "$kvl" -n 2
contains show 'Kenneth S. Howard'
contains show 'Défense'
contains show "$howard"
expect 0 solve-file -- solve "$kvl" -n 2
contains solve-file 'Solution: 1. Qd4!'
expect 0 solve-file-options -- solve "$kvl" -n 2 --options 011111031110101000
contains solve-file-options 'But 1. ... Sc4!'
expect 1 show-missing-record -- show "$kvl" -n 9
expect 0 diagram -- diagram "$kvl" -n 2
[ "$(wc -l <"$work/out")" -eq 10 ] || fail "diagram: not 10 lines"
cp "$kvl" "$work/before.kvl"
head -c 60 "$work/before.kvl" >"$work/cut.kvl"
expect 1 show-damaged -- show "$work/cut.kvl" -n 1
expect 1 add-to-missing-folder -- add "$work/no/such/dir.kvl" --fen "$howard" --stip '#2'
cmp -s "$kvl" "$work/before.kvl" || fail "failed commands changed the collection"

# A named pipe, a device or a folder is no collection: every subcommand
# refuses it at once (opening a pipe for reading would wait for a writer).
mkfifo "$work/pipe.kvl"
mkdir "$work/folder.kvl"
for odd in "$work/pipe.kvl" /dev/zero "$work/folder.kvl"; do
  for args in "count" "show" "diagram" "solve" "insert -n 1 --count 1" "delete -n 1 --count 1" \
    "compact" "add --fen $howard --stip #2"; do
    set -- $args
    command=$1
    shift
    timeout 10 "$cli" "$command" "$odd" "$@" >"$work/out" 2>"$work/err"
    got=$?
    [ "$got" -eq 1 ] || fail "$command $odd: exit status $got, expected 1"
    err_contains "$command $odd" 'not a collection file'
  done
done
[ -p "$work/pipe.kvl" ] || fail "the pipe was replaced"

# new never takes an existing name; add creates a missing file complete.
expect 1 new-existing -- new "$kvl"
err_contains new-existing 'already exists'
expect 0 add-creates -- add "$work/added.kvl" --fen "$howard" --stip '#2' --authors 'First'
expect 0 count-created -- count "$work/added.kvl"
contains count-created 1
[ -z "$(ls -A "$work" | grep -v -x -e c.kvl -e before.kvl -e cut.kvl -e added.kvl -e pipe.kvl \
  -e folder.kvl -e out -e err)" ] || fail "a temporary file was left: $(ls -A "$work")"

# The bench refuses a suite without problems instead of timing nothing, and
# times a helpmate list on one core or two.
printf 'id\tstipulation\tfen_board\tkey\n' >"$work/empty-suite.tsv"
expect 1 bench-empty-suite -- bench --suite "$work/empty-suite.tsv"
err_contains bench-empty-suite 'no problem'
printf 'id\tstipulation\tfen_board\tsolutions\tpeer_fast_seconds\n' >"$work/helpmates.tsv"
printf 'hm_a\th#2\t8/8/q7/8/1R4K1/k2N4/8/8\t-\t0.01\n' >>"$work/helpmates.tsv"
for threads in 1 2; do
  expect 0 "bench-helpmates-$threads" -- bench --helpmates "$work/helpmates.tsv" --threads "$threads"
  contains "bench-helpmates-$threads" 'hm_a'
  contains "bench-helpmates-$threads" "$threads thread"
done
expect 2 bench-helpmates-threads -- bench --helpmates "$work/helpmates.tsv" --threads 3
# The best of several solves, with the backward walk off; a count of none
# or of no number is refused.
expect 0 bench-helpmates-repeat -- bench --helpmates "$work/helpmates.tsv" --repeat 2 --no-backward
contains bench-helpmates-repeat 'best of 2'
contains bench-helpmates-repeat 'backward walk off'
expect 2 bench-helpmates-repeat-0 -- bench --helpmates "$work/helpmates.tsv" --repeat 0
expect 2 bench-helpmates-repeat-x -- bench --helpmates "$work/helpmates.tsv" --repeat x

finish "command-line checks"
