#!/bin/bash
# The bash completion of kestrovale-cli against the program's real help:
# subcommands, each one's options as its own --help lists them, the listed
# values of an option, and no guesses where the help lists nothing.
#   completion_test.sh COMPLETION_SCRIPT KESTROVALE_CLI
set -u
script=$1
cli=$2
# shellcheck source=/dev/null
. "$script"

failures=0
checks=0
# expect "WORDS..." "EXPECTED": completes the last word of WORDS (which may
# be empty) and compares the sorted candidates with EXPECTED.
expect() {
  local line=$1 expected=$2
  read -r -a COMP_WORDS <<<"$line"
  [[ $line == *" " ]] && COMP_WORDS+=("")
  COMP_WORDS[0]=$cli
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _kestrovale_cli
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' ')
  checks=$((checks + 1))
  if [[ $got != "$expected" ]]; then
    echo "FAIL: '$line' completes to '$got', expected '$expected'"
    failures=$((failures + 1))
  fi
}

expect "kestrovale-cli ch" "check"
expect "kestrovale-cli co" "compact count"
expect "kestrovale-cli --he" "--help"
expect "kestrovale-cli check --fo" "--format"
expect "kestrovale-cli check big.kvl --format " "json text tsv"
expect "kestrovale-cli check big.kvl -" "--format --help --jobs --shard --timeout -h -n"
expect "kestrovale-cli --v" "--version"
# Every subcommand has its own options and help, also one run through the
# print helper, and one whose options come in two usage forms.
expect "kestrovale-cli show x.kvl -" "--help -h -n"
expect "kestrovale-cli print --lang " "en es fr it"
expect "kestrovale-cli bench --h" "--help --helpmates"
expect "kestrovale-cli print --kind " "diagrams report"
expect "kestrovale-cli export --format p" "pgn popeye"
expect "kestrovale-cli import games.pgn --lang " "en es fr it"
expect "kestrovale-cli solve --th" "--threads"
# Options that search's usage groups in brackets and between "|".
expect "kestrovale-cli search . --ro" "--rotation"
expect "kestrovale-cli search . --g" "--gap"
expect "kestrovale-cli search . --i" "--identity"
# A value that is not a list, and an unknown subcommand, offer nothing.
expect "kestrovale-cli check big.kvl --jobs " ""
expect "kestrovale-cli nosuch --f" ""

echo "$checks checks, $failures failed"
[ "$checks" -eq 19 ] && [ "$failures" -eq 0 ]
