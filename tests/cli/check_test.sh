#!/bin/sh
# End-to-end checks of `kestrovale-cli check` on a collection written here:
# each verdict, the same verdicts on one and two jobs and from two shards,
# the report formats, a time limit, Ctrl+C and bad arguments. Prints every
# failure, then fails.
cli=$1
work=$2
. "$(dirname "$0")/expect.sh"
cd "$work" || exit 1

planck='8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2'
garai='4R3/8/Q7/1B1p4/2bpR3/P2kr3/6K1/6b1'
argunow='2N2bBR/4P1k1/7p/2N2p1P/3p1P2/1PpP4/2Kp4/1n1R4'
wenda='4k3/1pp2pp1/8/b1B1pB2/rp6/p5N1/3R4/R2bK3'

add() { "$cli" add "$1" --fen "$2" --stip "$3" ${4:+--comment "$4"} >/dev/null || fail "add $2 $3"; }
add set.kvl "$planck" '#2'                                 # 1 sound
add set.kvl '8/2pN4/8/1N1p2b1/4k3/7K/3P4/5Q2' '#2'         # 2 cooked: without the knight c6
add set.kvl '4k3/8/4K3/8/8/8/8/8' '#2'                     # 3 no solution
add set.kvl "$planck" '#3'                                 # 4 short mate
add set.kvl '4k3/8/4K3/8/8/8/8/K7' '#2'                    # 5 invalid: two white kings
add set.kvl "$planck" 'ser-h#2 W'                          # 6 kind not solvable
add set.kvl "$garai" 'h#2' '2 solutions'                   # 7 sound helpmate
add set.kvl "$garai" 'h#2'                                 # 8 cooked helpmate: one stated
add set.kvl "$argunow" 's#2'                               # 9 sound selfmate

# The verdict column (number, stipulation, verdict) of a TSV report.
verdicts() { cut -f1-3 "$1"; }

expect 3 one-job -- check set.kvl --jobs 1 --format tsv
cp out one.tsv
lines one-job 9
cat >want.tsv <<'EOF'
1	#2	sound
2	#2	cooked
3	#2	no solution
4	#3	short mate
5	#2	invalid position
6	sh#2 W	kind not solvable
7	h#2	sound
8	h#2	cooked
9	s#2	sound
EOF
verdicts one.tsv >got.tsv
cmp -s got.tsv want.tsv || fail "one-job: verdicts differ: $(diff want.tsv got.tsv | tr '\n' ' ')"
grep -q "^1	#2	sound	Kh3-g2	" one.tsv || fail "one-job: the key of problem 1 is not listed"
grep "^2	" one.tsv | grep -q '; ' || fail "one-job: the cook does not list every key"
grep "^5	" one.tsv | cut -f4 | grep -q . || fail "one-job: the invalid position has no validation text"
err_contains one-job '9 problem(s) checked'
err_contains one-job '3 sound'
# Without a terminal there is no progress bar.
! grep -q 'left' err || fail "one-job: a progress bar on a stderr that is no terminal"

expect 3 two-jobs -- check set.kvl --jobs 2 --format tsv
verdicts out >got2.tsv
cmp -s got2.tsv want.tsv || fail "two-jobs: verdicts differ from one job"

# Two shards together check every problem once, with the same verdicts.
expect 3 shard-1 -- check set.kvl --shard 1/2 --jobs 2 --format tsv
cp out shard1.tsv
lines shard-1 5
expect 3 shard-2 -- check set.kvl --shard 2/2 --jobs 2 --format tsv
cat shard1.tsv out | sort -n | cut -f1-3 >merged.tsv
cmp -s merged.tsv want.tsv || fail "shards: merged verdicts differ: $(diff want.tsv merged.tsv | tr '\n' ' ')"

# A range of sound problems exits 0; the text report ends with its summary.
expect 0 range-sound -- check set.kvl -n 7 --jobs 2
lines range-sound 2
contains range-sound '1 problem(s) checked'
expect 0 range-many -- check set.kvl -n 9-9
expect 3 range-open -- check set.kvl -n 8- --format tsv
lines range-open 2

expect 3 json -- check set.kvl --format json
contains json '"verdict": "cooked"'
contains json '"not_checked": 0'
contains json '"invalid position": 1'

# Every kind, goal and length has its verdict.
add kinds.kvl '8/8/8/pp6/k1P5/1p6/pK6/8' 'h=2' '4 solutions'   # 1 sound helpstalemate
add kinds.kvl 'k3N3/P7/K7/8/8/8/8/8' '#1'                      # 2 sound mate in one
add kinds.kvl '8/8/8/2p5/8/kpR5/p7/K7' 's#1'                   # 3 sound selfmate in one
add kinds.kvl '8/6B1/8/8/p7/kp6/p7/K7' 'r#1'                   # 4 no solution
add kinds.kvl '8/8/7N/5K2/4B3/2Qbk3/4p3/8' 'h#0.5'             # 5 sound, White begins
add kinds.kvl '8/7q/8/8/8/8/1p1P1k2/3K4' 's#10 max'            # 6 sound maximummer
add kinds.kvl 'k7/8/1K6/8/8/8/8/6Q1' '=2'                      # 7 a stalemate in one
add kinds.kvl '8/2P5/3p4/2pP2p1/2P1K1k1/8/1p5P/8' 'h=3'        # 8 sound helpstalemate
expect 3 kinds -- check kinds.kvl --jobs 2 --format tsv
cat >want-kinds.tsv <<'EOF'
1	h=2	sound
2	#1	sound
3	s#1	sound
4	r#1	no solution
5	h#1 W	sound
6	s#10 max	sound
7	=2	short mate
8	h=3	sound
EOF
verdicts out >got-kinds.tsv
grep -q '^7	=2	short mate	stalemate in 1: ' out || fail "kinds: the short stalemate is not named" 
cmp -s got-kinds.tsv want-kinds.tsv || fail "kinds: verdicts differ: $(diff want-kinds.tsv got-kinds.tsv | tr '\n' ' ')"
grep -q '^8	h=3	sound	b2-b1=R c7-c8=R Rb1-b7 Rc8-h8 Rb7-h7 Rh8xh7' out ||
  fail "kinds: the helpstalemate's solution is not listed"

# A time limit reports the problem that exceeds it and goes on.
add slow.kvl "$wenda" '#6'
add slow.kvl "$planck" '#2'
expect 3 timeout -- check slow.kvl --timeout 0.5 --jobs 1 --format tsv
grep -q '^1	#6	timed out' out || fail "timeout: the #6 is not reported timed out"
grep -q '^2	#2	sound' out || fail "timeout: the problem after it was not checked"

# Ctrl+C stops the check with what it has, and a non-zero status.
add slow.kvl "$wenda" '#6'
"$cli" check slow.kvl --jobs 1 >out 2>err &
pid=$!
sleep 2
kill -INT "$pid"
wait "$pid"
got=$?
[ "$got" -eq 4 ] || fail "interrupt: exit status $got, expected 4"
contains interrupt 'stopped'
contains interrupt 'not checked'

# Bad arguments and files.
expect 2 bad-jobs -- check set.kvl --jobs 0
expect 2 bad-shard -- check set.kvl --shard 3/2
expect 2 bad-format -- check set.kvl --format xml
expect 2 bad-range -- check set.kvl -n 5-2
expect 2 bad-timeout -- check set.kvl --timeout -1
expect 1 missing -- check nothing.kvl
err_contains missing 'Unable to Open'
expect 0 help -- check --help
contains help 'Exit status'

finish "check tests"
