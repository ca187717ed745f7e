#!/bin/sh
# Where `kestrovale-cli print` may write: what is not a regular file is
# refused at once (a named pipe must not block it), a full disk is a failure
# with its reason, and no empty or cut file is ever left behind. Prints every
# failure, then fails.
cli=$1
sample=$2
work=$3
. "$(dirname "$0")/../cli/expect.sh"
cd "$work" || exit 1

# print KIND FORMAT OUT: the tool on the first problems (one for a report),
# bounded in time so that a blocked writer fails the check instead of
# hanging it.
print() {
  numbers=1,2
  [ "$1" = report ] && numbers=1
  timeout 60 "$cli" print --format "$2" --kind "$1" "$sample" "$3" -n $numbers >"$work/out" 2>"$work/err"
}
# refused NAME STATUS WHY: the last print exited 1, saying WHY, and wrote no pages.
refused() {
  [ "$2" -eq 1 ] || fail "$1: exit status $2, expected 1"
  err_contains "$1" "$3"
  out_empty "$1"
}

print diagrams pdf /dev/full
refused "pdf to /dev/full" $? 'a device, not a file to print into'
# PNG pages are written beside OUT: a device of the test's own (where it may
# make one) keeps a regression from writing into /dev.
if mknod full-device c 1 7 2>/dev/null; then
  print diagrams png full-device
  refused "png to a device" $? 'a device, not a file to print into'
  rm -f full-device
fi

mkfifo pipe.pdf pipe-1.png
print diagrams pdf pipe.pdf
refused "pdf to a named pipe" $? 'a named pipe'
print diagrams png pipe
refused "png to a named pipe" $? 'a named pipe'
[ -p pipe.pdf ] && [ -p pipe-1.png ] || fail "a named pipe was replaced"
mkdir folder.pdf
print report pdf folder.pdf
refused "pdf to a folder" $? 'a folder'

# A file replaced keeps its permission bits; a link keeps pointing at the
# file, which gets the new contents.
printf 'old' >kept.pdf
chmod 640 kept.pdf
print diagrams pdf kept.pdf || fail "pdf over a file: exit status $?"
[ "$(stat -c %a kept.pdf)" = 640 ] || fail "pdf over a file: mode $(stat -c %a kept.pdf), not 640"
head -c 5 kept.pdf | grep -q '^%PDF-' || fail "pdf over a file: not a PDF"
tail -c 7 kept.pdf | grep -q '%%EOF' || fail "pdf over a file: the PDF is not complete"
ln -s kept.pdf link.pdf
print report pdf link.pdf || fail "pdf through a link: exit status $?"
[ -L link.pdf ] || fail "pdf through a link: the link was replaced"
print diagrams png page || fail "png: exit status $?"
[ -s page-1.png ] || fail "png: no first page"
leftover=$(ls -A | grep -v -x -e out -e err -e pipe.pdf -e pipe-1.png -e folder.pdf -e kept.pdf \
  -e link.pdf -e 'page-[0-9]*.png')
[ -z "$leftover" ] || fail "files left behind: $leftover"

# A full disk: a small file system of its own, which only root may mount.
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: the full-disk checks need root to mount a small tmpfs"
elif ! { mkdir -p full && mount -t tmpfs -o size=16k tmpfs full 2>/dev/null; }; then
  echo "SKIP: the full-disk checks cannot mount a small tmpfs here"
else
  trap 'umount "$work/full"' EXIT
  printf 'old' >full/old.pdf
  print diagrams pdf full/new.pdf
  refused "pdf on a full disk" $? 'No space left on device'
  print diagrams pdf full/old.pdf
  refused "pdf over a file on a full disk" $? 'No space left on device'
  [ "$(cat full/old.pdf)" = old ] || fail "pdf on a full disk: the old file was changed"
  print diagrams png full/new
  refused "png on a full disk" $? 'No space left on device'
  [ "$(ls -A full)" = old.pdf ] || fail "a full disk kept files: $(ls -A full | tr '\n' ' ')"
fi

finish "print output checks"
