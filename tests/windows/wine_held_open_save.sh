#!/usr/bin/env bash
# wine_held_open_save.sh BUILD_WIN32_BIN BUILD_NATIVE_BIN
# F5 in the caller-ID window while another process holds the slot file
# open without sharing its deletion (as an editor or a backup does): under
# Wine the i686 plug-in cannot replace the file, so the user is told the
# changes were not saved, the old slots stay whole and no temporary file is
# left. The same walk with the file free saves the edit without a word.
# Leaving the window broadcasts a restart, so everything runs in a network
# namespace of its own where only loopback is up and the broadcast reaches
# nobody, with a wineserver of its own. KEEP=1 keeps the scratch directory.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_WIN32_BIN BUILD_NATIVE_BIN" >&2; exit 2; }
win=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
wine_run="$root/scripts/wine/run.sh"

# shellcheck source-path=SCRIPTDIR
source "$root/tests/windows/network_namespace.sh"
# The listener may bind after the window has closed, to the port typed in
# it: the restart that leaving broadcasts must not reach it in one run and
# miss it in the other, so it reaches nobody.
unroutable_broadcast=1
isolate_network wine_held_open_save "$@"

work=$(mktemp -d /tmp/callerid-wine-held-XXXXXX)
holder=""
cleanup() {
    if [ -n "$holder" ]; then touch "$work/held/released"; wait "$holder" || true; fi
    "$wine_run" --stop
    if [ -n "${KEEP:-}" ]; then echo "kept $work" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT
fail() { echo "wine_held_open_save: $*" >&2; exit 1; }

# script contains|lacks: row 1's phone typed, F5, and the slot file looked
# at at once.
script() {
    cat <<EOF
action
expect input 0x410D "123-45-67-890"
window type 0x410B "48123"
window key F5
expect file "LOGS/TELEFONY/CLIP.DAT" $1 "48123"
expect file "LOGS/TELEFONY/CLIP.DAT.tmp" missing
window type 0x4184 "1339"
window key ESC
expect closed 0x5002
EOF
}

slots=LOGS/TELEFONY/CLIP.DAT
# Slot 0: the call of 600100200 for 201, with a NIP, at 11:59:01.
field() { printf '%s' "$1"; head -c $(($2 - ${#1})) /dev/zero; }
seed() {
    mkdir -p "$1/LOGS/TELEFONY"
    { field "Firma NIP:1234567890" 500; field 600100200 21; field 201 21; field 01.03.2024 11; field 11:59:01 9
      head -c $((9 * 562)) /dev/zero; } >"$1/$slots"
    cp "$1/$slots" "$1/seeded.dat"
    printf '[Ornitel]\r\nPytaj=1,2,0,1338\r\n' >"$1/MERLOX.INI"
}

# walk DIR contains|lacks: the script in DIR; its console lands in DIR/console.
walk() {
    script "$2" >"$1/edit.script"
    (cd "$1" && "$wine_run" -t 120 "$win/refhost.exe" --headless --clock "2024-03-01 12:00:00" \
        --script edit.script) >"$1/console.txt" 2>&1 || fail "$1: the script failed: $(tail -20 "$1/console.txt")"
    tr -d '\r' <"$1/console.txt" >"$1/console"
}

refusal='Zapis pliku telefonów: LOGS\TELEFONY\CLIP.DAT - nie udał się, zmiany nie zostały zapisane'
# The slot file byte for byte as it was seeded.
as_seeded() { cmp "$1/seeded.dat" "$1/$slots" >/dev/null; }

# Held: the holder keeps the slot file open until the walk is over.
held="$work/held"
seed "$held"
(cd "$held" && exec "$wine_run" -t 150 "$win/hold_file.exe" 'LOGS\TELEFONY\CLIP.DAT' 120 released) \
    >"$held/holder.txt" 2>&1 &
holder=$!
for _ in $(seq 1 600); do
    grep -q '^holding' "$held/holder.txt" 2>/dev/null && break
    kill -0 "$holder" 2>/dev/null || fail "the holder ended: $(cat "$held/holder.txt")"
    sleep 0.1
done
grep -q '^holding' "$held/holder.txt" || fail "the holder did not open the slot file"
walk "$held" lacks
touch "$held/released"
wait "$holder" || fail "the holder ended with $?: $(cat "$held/holder.txt")"
holder=""
grep -A1 -xF 'message "uwaga":' "$held/console" | grep -qxF "  $refusal" ||
    fail "held: no message that the save failed: $(tail -20 "$held/console")"
as_seeded "$held" || fail "held: the slot file changed"
[ ! -e "$held/$slots.tmp" ] || fail "held: the temporary file was left behind"

# Free: the same walk saves row 1's phone.
free="$work/free"
seed "$free"
walk "$free" contains
! grep -qF "$refusal" "$free/console" || fail "free: the save was refused"
phone=$(dd if="$free/$slots" bs=1 skip=500 count=21 2>/dev/null | tr -d '\0')
[ "$phone" = 48123 ] || fail "free: F5 did not save row 1's phone (\"$phone\")"
! as_seeded "$free" || fail "free: the slot file did not change"
[ "$(stat -c %s "$free/$slots")" -eq 5620 ] || fail "free: the slot file is not 5620 bytes"
[ ! -e "$free/$slots.tmp" ] || fail "free: the temporary file was left behind"
echo "wine_held_open_save: F5 refused while the slot file was held open and saved once it was free"
