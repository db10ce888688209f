#!/bin/sh
# The package as a user gets it: unpacked (dpkg-deb -x) into a temporary
# root, its zuvprint prints the sample invoice on the default style file it
# finds in the package (5 mm top margin: the first line lies 118 pixels
# lower at 600 dpi than with an empty style file), its zuvhost runs the
# example tour with the package's sample data and prints what pokaz.out
# says, its zuvlink prints the sample receipt onto the paper roll, and its
# manual pages render.
#   test-package.sh DEB
set -eu
deb=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
dpkg-deb -x "$deb" "$root"
doc=$root/usr/share/doc/zuvprint
fail() { echo "FAIL: $*" >&2; exit 1; }

# The first line's baseline in a draw log.
first_baseline() { grep -m1 '"op":"text"' "$1" | sed 's/.*"y":\([0-9.-]*\).*/\1/'; }
mkdir "$work/print" && cd "$work/print"
cp "$doc/examples/faktura.txt" default.txt
cp "$doc/examples/faktura.txt" plain.txt
: >empty.dpc
LPDEST=TRACE ZUVPRINT_OUTPUT_DIR=. "$root/usr/bin/zuvprint" default.txt || fail "zuvprint on the default style"
LPDEST=TRACE ZUVPRINT_OUTPUT_DIR=. "$root/usr/bin/zuvprint" plain.txt empty.dpc || fail "zuvprint on an empty style"
[ ! -e default.txt ] || fail "the print file was not deleted"
lower=$(( $(first_baseline default.jsonl) - $(first_baseline plain.jsonl) ))
[ "$lower" -eq 118 ] || fail "the default style's top margin moved the first line by $lower pixels, not 118"
pdftotext default.pdf - | grep -q "FAKTURA" || fail "the invoice's PDF holds no FAKTURA"
pages=$(pdfinfo default.pdf | sed -n 's/^Pages: *//p')
[ "$pages" -ge 1 ] || fail "no pages"

mkdir "$work/host" && cd "$work/host"
"$root/usr/bin/zuvhost" --data "$doc/examples/zuvtill/dane" "$doc/examples/zuvtill/pokaz.prg" >pokaz.txt ||
  fail "zuvhost on pokaz.prg"
cmp -s pokaz.txt "$doc/examples/zuvtill/pokaz.out" || fail "pokaz.prg printed otherwise than pokaz.out"
mkdir FISK && cp "$root/usr/lib/zuvtill/zuvlink" FISK/ELZABDR.EXE
"$root/usr/bin/zuvhost" --data "$doc/examples/zuvtill/dane" "$doc/examples/zuvtill/paragon.prg" >paragon.txt 2>/dev/null ||
  fail "zuvhost on paragon.prg"
cmp -s paragon.txt "$doc/examples/zuvtill/paragon.FP600.out" || fail "paragon.prg printed otherwise"
grep -q "DO ZAPŁATY PLN" FISK/ROLKA.TXT || fail "no receipt on the paper roll"

for page in zuvprint zuvhost zuvlink; do
  MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" 2>/dev/null | grep -q "^NAME" || fail "man $page"
done
echo "OK: $(basename "$deb") unpacked: the invoice printed on its default style ($pages pages), pokaz.prg and the receipt as pinned, the manual pages"
