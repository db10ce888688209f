#!/bin/sh
# The Windows folder as a user gets it: the zip unpacked, in a fresh Wine
# prefix. ZuvPrint\bin\ZuvPrint.exe prints the sample invoice on TRACE with
# the default style file it finds in ZuvPrint\DOSPRINT (5 mm top margin:
# the first line lies that much lower than with an empty style file);
# zuvtill\zuvhost.exe and zuvtill\DF301\zuvhost.exe load their families'
# zuvtill.dll, and the receipt example runs through cmd.exe and zuvlink.exe
# copied into FISK as ELZABDR.EXE, printing what paragon.FP600.out says.
#   test-folder.sh ZIP
set -eu
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/zuvfolder.XXXXXX)
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all ZUVPRINT_MESSAGES=stderr
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM
fail() { echo "FAIL: $*" >&2; exit 1; }
wine() { timeout 120 /usr/lib/wine/wine64 "$@" </dev/null; }

(cd "$work" && cmake -E tar xf "$zip")
folder=$(echo "$work"/zuvprint-*)
"$top/scripts/wine-prefix" "$work" >/dev/null
wineserver -p
wine cmd.exe /c exit >/dev/null 2>&1

# The first line's baseline in a draw log, and the printer's resolution.
first_baseline() { grep -m1 '"op":"text"' "$1" | sed 's/.*"y":\([0-9.-]*\).*/\1/'; }
dpi() { grep -m1 '"op":"startdoc"' "$1" | sed 's/.*"dpi":\[\([0-9]*\),.*/\1/'; }
cd "$folder/examples"
cp faktura.txt default.txt
cp faktura.txt plain.txt
: >empty.dpc
PRINTER=TRACE ZUVPRINT_OUTPUT_DIR=. wine ../ZuvPrint/bin/ZuvPrint.exe default.txt || fail "ZuvPrint.exe on the default style"
PRINTER=TRACE ZUVPRINT_OUTPUT_DIR=. wine ../ZuvPrint/bin/ZuvPrint.exe plain.txt empty.dpc ||
  fail "ZuvPrint.exe on an empty style"
[ -s default.jsonl ] && [ -s plain.jsonl ] || fail "no draw logs"
[ ! -e default.txt ] || fail "the print file was not deleted"
lower=$(( $(first_baseline default.jsonl) - $(first_baseline plain.jsonl) ))
margin=$(awk -v dpi="$(dpi default.jsonl)" 'BEGIN { printf "%d", 5 * dpi / 25.4 }')
[ "$lower" -ge "$margin" ] && [ "$lower" -le $((margin + 1)) ] ||
  fail "the default style moved the first line by $lower pixels, not the 5 mm of $margin"

cd "$folder"
for family in FP600 DF301; do
  host=zuvtill/zuvhost.exe
  [ "$family" = DF301 ] && host=zuvtill/DF301/zuvhost.exe
  got=$(echo '?? _DFSYMBOL()' | timeout 120 /usr/lib/wine/wine64 "$host" --data examples/zuvtill/dane)
  [ "$got" = "$family" ] || fail "$host serves $got, not $family"
done
mkdir -p kasa/FISK
cp zuvlink.exe kasa/FISK/ELZABDR.EXE
cd kasa
wine ../zuvtill/zuvhost.exe --data ../examples/zuvtill/dane ../examples/zuvtill/paragon.prg >paragon.txt 2>/dev/null ||
  fail "the receipt example"
cmp -s paragon.txt ../examples/zuvtill/paragon.FP600.out || fail "the receipt example printed otherwise: $(cat paragon.txt)"
grep -q "DO ZAPŁATY PLN" FISK/ROLKA.TXT || fail "no receipt on the paper roll"
echo "OK: $(basename "$zip") unpacked into a fresh prefix: the invoice on the default style, both families, the receipt"
