#!/bin/sh
# Builds sample.kvl, the sample collection that the printed pages in docs/
# come from and that the demonstration opens: published
# problems of the checked sets (tests/collections/data/checked.tsv and
# tests/solver/data/helpmates-deep.tsv), with authors, source, award and
# stipulation; the first nine are those of the printed pages. The h#2 of
# Garai carries a twin, added for this sample only. A helpmate with more
# than one solution says how many in its comment.
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
# Twins: a) the diagram, b) without the white rook e4 (kind 2, square 36);
# each has two solutions, which the comment states, so that the soundness
# check reads them as intended.
add --fen 4R3/8/Q7/1B1p4/2bpR3/P2kr3/6K1/6b1 --stip 'h#2' \
    --authors 'Garai, Tibor' --source 'Probleemblad, 1989' --award '2nd Prize' \
    --comment '2 solutions; twin b) added for this sample' --twins 'x    "D  '
add --fen 2N2bBR/4P1k1/7p/2N2p1P/3p1P2/1PpP4/2Kp4/1n1R4 --stip 's#2' \
    --authors 'Argunow, Nikolai' --source 'Shakhmatnaya Kompozitsiya 07-08/1999'
add --fen q1b1n1K1/2P1P3/8/3k4/8/8/8/8 --stip 'h#3' \
    --authors 'Turner, Neal' --source 'The Problemist Supplement, 1995'

# More direct mates of the checked set.
add --fen 5Q2/2pbpN2/3p4/8/3kP1R1/2R5/1K6/6b1 --stip '#2' \
    --authors 'Bettmann, Henry W.; Smith, William J.' --source 'Sydney Telegraph, 1901'
add --fen 1QK5/3B4/3N4/1R1Pk3/4Np1R/4Pq2/8/8 --stip '#2' \
    --authors 'Touw Hian Bwee' --source 'The Problemist, 1984'
add --fen 3Q1b2/7b/3npN2/2p5/2P2P1R/2P1k3/1N6/3BK3 --stip '#2' \
    --authors 'Buchwald, Julius' --source 'American Chess Bulletin, 1946' --award '1st Prize'
add --fen 8/K1pr4/2B2P2/p2R2B1/4k2N/6p1/qp1p1rP1/7Q --stip '#2' \
    --authors 'Volf, Josef' --source 'Lidové noviny, 1905'
add --fen 2N5/1q5B/3p3r/R2Pk2p/2Q1Np1B/2pp1R2/1b2b2K/8 --stip '#2' \
    --authors 'Goldschmeding, Cornelis' --source 'The Problemist, 1992' --award '2nd Prize'
add --fen 8/7p/1N1Qbp1B/6nR/4kN2/2Pp2K1/2np4/8 --stip '#2' \
    --authors 'Förster, Klaus' --source 'Die Schwalbe, 2007'
add --fen 8/2N2qPQ/4R1p1/1R1BNk1p/K2p1p1B/3P1p2/1p2r1P1/8 --stip '#2' \
    --authors 'Förster, Klaus' --source 'Die Schwalbe, 2007' --award '2nd Prize'
add --fen 8/7Q/8/8/6p1/6N1/6kP/4K2R --stip '#2' \
    --authors 'Kubbel, Leonid' --source 'Molodoi Leninets, 1940' --comment 'castling mate'
add --fen 2B5/7q/pR2pr1n/K1N1k2P/2PR2b1/2P2rn1/3B3N/1Q6 --stip '#2' \
    --authors 'Szöghy, József' --source 'Karácsonyi lap, 1935'
add --fen 3br3/Q4Rp1/1nNp2K1/R6N/3r2kB/6P1/B5P1/8 --stip '#2' \
    --authors 'Prins, Henk' --source 'Belgisch Schaakbord, 1985'
add --fen 2B1N1q1/2N1Pb2/1pP3rn/b3k1p1/r2p2R1/BR1p2K1/5Q2/8 --stip '#2' \
    --authors 'Tura, W.' --source 'Europe Echecs, 1962' --award '1st Prize'
add --fen 8/4p2K/3P4/5kP1/2R1Np2/1B3Q2/8/8 --stip '#2' \
    --authors 'Mansfield, Comins' --source 'Thèmes-64, L. Segal Memorial, 1962' --award '3rd Prize'
add --fen 1r2NbK1/8/6R1/2n1p3/1Qp1k1P1/2P1N1p1/q1P1BrP1/2B1R3 --stip '#2' \
    --authors 'Reeves, Alfred C.' --source 'Die Schwalbe, 1962' --award '8th Commendation'
add --fen 5kNK/3pRp2/r5pp/1n2NB2/5R2/7q/p2rp3/1b5Q --stip '#2' \
    --authors 'Macleod, Norman A.' --source 'British Chess Magazine, 1962' --award '1st Honourable Mention'
add --fen K7/1Q6/3pk2p/2pR4/1N6/8/6P1/8 --stip '#3' \
    --authors 'Giegold, Fritz' --source 'Deutsche Schachblätter, 1932'
add --fen 8/8/3N3n/3p4/3N4/n1B1k1K1/8/5B2 --stip '#3' \
    --authors 'Johandl, Alois' --source 'Schweizerische Schachzeitung, 1967' --award '1st Prize'
add --fen k7/2RN4/8/1p2B3/np6/1Kb5/Qn6/8 --stip '#3' \
    --authors 'Kraemer, Ado' --source 'Johannes Kohtz Memorial Tourney, 1943' --award '1st Prize'
add --fen 8/7p/8/4p2K/5kPP/1Q4N1/8/8 --stip '#3' \
    --authors 'Shmatov, Vladimir A.' --source 'StrateGems, 2012'
add --fen B7/8/7Q/4k3/KNp5/8/5P2/8 --stip '#3' \
    --authors 'Howard, David M.' --source 'Problem Observer, 2007-2008' --award '3rd Prize'
add --fen 7B/8/2B5/8/1p2pp2/kb5Q/7K/8 --stip '#3' \
    --authors 'Turnbull, Ronald' --source 'The Problemist Supplement, 1996'
add --fen 7k/5Q2/8/6p1/8/7P/8/1n2K2R --stip '#3' \
    --authors 'Spare, Carl-Erik' --source 'Springaren, 1993' --comment 'castling in the threat'
add --fen 8/7B/1N6/ppB1p3/8/Pk6/8/R3K3 --stip '#3' \
    --authors 'Ivanov, Albert F.' --source 'Molodoi sibiryak, 8 Sep 1957' --comment 'castling key'
add --fen 8/8/7P/8/8/5K1p/7k/8 --stip '#4' \
    --authors 'Ivanov, Albert F.' --source 'Sovetskaya Moldaviya, 6 Jan 1963'
# Helpmates: of the checked set and of the deeper set, each solved well
# under a second.
add --fen 8/8/q7/8/1R4K1/k2N4/8/8 --stip 'h#2' \
    --authors 'Forsberg, Henry' --source 'Revista Romana de Sah, W. Pauly Memorial, 1935' \
    --award '1st Prize' --comment 'part a) of five twins'
add --fen 1RrB2b1/8/4n3/2n3p1/2K2b2/1p1rk3/6BR/8 --stip 'h#2' \
    --authors 'Feather, Christopher J.' --source 'Schach, 1975' --comment '2 solutions'
add --fen 8/8/Kp3p2/p1B1pP2/1r1NPpq1/1rk2p2/1p1p4/1B6 --stip 'h#2' \
    --authors 'Müller, Dieter; Wiehagen, Rolf' --source 'Broodings 50/3, 2009' \
    --comment 'part a) of four twins'
add --fen 8/4N3/2p1kB2/3b4/5P2/2K5/8/8 --stip 'h#3' \
    --authors 'Linß, Torsten' --source 'LCdE 308, 4/1983'
add --fen 8/8/8/4p3/4kqNK/5r2/6P1/8 --stip 'h#3' \
    --authors 'Linß, Torsten' --source 'Sinfonie Scacchistiche 77-78, 7-12/1984'
add --fen 8/3K4/3B4/3p4/3kN3/4p3/3P4/8 --stip 'h#3' \
    --authors 'Linß, Torsten' --source 'IMR 17, 11-12/1984'
add --fen 8/3K4/6p1/5P2/4k3/8/8/8 --stip 'h#4' \
    --authors 'Grigorjan, Albert' --source 'Die Schwalbe 164, 4/1997' --comment 'part a) of two twins'
# Selfmates.
add --fen 3B4/Np2pq2/2PkPp2/5Rp1/2BKp3/2rpP2Q/1brp4/7b --stip 's#3' \
    --authors 'Janevski, Živko' --source 'Problemesis, 2005' --award '1st Prize'
add --fen 8/RQ4p1/2NpBpP1/2k2Kp1/1Np3rr/B3p2b/qp1P2p1/1n6 --stip 's#3' \
    --authors 'Janevski, Živko' --source 'Broodings 50/1, 2009'
add --fen 8/8/r2N3b/1R3PB1/1p3Q2/ppkP2R1/2p2ppq/2K2br1 --stip 's#3' \
    --authors 'Mladenovic, Miodrag' --source 'SuperProblem, Quick Composing TT-229, 2020' \
    --award '1st Prize'

"$cli" count "$out"
