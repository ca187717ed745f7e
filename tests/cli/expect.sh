# The checks the command-line test scripts share; sourced with `cli` and
# `work` set. Each failed check is printed and counted; `finish` ends the
# script, failing when any check failed.
failures=0
rm -rf "$work" && mkdir -p "$work" || exit 1

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect STATUS NAME -- ARGS...: the tool exits with STATUS; its output goes
# to $work/out and $work/err.
expect() {
  status=$1 name=$2
  shift 3
  "$cli" "$@" >"$work/out" 2>"$work/err"
  got=$?
  [ "$got" -eq "$status" ] || fail "$name: exit status $got, expected $status ($(head -c 200 "$work/err"))"
}
contains() { grep -qF -- "$2" "$work/out" || fail "$1: output lacks '$2'"; }
lacks() { ! grep -qF -- "$2" "$work/out" || fail "$1: output holds '$2'"; }
err_contains() { grep -qF -- "$2" "$work/err" || fail "$1: stderr lacks '$2'"; }
out_empty() { [ ! -s "$work/out" ] || fail "$1: stdout is not empty"; }
lines() { [ "$(wc -l <"$work/out")" -eq "$2" ] || fail "$1: $(wc -l <"$work/out") lines, expected $2"; }

# finish WHAT: the verdict of the script.
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)"
    exit 1
  fi
  echo "all $1 passed"
}
