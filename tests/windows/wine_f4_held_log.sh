#!/usr/bin/env bash
# wine_f4_held_log.sh BUILD_WIN32_BIN BUILD_NATIVE_BIN
# F4 (clear the log and the list) under Wine while other programs hold the
# files open. The slot file is held open sharing reading and writing, as
# other stations' windows and readers keep it: F4 frees its slots in place
# all the same. Today's day log is held open without sharing its deletion,
# as `callerid log --follow` and most readers hold it: Windows (and Wine)
# refuse to rename or delete it, so F4 clears neither the log nor the
# slots and tells the user why. With the log free, the same F4 clears
# both. Leaving the window broadcasts a restart, so everything runs in a
# network namespace of its own where the broadcast reaches nobody, with a
# wineserver of its own. KEEP=1 keeps the scratch directory.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_WIN32_BIN BUILD_NATIVE_BIN" >&2; exit 2; }
win=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
wine_run="$root/scripts/wine/run.sh"

# shellcheck source-path=SCRIPTDIR
source "$root/tests/windows/network_namespace.sh"
unroutable_broadcast=1
isolate_network wine_f4_held_log "$@"

work=$(mktemp -d /tmp/callerid-wine-f4-XXXXXX)
holders=()
release() {
    local dir
    for dir in "$work"/*/; do touch "$dir/released"; done
    for pid in "${holders[@]}"; do wait "$pid" || true; done
    holders=()
}
cleanup() {
    release
    "$wine_run" --stop
    if [ -n "${KEEP:-}" ]; then echo "kept $work" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT
fail() { echo "wine_f4_held_log: $*" >&2; exit 1; }

slots=LOGS/TELEFONY/CLIP.DAT
day_log=LOGS/TELEFONY/01-03-2024.LOG
field() { printf '%s' "$1"; head -c $(($2 - ${#1})) /dev/zero; }
# Slot 0 holds a call; the day log is off, so that only the test writes it.
seed() {
    mkdir -p "$1/LOGS/TELEFONY"
    { field "Firma NIP:1234567890" 500; field 600100200 21; field 201 21; field 01.03.2024 11; field 11:59:01 9
      head -c $((9 * 562)) /dev/zero; } >"$1/$slots"
    cp "$1/$slots" "$1/seeded.dat"
    printf 'earlier line\r\n' >"$1/$day_log"
    printf '[Ornitel]\r\nPytaj=1,0,0,1338\r\n' >"$1/MERLOX.INI"
}

# hold DIR PATH: a reader keeps DIR's file open (reading and writing
# shared, deleting not) until DIR/released exists.
hold() {
    local name
    name=$(basename "$2")
    (cd "$1" && exec "$wine_run" -t 150 "$win/hold_file.exe" "$2" 120 released) >"$1/holder-$name.txt" 2>&1 &
    holders+=($!)
    for _ in $(seq 1 600); do
        grep -q '^holding' "$1/holder-$name.txt" 2>/dev/null && return 0
        sleep 0.1
    done
    fail "the holder of $2 did not open it: $(cat "$1/holder-$name.txt")"
}

# walk DIR contains|lacks: F4, then the slot file looked at at once.
walk() {
    cat >"$1/f4.script" <<EOF
action
window key F4
expect file "$slots" $2 "Firma"
expect file "$slots" exists
window key F12
expect closed 0x5001
EOF
    (cd "$1" && "$wine_run" -t 120 "$win/refhost.exe" --headless --clock "2024-03-01 12:00:00" \
        --script f4.script) >"$1/console.txt" 2>&1 || fail "$1: the script failed: $(tail -20 "$1/console.txt")"
    tr -d '\r' <"$1/console.txt" >"$1/console"
}

refusal='LOG i lista nie zostały wyczyszczone - plik LOG LOGS\TELEFONY\01-03-2024.LOG jest otwarty w innym programie'

held="$work/held"
seed "$held"
hold "$held" 'LOGS\TELEFONY\CLIP.DAT'
hold "$held" 'LOGS\TELEFONY\01-03-2024.LOG'
walk "$held" contains
release
grep -A1 -xF 'message "uwaga":' "$held/console" | grep -qxF "  $refusal" ||
    fail "held: no message that nothing was cleared: $(tail -20 "$held/console")"
cmp -s "$held/seeded.dat" "$held/$slots" || fail "held: the slot file changed"
[ "$(tr -d '\r' <"$held/$day_log")" = "earlier line" ] || fail "held: the day log changed"

free="$work/free"
seed "$free"
hold "$free" 'LOGS\TELEFONY\CLIP.DAT'
walk "$free" lacks
release
! grep -qF 'nie zostały wyczyszczone' "$free/console" || fail "free: the clearing was refused"
cmp -s "$free/$slots" <(head -c 5620 /dev/zero) || fail "free: the slots are not all free"
[ ! -e "$free/$day_log" ] && [ ! -e "$free/$day_log.del" ] || fail "free: the day log is still there"
echo "wine_f4_held_log: F4 cleared neither while the day log was held, and both once it was free"
