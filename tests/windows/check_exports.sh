#!/usr/bin/env bash
# The shipped DLL exports exactly ordinals 30001, 30008, 30009 and 30010,
# without names (check_imports.sh checks what it imports). The reference
# host's MERLOX.dll exports every host service by ordinal.
#   check_exports.sh WIN32_BIN_DIR
set -euo pipefail
bin=$1
objdump=i686-w64-mingw32-objdump
fail() { echo "check_exports: $*" >&2; exit 1; }

ordinals() {  # the ordinals that have an address in the export table
    "$objdump" -p "$1" | sed -n 's/^\s*\[ *[0-9]*\] +base\[ *\([0-9]*\)\].*/\1/p' | sort -n | tr '\n' ' '
}
names() {  # how many exports have a name
    "$objdump" -p "$1" | sed -n 's/^\s*\[Name Pointer\/Ordinal\] Table\s*\([0-9a-fA-F]*\)/\1/p'
}

dll=$bin/callerid.dll
[ -f "$dll" ] || fail "no $dll"
got=$(ordinals "$dll")
[ "$got" = "30001 30008 30009 30010 " ] || fail "callerid.dll exports ordinals '$got'"
[ "$((16#$(names "$dll")))" = 0 ] || fail "callerid.dll exports names"

imports=$("$objdump" -p "$dll" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' | sort | tr '\n' ' ')

merlox=$(ordinals "$bin/MERLOX.dll")
for ordinal in 35802 40008 41611 41613 30005 38417 52158 52044 52021 52006 52020 52308 52305 \
        51711 52205 52046 32108 30204 38020 30909 52043 52045 52307 52026 51704 52247 52023 \
        52040 41399 51594 35385 30908 52064 52056 52251 52028 52256 52534 52034 52161 52130 \
        30308 52224 52248 33153 32500 32008 51434 52435 33155 37970 52407 30006; do
    [[ " $merlox" == *" $ordinal "* ]] || fail "MERLOX.dll lacks ordinal $ordinal"
done
echo "check_exports: callerid.dll exports 30001 30008 30009 30010 by ordinal only; imports: $imports"
