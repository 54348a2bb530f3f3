#!/usr/bin/env bash
# wine_f5_race.sh BUILD_WIN32_BIN BUILD_NATIVE_BIN
# F5 in the caller-ID window right after a call for a shown slot's target
# was filed, with the i686 plug-in in refhost.exe under Wine and with the
# native build: slot 0 shows 600100200's call for 201, the user types a
# phone into row 2, the script's call line makes 222's call for 201 arrive
# and waits until the listener has filed it, and F5 is pressed before the
# next timer refresh. The slot file must then hold 222's call whole (no
# record made of two calls) and row 2's edit. Leaving the window
# broadcasts a restart, so everything runs in a network namespace of its
# own where only loopback is up and the broadcast reaches nobody, with a
# wineserver of its own. KEEP=1 keeps the scratch directory.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BUILD_WIN32_BIN BUILD_NATIVE_BIN" >&2; exit 2; }
win=$(cd "$1" && pwd)
native=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
wine_run="$root/scripts/wine/run.sh"

# shellcheck source-path=SCRIPTDIR
source "$root/tests/windows/network_namespace.sh"
unroutable_broadcast=1
isolate_network wine_f5_race "$@"

work=$(mktemp -d /tmp/callerid-wine-f5-race-XXXXXX)
cleanup() { "$wine_run" --stop; [ -n "${KEEP:-}" ] && echo "kept $work" >&2 || rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "wine_f5_race: $*" >&2; exit 1; }

cat >"$work/race.script" <<'EOF'
call ready
action
expect input 0x410B "600100200"
window type 0x4115 "48999"
call "222" "201" "Druga NIP:2222222222"
window key F5
window key F12
EOF

# Slot 0: the call of 600100200 for 201 at 11:59:01; slot 1: 600100201's
# for 202. The day log is kept (option 4): the call line waits for it.
field() { printf '%s' "$1"; head -c $(($2 - ${#1})) /dev/zero; }
slot() { field "$1" 500; field "$2" 21; field "$3" 21; field 01.03.2024 11; field "$4" 9; }
seed() {
    mkdir -p "$1/LOGS/TELEFONY"
    { slot "Firma NIP:1234567890" 600100200 201 11:59:01; slot "NIP:5555555555" 600100201 202 11:58:00
      head -c $((8 * 562)) /dev/zero; } >"$1/LOGS/TELEFONY/CLIP.DAT"
    printf '[Ornitel]\r\nPytaj=1,4,0,1338\r\n' >"$1/MERLOX.INI"
}

run() {
    local name=$1; shift
    local dir="$work/$name"
    mkdir -p "$dir"
    seed "$dir"
    (cd "$dir" && "$@" --headless --clock "2024-03-01 12:00:00" --script "$work/race.script") \
        >"$dir/console.txt" 2>&1 || fail "$name: the script failed: $(tail -20 "$dir/console.txt")"
}

# field_of DIR SLOT OFFSET SIZE: one field of a slot, without its zeros.
field_of() { dd if="$1/LOGS/TELEFONY/CLIP.DAT" bs=1 skip=$(($2 * 562 + $3)) count="$4" 2>/dev/null | tr -d '\0'; }
check() {
    local dir="$work/$1"
    [ "$(field_of "$dir" 0 500 21)" = 222 ] && [ "$(field_of "$dir" 0 521 21)" = 201 ] &&
        [ "$(field_of "$dir" 0 0 500)" = "Druga NIP:2222222222" ] && [ "$(field_of "$dir" 0 553 9)" = 12:00:00 ] ||
        fail "$1: slot 0 does not hold 222's call whole: phone '$(field_of "$dir" 0 500 21)'," \
            "text '$(field_of "$dir" 0 0 500)', time '$(field_of "$dir" 0 553 9)'"
    [ "$(field_of "$dir" 1 500 21)" = 48999 ] && [ "$(field_of "$dir" 1 0 500)" = "NIP:5555555555" ] ||
        fail "$1: row 2's edit is not in slot 1: phone '$(field_of "$dir" 1 500 21)'"
}

run windows "$wine_run" -t 120 "$win/refhost.exe"
run native "$native/refhost"
check windows
check native
echo "wine_f5_race: F5 after a call kept the call whole in the Windows and native builds"
