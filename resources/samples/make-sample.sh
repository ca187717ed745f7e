#!/bin/sh
# Builds sample.kvl, the sample collection that the printed pages in docs/
# come from: nine published problems of the checked set
# (tests/collections/data/checked.tsv), with authors, source, award and
# stipulation. The helpmate carries a twin, added for this sample only.
#   resources/samples/make-sample.sh [path/to/kestrovale-cli]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cli=${1:-"$here/../../build/release/cli/kestrovale-cli"}
out="$here/sample.kvl"
rm -f "$out"

add() { "$cli" add "$out" "$@" > /dev/null; }

add --fen 8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2 --stip '#2' \
    --authors 'Planck, Charles' --source 'Illustrated Sporting and Dramatic News, 1884'
add --fen 1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6 --stip '#2' \
    --authors 'Howard, Kenneth S.' --source 'The Observer, 26 Dec 1926'
add --fen 6R1/b1NN4/1p5K/1B1P4/3kp3/1R1pn3/6b1/1n4Q1 --stip '#2' \
    --authors 'Ahues, Herbert' --source 'Deutsche Schachblätter 1983/84' --award '1st Prize'
add --fen 4r1b1/1p4B1/pN2pR2/RB2k3/1P2N2p/2p3b1/n2P1p1r/5K1n --stip '#3' \
    --authors 'Loyd, Sam' --source 'Checkmate, 1903' --award '1st Prize'
add --fen 8/P7/8/5R2/4p3/8/2K1kB2/8 --stip '#3' \
    --authors 'Wurzburg, Otto' --source 'American Chess Bulletin, 1941'
add --fen 8/4Q3/2k5/5B2/pK6/1p6/8/7b --stip '#4' \
    --authors 'Speckmann, Werner' --source 'Deutsche Schachzeitung, 1967' \
    --comment 'dedicated to Wilhelm Schröder'
# Twins: a) the diagram, b) without the black pawn d5 (kind 2, square 27),
# which has one solution.
add --fen 4R3/8/Q7/1B1p4/2bpR3/P2kr3/6K1/6b1 --stip 'h#2' \
    --authors 'Garai, Tibor' --source 'Probleemblad, 1989' --award '2nd Prize' \
    --comment 'twin b) added for this sample' --twins 'x    ";  '
add --fen 2N2bBR/4P1k1/7p/2N2p1P/3p1P2/1PpP4/2Kp4/1n1R4 --stip 's#2' \
    --authors 'Argunow, Nikolai' --source 'Shakhmatnaya Kompozitsiya 07-08/1999'
add --fen q1b1n1K1/2P1P3/8/3k4/8/8/8/8 --stip 'h#3' \
    --authors 'Turner, Neal' --source 'The Problemist Supplement, 1995'

"$cli" count "$out"
