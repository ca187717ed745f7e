#!/bin/sh
# solve --json: the document of several kinds of problem is valid against
# the schema, its tree's moves stand in its text in order, and its text is
# what solve prints without --json.
cli=$1
work=$2
here=$(dirname "$0")
schema="$here/../../docs/solution-json.schema.json"
. "$here/expect.sh"

# json NAME STATUS ARGS...: solves with --json and without; checks the
# document with the helper (its counts go to $work/out) and compares the
# text inside it with the plain output.
json() {
  name=$1 status=$2
  shift 2
  "$cli" solve "$@" >"$work/plain" 2>/dev/null
  "$cli" solve "$@" --json >"$work/$name.json" 2>"$work/err"
  got=$?
  [ "$got" -eq "$status" ] || fail "$name: exit status $got, expected $status"
  python3 "$here/solution_json_check.py" "$schema" "$work/$name.json" >"$work/out" 2>&1 ||
    fail "$name: $(head -c 300 "$work/out")"
  python3 -c 'import json, sys; sys.stdout.write(json.load(open(sys.argv[1]))["text"])' \
    "$work/$name.json" >"$work/text" || fail "$name: no text in the document"
  cmp -s "$work/plain" "$work/text" || fail "$name: the document's text differs from solve's output"
}

# Charles Planck 1884: set play, six tries, joined replies and duals.
planck='8/2pN4/2n5/1N1p2b1/4k3/7K/3P4/5Q2'
json two-mover 0 --fen "$planck" --stip '#2'
contains two-mover 'setPlay=1'
contains two-mover 'try=6'
contains two-mover 'solution=1'
contains two-mover 'duals=4'
grep -q '"stipulation": "#2"' "$work/two-mover.json" || fail "two-mover: no stipulation"

# Vladimir Shmatov 2012: #3, waiting key, threats and variations by level.
json three-mover 0 --fen 8/7p/8/4p2K/5kPP/1Q4N1/8/8 --stip '#3' --options 001111001110001000
contains three-mover 'solution=1'
contains three-mover 'moves=12'

# Fadil Abdurahmanovic 1997: h#2 with four solutions, each a line.
json helpmate 0 --fen 4RK2/8/6p1/6p1/2bp1k1B/7P/5p2/1Bb5 --stip 'h#2'
contains helpmate 'lines=4'
grep -q '"mode": "help"' "$work/helpmate.json" || fail "helpmate: no help run"

# Constructed h#2 with set play: the set play 1. ... Qg8 mates at once and the
# shorter solution 1. Kb8 Qg8#: each is a line.
json help-set-play 0 --fen k7/8/1K6/8/8/8/8/6Q1 --stip 'h#2'
contains help-set-play 'lines=2'
contains help-set-play 'setPlay=1'
grep -q '"mode": "helpSetPlay"' "$work/help-set-play.json" || fail "help-set-play: no set-play run"

# Wolfgang Pauly 1912: s#2; Manolas 2012: r#2.
json selfmate 0 --fen KB3N2/P1P1p1P1/5P1k/4P2p/7P/8/6B1/7b --stip 's#2'
grep -q '"kind": "forced"' "$work/selfmate.json" || fail "selfmate: no forced mate"
json reflexmate 0 --fen 8/P1Nr3P/1PpR2rq/6p1/1pp2p2/1Nk5/2P5/1K1R4 --stip 'r#2'
contains reflexmate 'moves=4'

# Twins: a) the diagram, b) Kh3 to h2 and (combined) the pawn d2 removed.
json twins 0 --fen "$planck" --stip '#2' --options 001111001110101000 --twins 'x    AOW "S  '
contains twins 'twins=2'
grep -q '"heading": "a) Diagram"' "$work/twins.json" || fail "twins: no heading a)"

# Klaus Foerster 2007: changed mates, only the lettered pairs.
json changed-mates 0 --fen 8/7p/1N1Qbp1B/6nR/4kN2/2Pp2K1/2np4/8 --stip '#2' \
  --options 101000000000101000
contains changed-mates 'letters=8'

# A series helpstalemate in 3 with four solutions (an independent solver's
# example files), and the same stated in 5: short solutions.
json series 0 --fen 8/8/8/7K/8/5N2/4Npp1/5k2 --stip 'sh=3'
contains series 'lines=4'
contains series 'moves=16'
grep -q '"mode": "seriesHelp"' "$work/series.json" || fail "series: no series run"
grep -q '"keyCount": 4' "$work/series.json" || fail "series: no count of solutions"
grep -q '"goal": "stalemate"' "$work/series.json" || fail "series: no stalemate goal"
json series-short 0 --fen 8/8/8/7K/8/5N2/4Npp1/5k2 --stip 'sh=5'
grep -q '"shortMate": true' "$work/series-short.json" || fail "series-short: not short"
grep -q '"short": true' "$work/series-short.json" || fail "series-short: no short play"

# A helpstalemate: four lines, the goal named in the run.
json helpstalemate 0 --fen 8/8/8/pp6/k1P5/1p6/pK6/8 --stip 'h=2'
contains helpstalemate 'lines=4'
grep -q '"goal": "stalemate"' "$work/helpstalemate.json" || fail "helpstalemate: no stalemate goal"
grep -q '"stipulation": "h=2"' "$work/helpstalemate.json" || fail "helpstalemate: no stipulation"

# A maximummer's selfmate in ten, and a direct stalemate that is a short solution.
json maximummer 0 --fen 8/7q/8/8/8/8/1p1P1k2/3K4 --stip 's#10 max'
grep -q '"maximummer": true' "$work/maximummer.json" || fail "maximummer: not marked"
contains maximummer 'solution=1'
json stalemate-short 0 --fen k7/8/1K6/8/8/8/8/6Q1 --stip '=2'
grep -q '"shortMate": true' "$work/stalemate-short.json" || fail "stalemate-short: not short"

# An invalid position still gives a document that says why.
json invalid 3 --fen K7/8/8/8/8/8/8/K6k --stip '#2'
grep -q '"stop": "invalidPosition"' "$work/invalid.json" || fail "invalid: no stop reason"
contains invalid 'twins=0'

finish "solve --json checks"
