#!/usr/bin/env bash
# The release runs on Windows Vista and later. The shipped binaries say so in
# their PE headers (OS and subsystem version 6.0), and every function they
# import is in windows_floor_imports.txt with a Windows version no later than
# Vista. An import missing from the list fails too: look it up and add it.
#   check_imports.sh WIN32_BIN_DIR
set -euo pipefail
bin=$1
here=$(cd "$(dirname "$0")" && pwd)
list=$here/windows_floor_imports.txt
floor=Vista
order="2000 XP Vista 7 8 8.1 10"
objdump=i686-w64-mingw32-objdump
fail() { echo "check_imports: $*" >&2; exit 1; }

rank() {  # the position of a Windows version in $order, 0 when unknown
    local i=1 v
    for v in $order; do [ "$v" = "$1" ] && { echo $i; return; }; i=$((i + 1)); done
    echo 0
}
imports() {  # DLL FUNCTION per line; an import by ordinal shows as DLL #ORDINAL
    "$objdump" -p "$1" | awk '
        /^The Import Tables/ { on = 1; next }
        on && /^The / { on = 0 }
        on && /DLL Name:/ { dll = toupper($3); next }
        on && /^\t[0-9a-f]+\t/ { if (NF >= 3) print dll, $3; else print dll, "#" $2 }'
}

floor_rank=$(rank $floor)
checked=0
for program in "$bin/callerid.dll" "$bin/callerid.exe" "$bin/callerid-uninstall.exe"; do
    [ -f "$program" ] || fail "no $program"
    name=$(basename "$program")
    header=$("$objdump" -p "$program")
    for field in MajorOSystemVersion MajorSubsystemVersion; do
        value=$(echo "$header" | awk -v f=$field '$1 == f { print $2 }')
        [ "$value" = 6 ] || fail "$name: $field is '$value', not 6 (Windows Vista)"
    done
    for field in MinorOSystemVersion MinorSubsystemVersion; do
        value=$(echo "$header" | awk -v f=$field '$1 == f { print $2 }')
        [ "$value" = 0 ] || fail "$name: $field is '$value', not 0 (Windows Vista)"
    done
    found=$(imports "$program")
    [ -n "$found" ] || fail "$name: no imports found (has objdump's output changed?)"
    while read -r dll function; do
        since=$(awk -v d="$dll" -v f="$function" '!/^#/ && toupper($1) == d && $2 == f { print $3 }' "$list")
        [ -n "$since" ] || fail "$name imports $dll $function, which windows_floor_imports.txt does not list: look up the oldest Windows that has it and add it"
        r=$(rank "$since")
        [ "$r" -gt 0 ] || fail "windows_floor_imports.txt: $dll $function has an unknown version '$since'"
        [ "$r" -le "$floor_rank" ] || fail "$name imports $dll $function, which needs Windows $since; the release's floor is Windows $floor"
        checked=$((checked + 1))
    done <<<"$found"
done
echo "check_imports: callerid.dll, callerid.exe and callerid-uninstall.exe say Windows 6.0 and import $checked functions, all in Windows $floor"
