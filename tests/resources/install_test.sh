#!/bin/sh
# cmake --install into a scratch root under a prefix of its own, then checks
# what a user of the installed programs meets: every file in its place, the
# man pages compressed and naming the data folder of that prefix, the
# command-line tool running from there and finding the print helper beside
# it, and the installed desktop files and software-centre description
# agreeing with each other (appstreamcli validate-tree, when present).
#   install_test.sh BUILD_DIR WORK_DIR VERSION APPSTREAM_ID MAN_PAGES...
set -eu
build=$1
work=$2
version=$3
appstream_id=$4
shift 4
prefix=/opt/kestrovale-test
root="$work/root"
rm -rf "$work"
mkdir -p "$work"
DESTDIR="$root" cmake --install "$build" --prefix "$prefix" > "$work/install.log"
tree="$root$prefix"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
present() {
  for file in "$@"; do
    [ -f "$tree/$file" ] || fail "$file is not installed"
  done
}

present bin/kestrovale bin/kestrovale-cli bin/kestrovale-print \
  share/applications/kestrovale.desktop share/mime/packages/kestrovale.xml \
  share/icons/hicolor/scalable/apps/kestrovale.svg \
  "share/metainfo/$appstream_id.metainfo.xml" \
  share/bash-completion/completions/kestrovale-cli \
  share/kestrovale/sample.kvl share/kestrovale/strings/english.str \
  share/doc/kestrovale/copyright share/doc/kestrovale/changelog.gz \
  share/doc/kestrovale/help/index.html
# The Debian changelog belongs to the package only.
[ ! -e "$tree/share/doc/kestrovale/changelog.Debian.gz" ] ||
  fail "an install by hand carries the Debian changelog"

# Every man page that the build made, compressed, with this prefix's paths.
pages=0
for page in "$@"; do
  name=$(basename "$page")
  installed="$tree/share/man/man1/$name.gz"
  pages=$((pages + 1))
  if ! gzip -t "$installed" 2>/dev/null; then
    fail "man page $name.gz is missing or not gzip"
    continue
  fi
  if zcat "$installed" | grep -q '@KV_INSTALL_DATADIR@'; then
    fail "$name still holds the data folder placeholder"
  fi
  if zgrep -q 'kestrovale/sample.kvl' "$installed" &&
    ! zgrep -q "$prefix/share/kestrovale/sample.kvl" "$installed"; then
    fail "$name does not name the sample under $prefix"
  fi
done
[ "$pages" -ge 2 ] || fail "only $pages man pages were built"

# The installed command-line tool runs, and prints through the helper
# installed beside it.
"$tree/bin/kestrovale-cli" --help > "$work/help.txt" || fail "installed kestrovale-cli --help fails"
grep -q '^  solve ' "$work/help.txt" || fail "installed kestrovale-cli --help lists no solve"
# Each program answers --help and --version itself, without a window or a
# file named after the option.
for program in kestrovale kestrovale-cli kestrovale-print; do
  "$tree/bin/$program" --version > "$work/version.txt" 2>&1 ||
    fail "installed $program --version fails"
  grep -q "^$program $version\$" "$work/version.txt" || fail "$program --version: $(cat "$work/version.txt")"
  "$tree/bin/$program" --help > "$work/program-help.txt" 2>&1 || fail "installed $program --help fails"
  grep -q "^usage: $program " "$work/program-help.txt" || fail "$program --help gives no usage"
done
"$tree/bin/kestrovale-cli" count "$tree/share/kestrovale/sample.kvl" > "$work/count.txt" ||
  fail "installed kestrovale-cli cannot read the installed sample"
if "$tree/bin/kestrovale-cli" print --format pdf --kind diagrams -n 1 \
  "$tree/share/kestrovale/sample.kvl" "$work/sheet.pdf" > "$work/print.log" 2>&1; then
  [ -s "$work/sheet.pdf" ] || fail "installed print wrote no PDF"
else
  fail "installed kestrovale-cli print fails: $(tail -n 1 "$work/print.log")"
fi

# The description's newest release is the project's version.
grep -q "<release version=\"$version\"" "$tree/share/metainfo/$appstream_id.metainfo.xml" ||
  fail "the metainfo file names no release $version"
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate-tree --no-net "$root$prefix" > "$work/validate-tree.log" 2>&1 ||
    fail "appstreamcli validate-tree: $(cat "$work/validate-tree.log")"
else
  echo "appstreamcli is not installed: the installed tree's metainfo is not validated"
fi

echo "install under $prefix: $pages man pages, $failures failures"
[ "$failures" -eq 0 ]
