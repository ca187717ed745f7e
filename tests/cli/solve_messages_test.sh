#!/bin/sh
# kestrovale-cli solve never ends in silence: every way a solve can stop
# with less than a solution says why on stderr, with its exit status.
cli=$1
work=$2
. "$(dirname "$0")/expect.sh"

planck='8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2'
forsberg='8/8/q7/8/1R4K1/k2N4/8/8'

# An empty board: the program stays silent, the tool says why.
expect 3 empty-board -- solve --fen 8/8/8/8/8/8/8/8 --stip '#2'
err_contains empty-board 'the board is empty'
out_empty empty-board

# The same from a collection file holding a blank problem.
expect 0 add-blank -- add "$work/blank.kvl" --fen 8/8/8/8/8/8/8/8 --stip '#2'
expect 3 empty-board-file -- solve "$work/blank.kvl"
err_contains empty-board-file 'the board is empty'

# An invalid position: the validation's own message.
expect 3 two-white-kings -- solve --fen K7/8/8/8/8/8/8/K6k --stip '#2'
err_contains two-white-kings 'Invalid position'

# A series mover in which White begins is not solved; every other kind and
# length is.
expect 4 series -- solve --fen "$forsberg" --stip 'ser-h#6 W'
err_contains series 'Unable to solve this problem'
expect 0 helpstalemate -- solve --fen 8/8/8/pp6/k1P5/1p6/pK6/8 --stip 'h=2'
contains helpstalemate '2. b4  Kb2='

# Set play, tries and actual play all off: nothing to write, and it says so.
expect 0 nothing-asked -- solve --fen "$planck" --stip '#2' --options 000111001110101000
err_contains nothing-asked 'nothing to write'

# The test-a-move preset needs the program's dialog to choose a move.
expect 4 no-move-chosen -- solve --fen "$planck" --stip '#2' --options 000111051110101000
err_contains no-move-chosen 'nothing was tested'

# A solve that runs to its end says nothing of the kind.
expect 0 solved -- solve --fen "$planck" --stip '#2'
contains solved 'Solution: 1. Kg2!'
if grep -q '^solve: ' "$work/err"; then fail "solved: stderr has a stop note"; fi

finish "solve message checks"
