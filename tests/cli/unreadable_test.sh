#!/bin/sh
# Paths the tool cannot use are named, never passed over in silence: a
# problem number past the end, folders and files that cannot be read, named
# pipes, devices and oversized lists. Prints every failure, then fails.
cli=$1
work=$2
. "$(dirname "$0")/expect.sh"
cd "$work" || exit 1
real_cli=$cli

howard='1b3B2/2N2b2/3n4/2Q5/rp3K2/k2N4/1pP5/1B6'

# Every run is bounded in time: a reader blocked on a pipe fails the check
# instead of hanging it.
cat >limited <<LIMITED
#!/bin/sh
exec timeout 20 "$real_cli" "\$@"
LIMITED
chmod 755 limited
cli=$work/limited

"$cli" add two.kvl --fen "$howard" --stip '#2' >/dev/null || fail "add"
"$cli" add two.kvl --fen "$howard" --stip '#2' >/dev/null || fail "add"

# check -n: a range that starts past the last problem is no problem, as
# for show; a range that ends past it stops at the last one.
for range in 99999 3 3-5; do
  expect 1 "check -n $range" -- check two.kvl -n "$range"
  err_contains "check -n $range" 'there is no problem'
  out_empty "check -n $range"
done
expect 0 check-range-to-end -- check two.kvl -n 2-9 --jobs 1
contains check-range-to-end '1 problem(s) checked'

# search and duplicates on what is neither a collection nor a folder.
mkfifo pipe.kvl
cp two.kvl before.kvl
for path in pipe.kvl /dev/null; do
  expect 1 "search $path" -- search "$path" --twins
  err_contains "search $path" "$([ "$path" = pipe.kvl ] && echo 'a named pipe' || echo 'a device')"
  expect 1 "duplicates $path" -- duplicates two.kvl "$path"
  err_contains "duplicates $path" "$([ "$path" = pipe.kvl ] && echo 'a named pipe' || echo 'a device')"
done
expect 1 search-missing -- search nothing --twins
err_contains search-missing 'no such file or folder'
cmp -s two.kvl before.kvl || fail "a refused duplicate scan changed the collection"

# The bench lists: devices, pipes and folders are refused unread, and a file
# too large to be a list is refused before it fills the memory.
head -c 17000000 /dev/zero >huge.tsv
for list in /dev/zero pipe.kvl . huge.tsv; do
  expect 1 "bench --suite $list" -- bench --suite "$list"
  err_contains "bench --suite $list" 'cannot read the suite'
  expect 1 "bench --helpmates $list" -- bench --helpmates "$list"
  err_contains "bench --helpmates $list" 'cannot read helpmates'
done
err_contains "bench --helpmates huge.tsv" 'larger than'

# Folders and files that cannot be read. Root reads everything, so as root
# the tool runs as nobody (setpriv); the tree is open to that user.
if [ "$(id -u)" -eq 0 ]; then
  if ! command -v setpriv >/dev/null; then
    echo "SKIP: the unreadable-folder checks need setpriv to run as another user"
    finish "unreadable-path checks"
  fi
  cat >limited <<LIMITED
#!/bin/sh
exec setpriv --reuid=65534 --regid=65534 --clear-groups timeout 20 "$real_cli" "\$@"
LIMITED
fi
mkdir -p lib/open lib/closed shut
cp two.kvl lib/open/a.kvl
cp two.kvl lib/closed/b.kvl
cp two.kvl lib/locked.kvl
cp two.kvl mine.kvl
chmod 777 . && chmod 666 mine.kvl
chmod 000 lib/closed shut lib/locked.kvl

expect 0 search-closed-folder -- search lib --stip '#2'
contains search-closed-folder 'lib/open/a.kvl	1'
err_contains search-closed-folder 'lib/closed'
err_contains search-closed-folder 'lib/locked.kvl'
expect 1 search-closed-top -- search shut --stip '#2'
err_contains search-closed-top 'shut (a folder that cannot be read'

# The scan notes the copies it could read, and says what it could not.
expect 1 duplicates-closed -- duplicates mine.kvl lib
contains duplicates-closed 'lib/open/a.kvl n°1'
err_contains duplicates-closed 'lib/closed'
err_contains duplicates-closed 'lib/locked.kvl'
cp mine.kvl mine-before.kvl
expect 1 duplicates-closed-top -- duplicates mine.kvl shut
err_contains duplicates-closed-top 'shut (a folder that cannot be read'
cmp -s mine.kvl mine-before.kvl || fail "a refused duplicate scan changed the collection"
chmod 755 lib/closed shut && chmod 644 lib/locked.kvl

finish "unreadable-path checks"
