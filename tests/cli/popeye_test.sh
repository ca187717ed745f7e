#!/bin/sh
# End-to-end checks of solver input files: import of a file with orthodox and
# fairy problems, export of the collection and the import of that export.
# Prints every failure, then fails.
cli=$1
work=$2
. "$(dirname "$0")/expect.sh"
cd "$work" || exit 1

cat >mixed.inp <<'EOF'
BeginProblem
Author      Loyd, Sam
Origin      Le Temps 1878
Award       1st Prize
Title       Rook sacrifice
Stipulation #2
Option      Try SetPlay
Pieces      White Kg6 Ra1
            Black Kh8 Pa7
NextProblem
Condition   Madrasi
Stipulation h#2
Pieces      White Ka1 Qb2 Black Ka8
EndProblem
debutprobleme
auteur      Dupont, Jean
enonce      h#1.5
pieces      blanc Rc1 Tf3 noir Ra1 Pa2
jumeau      deplacement f3 g3
finprobleme
EOF
expect 0 import -- import mixed.inp
contains import '2 problems imported into mixed.kvl'
err_contains import "skipped problem 2: the fairy condition 'Madrasi'"
err_contains import '1 problem skipped'
err_contains import 'read but not kept (output and search settings): try, setplay'
expect 0 count -- count mixed.kvl
contains count 2
expect 0 show -- show mixed.kvl -n 2
contains show 'h#2 W'
contains show 'Dupont, Jean'

# export: the problems one after another, then the export read back
expect 0 export -- export --format popeye mixed.kvl out.inp
contains export '2 problems exported to out.inp'
[ "$(head -n 1 out.inp | tr -d '\r')" = beginproblem ] || fail "export: does not begin the file"
[ "$(tail -n 1 out.inp | tr -d '\r')" = endproblem ] || fail "export: does not end the file"
grep -qF 'stipulation h#1.5' out.inp || fail "export: no h#1.5"
grep -qF 'twin move f3 g3' out.inp || fail "export: no twin"
expect 0 reimport -- import out.inp
contains reimport '2 problems imported into out.kvl'
for n in 1 2; do
  "$cli" show mixed.kvl -n $n >first.txt 2>&1
  "$cli" show out.kvl -n $n >second.txt 2>&1
  # The file names in the headings differ; everything else is the same.
  sed 's/mixed\.kvl/X/; s/out\.kvl/X/' first.txt >a.txt
  sed 's/mixed\.kvl/X/; s/out\.kvl/X/' second.txt >b.txt
  cmp -s a.txt b.txt || fail "reimport: problem $n differs: $(diff a.txt b.txt | head -5)"
done

# German "wei" among the men is the colour white: all four men are read
printf 'anfangproblem\nforderung #2\nsteine schwarz kh8 bh7 wei kf7 tg1\nendeproblem\n' >wei.inp
expect 0 wei -- import wei.inp
contains wei '1 problem imported into wei.kvl'
expect 0 wei-show -- show wei.kvl -n 1
contains wei-show '7k/5K1p/8/8/8/8/8/6R1'

# a file with only fairy problems imports nothing and writes no collection
printf 'beginproblem\ncondition circe\nstipulation #2\npieces white Ka1 black Ka8\nendproblem\n' >fairy.inp
expect 1 fairy -- import fairy.inp
err_contains fairy "skipped problem 1: the fairy condition 'circe'"
err_contains fairy 'no problem found'
[ -e fairy.kvl ] && fail "fairy: created fairy.kvl"

# a file that is no input file at all leaves the collection as it was
cp mixed.kvl keep.kvl
head -c 4000 /dev/urandom >keep.inp
printf 'x' | cat - keep.inp >keep2.inp && mv keep2.inp keep.inp
expect 1 binary -- import keep.inp
err_contains binary 'beginproblem'
cmp -s mixed.kvl keep.kvl || fail "binary: the collection changed"

expect 2 bad-format -- export --format popeyes mixed.kvl x.inp
finish 'popeye checks'
