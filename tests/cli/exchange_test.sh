#!/bin/sh
# End-to-end checks of the exchange subcommands of kestrovale-cli: import,
# export, search, duplicates and authors, on files written here. Prints every
# failure, then fails.
cli=$1
work=$2
. "$(dirname "$0")/expect.sh"
cd "$work" || exit 1

howard='1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6'
rook='7k/8/6K1/8/8/8/8/R7'

# import: two games by extension into games.kvl beside the source
cat >games.pgn <<EOF
[Event "The Observer"]
[FEN "$howard w - - 0 1"]

#2 *

[Event "Second"]
[FEN "$rook w - - 0 1"]

*
EOF
expect 0 import-pgn -- import games.pgn
contains import-pgn '2 problems imported into games.kvl'
expect 0 import-count -- count games.kvl
contains import-count 2
expect 0 import-show -- show games.kvl -n 1
contains import-show "$howard"
contains import-show '[Event "The Observer"]'
# A second import appends; nothing already there is lost.
expect 0 import-again -- import games.pgn
expect 0 import-again-count -- count games.kvl
contains import-again-count 4
expect 1 import-missing -- import nothing.pgn
err_contains import-missing 'Unable to Open'
[ -e nothing.kvl ] && fail "import-missing: created nothing.kvl"
mkfifo pipe.epd 2>/dev/null && {
  expect 1 import-pipe -- import pipe.epd
  [ -e pipe.kvl ] && fail "import-pipe: created pipe.kvl"
}
printf '%s Kenneth S. Howard; The Observer\n' "$howard" >one.epd
expect 0 import-epd -- import one.epd
expect 0 import-epd-show -- show one.kvl
contains import-epd-show 'Kenneth S. Howard;The Observer'

# export: each problem solved first, then written in the format asked for
expect 0 export-pgn -- export --format pgn games.kvl out.pgn -n 1,2
contains export-pgn '2 problems exported to out.pgn'
grep -qF '1. Qd4 1-0' out.pgn || fail "export-pgn: no key of the two-mover"
grep -qF '1. Ra8 1-0' out.pgn || fail "export-pgn: no key of the rook mate"
expect 0 export-epd -- export --format epd games.kvl out.epd -n 1
[ "$(wc -l <out.epd)" -eq 1 ] || fail "export-epd: expected one line"
grep -qF 'pv Qd4;' out.epd || fail "export-epd: no key"
expect 0 export-txt -- export --format txt games.kvl out.txt -n 1
grep -qF 'Solution: 1. Qd4!' out.txt || fail "export-txt: no solution"
expect 2 export-bad-format -- export --format doc games.kvl out.doc
expect 2 export-one-file -- export --format pgn games.kvl
expect 1 export-missing -- export --format pgn nothing.kvl out.pgn

# search: a folder walked to any depth, names kept as the file system has them
mkdir -p lib/Sub
cp games.kvl lib/Sub/Copy.KVL
expect 0 search-total -- search lib --total at-least:10
contains search-total "lib/Sub/Copy.KVL	1"
contains search-total "lib/Sub/Copy.KVL	3"
lines search-total 2
expect 0 search-white -- search lib --white exactly:2 --black exactly:1
contains search-white "lib/Sub/Copy.KVL	2"
lines search-white 2
expect 0 search-gap -- search lib --matrix 8/8/8/8/8/8/8/R7 --gap
lines search-gap 2
expect 0 search-anchored -- search lib --matrix 8/8/8/8/8/8/8/R7 --identity
lines search-anchored 2
expect 1 search-none -- search lib --matrix 8/8/8/8/8/8/8/7R --identity
err_contains search-none 'No problem is found'
expect 0 search-text -- search . --text Howard
contains search-text "./one.kvl	1"
lines search-text 1
expect 1 search-text-case -- search . --text howard
expect 2 search-bad-mode -- search lib --total sometimes:3

# duplicates: noted once under each problem, not again on a second run
expect 0 duplicates -- duplicates one.kvl lib
contains duplicates 'lib/Sub/Copy.KVL n°1'
contains duplicates 'lib/Sub/Copy.KVL n°3'
expect 0 duplicates-again -- duplicates one.kvl lib
lacks duplicates-again 'Copy.KVL'
expect 0 duplicates-stored -- show one.kvl
contains duplicates-stored 'lib/Sub/Copy.KVL n°1'

# authors: the biographical selection over an author list
printf 'Loyd, Samuel;1841;1911;USA;\nHoward, Kenneth;1882;1972;USA;\nSomeone;;;France;\nEnd;1900;1950\nAfter;1900;1950;USA;\n' >auteurs.txt
expect 0 authors-born -- authors auteurs.txt --born-from 1850
contains authors-born 'Howard, Kenneth	1882	1972	USA'
contains authors-born 'Someone'
lacks authors-born 'Loyd'
lacks authors-born 'After'
err_contains authors-born 'Total : 2'
expect 0 authors-country -- authors auteurs.txt --country Fra --born-to 1950
lines authors-country 0

finish "exchange checks"
