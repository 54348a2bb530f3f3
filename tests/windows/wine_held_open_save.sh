#!/usr/bin/env bash
# wine_held_open_save.sh BUILD_WIN32_BIN BUILD_NATIVE_BIN
# F5 in the caller-ID window while another process holds the slot file
# open. A holder that shares reading and writing (every other station's
# window, the toolkit, an editor), with or without deleting, does not stop
# the save: F5 writes in place. Only a holder that refuses writers makes
# the save fail: the user is told another program holds the file, and the
# old slots stay whole. The same walk with the file free saves the edit.
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

refusal='inny program ma ten plik otwarty i nie pozwala na zapis'
# The slot file byte for byte as it was seeded.
as_seeded() { cmp "$1/seeded.dat" "$1/$slots" >/dev/null; }
saved() { [ "$(dd if="$1/$slots" bs=1 skip=500 count=21 2>/dev/null | tr -d '\0')" = 48123 ]; }

# held SHARING contains|lacks: the walk while a holder keeps the slot file
# open, sharing what SHARING says, until the walk is over.
held() {
    local dir="$work/held-$1"
    seed "$dir"
    (cd "$dir" && exec "$wine_run" -t 150 "$win/hold_file.exe" 'LOGS\TELEFONY\CLIP.DAT' 120 released "$1") \
        >"$dir/holder.txt" 2>&1 &
    holder=$!
    for _ in $(seq 1 600); do
        grep -q '^holding' "$dir/holder.txt" 2>/dev/null && break
        kill -0 "$holder" 2>/dev/null || fail "the holder ended: $(cat "$dir/holder.txt")"
        sleep 0.1
    done
    grep -q '^holding' "$dir/holder.txt" || fail "the holder did not open the slot file"
    walk "$dir" "$2"
    touch "$dir/released"
    wait "$holder" || fail "the holder ended with $?: $(cat "$dir/holder.txt")"
    holder=""
}

for sharing in rw rwd; do
    held $sharing contains
    ! grep -qF "Zapis pliku telefonów" "$work/held-$sharing/console" ||
        fail "held sharing $sharing: the save was refused: $(tail -20 "$work/held-$sharing/console")"
    saved "$work/held-$sharing" || fail "held sharing $sharing: F5 did not save row 1's phone"
done
held r lacks
grep -A1 -xF 'message "uwaga":' "$work/held-r/console" | grep -qF "$refusal" ||
    fail "held, refusing writers: no message that another program refuses: $(tail -20 "$work/held-r/console")"
as_seeded "$work/held-r" || fail "held, refusing writers: the slot file changed"

# A call while a holder refuses writers for a few seconds (a backup copying
# the slot file): the listener keeps it waiting and files it once the
# holder lets go; the day log says why it waited.
listener="$work/listener"
seed "$listener"
printf '[Ornitel]\r\nPytaj=1,6,0,1338\r\n' >"$listener/MERLOX.INI"
printf 'call ready\ncall "600100299" "209" "Trzymany NIP:1234567890" nowait\ncall wait\nexpect file "%s" contains "600100299"\n' \
    "$slots" >"$listener/call.script"
(cd "$listener" && exec "$wine_run" -t 150 "$win/hold_file.exe" 'LOGS\TELEFONY\CLIP.DAT' 6 released r) \
    >"$listener/holder.txt" 2>&1 &
holder=$!
for _ in $(seq 1 600); do
    grep -q '^holding' "$listener/holder.txt" 2>/dev/null && break
    sleep 0.1
done
grep -q '^holding' "$listener/holder.txt" || fail "the holder did not open the slot file"
(cd "$listener" && "$wine_run" -t 120 "$win/refhost.exe" --headless --show-log --script call.script) \
    >"$listener/console.txt" 2>&1 || fail "listener: the call was not filed: $(tail -20 "$listener/console.txt")"
wait "$holder" || true
holder=""
grep -qF 'nie pozwala na zapis - połączenie czeka na wpisanie' "$listener/console.txt" ||
    fail "listener: the call did not wait for the holder: $(tail -20 "$listener/console.txt")"

# Free: the same walk saves row 1's phone.
free="$work/free"
seed "$free"
walk "$free" contains
! grep -qF "Zapis pliku telefonów" "$free/console" || fail "free: the save was refused: $(tail -20 "$free/console")"
saved "$free" || fail "free: F5 did not save row 1's phone"
! as_seeded "$free" || fail "free: the slot file did not change"
[ "$(stat -c %s "$free/$slots")" -eq 5620 ] || fail "free: the slot file is not 5620 bytes"
echo "wine_held_open_save: F5 saved beside readers sharing writing, refused beside one refusing it, saved when free; a call waited for a holder refusing writers"
