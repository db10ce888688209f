#!/bin/sh
# The 32-bit DLLs (what the host loads; this machine cannot run them) export
# exactly the names of the 64-bit ones that the tests bind under Wine: no
# "_" before a name and no "@N" after it, none missing, none added.
#   same_exports.sh BIN32 BIN64
set -eu
exports() {
  "$1" -p "$2" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for dll in zuvtill zuvcore zuvfault zuvorg zuvelzab zuvposnet zuvcollect; do
  a=$(exports i686-w64-mingw32-objdump "$1/$dll.dll")
  b=$(exports x86_64-w64-mingw32-objdump "$2/$dll.dll")
  if [ -z "$a" ] || [ "$a" != "$b" ]; then
    echo "$dll.dll: the 32-bit exports differ from the 64-bit ones:"
    printf '%s\n' "$a" >"$work/32"
    printf '%s\n' "$b" >"$work/64"
    diff "$work/32" "$work/64" || true
    status=1
  else
    echo "$dll.dll: $(printf '%s\n' "$a" | wc -l) exports, the same in both"
  fi
done
exit $status
