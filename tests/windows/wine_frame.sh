#!/usr/bin/env bash
# The i686 plug-in in the Windows reference host under Wine: a normal start
# and stop, and refused starts with their STOP!!! messages.
#   wine_frame.sh WIN32_BIN_DIR
set -euo pipefail
bin=$1
run="$(cd "$(dirname "$0")/../.." && pwd)/scripts/wine/run.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "wine_frame: $*" >&2; echo "--- output:" >&2; cat "$work/out" >&2; exit 1; }
expect() { grep -qF -- "$1" "$work/out" || fail "missing: $1"; }

refhost() {  # runs refhost.exe in the scratch directory; sets rc
    rc=0
    (cd "$work" && "$run" -t 120 "$bin/refhost.exe" --headless "$@") >"$work/out" 2>&1 || rc=$?
}

refhost --trace --run-for 1
[ $rc = 0 ] || fail "normal run exited $rc"
expect 'refhost: started "Caller ID Tabele/Kontrahenci/Ctrl-F/Ctrl-G(szukanie w rubryce NIP)"'
expect 'trace: 52020 0x73'
expect 'Wyłączanie obsługi UDP dla Clip Varnobox'
expect 'trace: 52021 0x73'
expect 'refhost: stopped'

refhost --lack-ordinal 52044 --lack-ordinal 52028
[ $rc = 4 ] || fail "refused start exited $rc"
expect 'message box "STOP!!!":'
expect 'funkcje o numerach 52028, 52044 z modułu głównego,'
expect 'jednak moduł główny ich nie posiada.'

refhost --table-size 0
[ $rc = 4 ] || fail "refused start exited $rc"
expect "między programem a wtyczką 'Caller ID Tabele/Kontrahenci/Ctrl-F/Ctrl-G(szukanie w rubryce NIP)' (moduł 'callerid.dll'):"
expect "$(printf 'k4\t1536\tbrak')"
expect 'Moduł callerid.dll'

refhost --features 0x30 --interface-level 111
[ $rc = 4 ] || fail "refused start exited $rc"
expect 'Program nie obsługuje cech 0x00000030,'
echo "wine_frame: start, stop and three refused starts behave as on Linux"
